// drxwizard-cli: the wizard's engine on the command line.

#include "CCliOptions.h"
#include "CCliRun.h"
#include "CCliStatus.h"

#include "xml/XmlTags.h"

#include <fcntl.h>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
// A standard stream the caller closed is held by /dev/null, opened so that writing to it
// fails: a file the run opens later must never receive the report in its place.
void HoldClosedStandardStreams()
{
    for (int fd = 0; fd <= 2; ++fd)
    {
        if (fcntl(fd, F_GETFD) != -1)
            continue;
        const int held = open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
        if (held >= 0 && held != fd)
        {
            dup2(held, fd);
            close(held);
        }
    }
}
} // namespace

int main(int argc, char** argv)
{
    HoldClosedStandardStreams();
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
