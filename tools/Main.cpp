// drxwizard-cli: the wizard's engine on the command line.

#include "CCliOptions.h"
#include "CCliRun.h"
#include "CCliStatus.h"

#include "xml/XmlTags.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    CCliOptions options;
    std::string error;
    if (! CCliOptions::Parse(std::vector<std::string>(argv + 1, argv + argc), options, error))
    {
        std::cerr << "drxwizard-cli: " << error << "\n\n" << CCliOptions::UsageText();
        return CCliStatus::kUsageError;
    }
    if (options.help)
    {
        std::cout << CCliOptions::UsageText();
        return CCliStatus::kSuccess;
    }
    if (options.version)
    {
        std::cout << "drxwizard-cli " << DRX_CLI_VERSION << " (" << Tag::VersionText << ")\n";
        return CCliStatus::kSuccess;
    }

    CCliRun run(options);
    run.Execute();
    return CCliStatus::GetExitStatus();
}
