#include "CCliRun.h"

#include "CCliCommandCheck.h"
#include "CCliProbe.h"
#include "CCliReport.h"
#include "CCliStatus.h"

#include "app/CAppStartup.h"
#include "app/CCommandManager.h"
#include "app/CFieldMapPicture.h"
#include "base/CReportError.h"
#include "array/CArrayManager.h"
#include "app/CJuceManager.h"
#include "engine/CCommandTable.h"

#include <juce_events/juce_events.h>
#include <juce_graphics/juce_graphics.h>

#include <iostream>

namespace
{
constexpr int kPictureWidth = 1000;
constexpr int kPictureHeight = 600;

bool IsArrayFile(const std::string& path)
{
    return juce::File::createFileWithoutCheckingPath(path).hasFileExtension(".21w");
}

void Refuse(const std::string& message)
{
    CReportError::GetInstance()->ReportError(message);
}
} // namespace

CCliRun::CCliRun(CCliOptions o) : options(std::move(o)) {}

void CCliRun::Execute()
{
    callerDirectory = juce::File::getCurrentWorkingDirectory();
    ResolvePaths();
    if (! EnterRunDirectory())
        return;

    {
        // Images, fonts and the command manager's undo history need JUCE's message manager;
        // it opens no window.
        juce::ScopedJuceInitialiser_GUI juce;
        CCliStatus::Install();

        if (options.seed)
            CArrayManager::GetInstance()->SetStartupSeed(*options.seed);
        if (Guarded([] { StartCore(ReporterMode::Headless); }))
        {
            if (! options.file.empty())
                Guarded([this] { LoadFile(); });
            for (const CCliOptions::Step& step : options.steps)
                Guarded([&step] { Send(step); });
            SaveFiles();
            if (! options.render.empty())
                Guarded([this] { RenderPicture(); });
            if (options.report)
                Guarded([this] { PrintReport(); });
        }

        Guarded([] {
            ShutdownEngineDocuments();
            ShutdownCore();
        });
        CCliStatus::Uninstall();
    }

    LeaveRunDirectory();
}

//==============================================================================
void CCliRun::ResolvePaths()
{
    const auto resolve = [this](std::string& path) {
        if (! path.empty())
            path = callerDirectory.getChildFile(path).getFullPathName().toStdString();
    };
    resolve(options.file);
    resolve(options.saveArray);
    resolve(options.saveVenue);
    resolve(options.render);
    resolve(options.runDir);
    for (CCliOptions::Step& step : options.steps)
        if (step.textIsPath)
            resolve(step.command.text);
}

bool CCliRun::EnterRunDirectory()
{
    if (options.runDir.empty())
    {
        runDirectory = juce::File::getSpecialLocation(juce::File::tempDirectory)
                           .getNonexistentChildFile("drxwizard-cli-run", "", false);
        removeRunDirectory = true;
    }
    else
    {
        runDirectory = juce::File(options.runDir);
    }

    const juce::Result created = runDirectory.createDirectory();
    if (created.failed() || ! runDirectory.isDirectory() || ! runDirectory.setAsCurrentWorkingDirectory())
    {
        CCliStatus::Fail("cannot use run directory " + runDirectory.getFullPathName().toStdString()
                         + (created.failed() ? " (" + created.getErrorMessage().toStdString() + ")" : std::string()));
        removeRunDirectory = false;
        return false;
    }
    return true;
}

void CCliRun::LeaveRunDirectory()
{
    callerDirectory.setAsCurrentWorkingDirectory();
    if (removeRunDirectory)
        runDirectory.deleteRecursively();
}

bool CCliRun::Guarded(const std::function<void()>& step)
{
    try
    {
        step();
        return true;
    }
    catch (const std::exception& e)
    {
        // A fatal report was printed by the observer before it threw.
        if (! CCliStatus::WasLastPrinted(e.what()))
            CCliStatus::Fail(e.what());
    }
    catch (...)
    {
        CCliStatus::Fail("unexpected failure");
    }
    return false;
}

//==============================================================================
void CCliRun::LoadFile()
{
    if (IsArrayFile(options.file))
        CCommandManager::GetInstance()->DoGeneral(CCommandTable::kLoadArrayFile, options.file, 0.0);
    else
        CCommandManager::GetInstance()->DoGeneral(CCommandTable::kLoadVenueFile, options.file, 0.0);
}

void CCliRun::Send(const CCliOptions::Step& step)
{
    const std::string refusal = CCliCommandCheck::Check(step);
    if (! refusal.empty())
    {
        Refuse(refusal);
        return;
    }
    const CCommandResult result = CCommandManager::GetInstance()->Do(step.command);
    if (! result)
        Refuse(CCliCommandCheck::NotSent(step, result.GetReason()));
}

void CCliRun::SaveFiles()
{
    if (! options.saveArray.empty())
        Guarded([this] { CCommandManager::GetInstance()->DoGeneral(CCommandTable::kSaveArrayFile, options.saveArray, 0.0); });
    if (! options.saveVenue.empty())
        Guarded([this] { CCommandManager::GetInstance()->DoGeneral(CCommandTable::kSaveVenueFile, options.saveVenue, 0.0); });
}

void CCliRun::RenderPicture()
{
    juce::Image picture(juce::Image::RGB, kPictureWidth, kPictureHeight, true);
    if (options.fieldMap)
        CFieldMapPicture::DrawVenuePictureWithMap(picture);
    else
        CJuceManager::DrawVenuePicture(picture);

    // Written beside the target and moved over it, so a failed write leaves no half file.
    const juce::File target(options.render);
    juce::TemporaryFile temporary(target);
    bool written = false;
    {
        juce::FileOutputStream out(temporary.getFile());
        juce::PNGImageFormat png;
        written = out.openedOk() && png.writeImageToStream(picture, out);
        out.flush();
        written = written && out.getStatus().wasOk();
    }
    if (! written || ! temporary.overwriteTargetFileWithTemporary())
        Refuse("Error: Could not write picture " + options.render);
}

void CCliRun::PrintReport()
{
    CJsonValue report = CCliReport::Build();
    if (! options.probes.empty())
        report.Set("probes", CCliProbe::Build(options.probes));
    const std::string text = report.ToText();
    std::cout << text << std::endl;
}
