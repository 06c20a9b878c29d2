#include "ui/CPrintReport.h"

#include "app/CFieldMapPicture.h"
#include "app/CJuceManager.h"
#include "base/CReportError.h"
#include "engine/CEngineManager.h"
#include "engine/CPinSuggestion.h"
#include "render/CVenuePicture.h"
#include "report/CDesignReport.h"
#include "report/CAlignmentReport.h"
#include "report/CSuggestionReport.h"
#include "xml/SafeFile.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <unistd.h>

namespace
{
// How long an opener may take to give up before the page counts as shown: openers that
// find no browser end at once with an error, those that found one keep running or end well.
constexpr int kOpenerVerdictMs = 1500;

juce::File FindOnPath(const juce::String& program)
{
    juce::StringArray folders;
    folders.addTokens(juce::SystemStats::getEnvironmentVariable("PATH", ""), ":", "");
    for (const juce::String& folder : folders)
    {
        if (folder.isEmpty())
            continue;
        const juce::File candidate = juce::File(folder).getChildFile(program);
        if (candidate.existsAsFile() && access(candidate.getFullPathName().toRawUTF8(), X_OK) == 0)
            return candidate;
    }
    return {};
}

// The run directory when it takes files, else the temporary folder.
juce::File OutputFolder()
{
    const juce::File here = juce::File::getCurrentWorkingDirectory();
    return here.hasWriteAccess() ? here : juce::File::getSpecialLocation(juce::File::tempDirectory);
}
} // namespace

bool CPrintReport::WritePicture(const juce::File& target, std::string& error)
{
    juce::Image picture(juce::Image::RGB, kPictureWidth, kPictureHeight, true);
    CVenuePicture::Options options = CJuceManager::GetInstance()->AnnotatedPicture();
    options.framing = CVenuePicture::Framing::Fit;
    options.textScale = (float) kPictureWidth / 1000.0f;
    if (CEngineManager::IsFieldMapShown())
        options.underlay = CFieldMapPicture::Underlay();
    CVenuePicture::Draw(picture, options);

    juce::MemoryOutputStream png;
    error = "the picture could not be encoded";
    return juce::PNGImageFormat().writeImageToStream(picture, png)
           && SafeFile::WriteFileAtomically(target.getFullPathName().toStdString(),
                                            std::string(static_cast<const char*>(png.getData()), png.getDataSize()), error);
}

CPrintReport::Outcome CPrintReport::Print(const std::optional<CSubAlignment>& alignment)
{
    Outcome outcome;
    const juce::File folder = OutputFolder();
    const juce::File picture = folder.getChildFile(kPictureFile);
    outcome.report = folder.getChildFile(kReportFile);

    CDesignReport::Options options;
    options.units = CJuceManager::GetInstance()->GetDisplayUnits();
    options.sections.push_back(CSuggestionReport::Section(CPinSuggestion::Compute(CEngineManager::GetView())));
    if (alignment && alignment->IsInEffect(CBandModel::FromDesign()))
        options.sections.push_back(CAlignmentReport::Section(*alignment, options.units));
    std::string error;
    if (std::string why; ! WritePicture(picture, why))
        error = "Error: Could not write picture " + picture.getFullPathName().toStdString() + " (" + why + ")";
    else if (! CDesignReport::Write(CDesignReport::Build(options), outcome.report, error))
        error = error.empty() ? "Error: Could not write the design report" : error;
    if (! error.empty())
    {
        outcome.message = error;
        CReportError::GetInstance()->ReportError(error);
        return outcome;
    }

    outcome.written = true;
    outcome.opened = OpenInBrowser(outcome.report);
    const std::string path = outcome.report.getFullPathName().toStdString();
    outcome.message = outcome.opened
                          ? "The design report is open in your web browser; print it from there.\n\n" + path
                          : "No web browser could be started. The design report is saved at\n\n" + path
                                + "\n\nOpen it in a browser to print it.";
    return outcome;
}

void CPrintReport::PrintAndTell(const std::optional<CSubAlignment>& alignment)
{
    const Outcome outcome = Print(alignment);
    if (outcome.written)
        juce::AlertWindow::showMessageBoxAsync(juce::MessageBoxIconType::InfoIcon, "DRX Wizard: Print",
                                               outcome.message);
}

bool CPrintReport::OpenInBrowser(const juce::File& page)
{
    for (const char* opener : { "xdg-open", "x-www-browser", "sensible-browser" })
    {
        const juce::File program = FindOnPath(opener);
        if (program == juce::File())
            continue;
        juce::ChildProcess process;
        const juce::String url = juce::URL(page).toString(false);
        if (! process.start(juce::StringArray { program.getFullPathName(), url }, 0))
            continue;
        if (! process.waitForProcessToFinish(kOpenerVerdictMs))
        {
            // Still running: it has handed the page to a browser that keeps it open (the
            // process goes on when the handle goes).
            return true;
        }
        if (process.getExitCode() == 0)
            return true;
    }
    return false;
}
