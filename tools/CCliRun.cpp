#include "CCliRun.h"

#include "CCliCommandCheck.h"
#include "CCliProbe.h"
#include "CCliReport.h"
#include "CCliStatus.h"

#include "app/CAppStartup.h"
#include "app/CCommandManager.h"
#include "app/CFieldMapPicture.h"
#include "base/CReportError.h"
#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "app/CJuceManager.h"
#include "engine/CCommandTable.h"
#include "engine/CEngineManager.h"
#include "xml/SafeFile.h"
#include "render/CVenuePicture.h"
#include "report/CDesignReport.h"
#include "report/CAlignmentReport.h"
#include "report/CSuggestionReport.h"
#include "xml/XmlTags.h"

#include <juce_events/juce_events.h>
#include <juce_graphics/juce_graphics.h>

#include <iostream>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

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
                Guarded([this, &step] { Send(step); });
            if (options.suggestPin || options.applySuggestion)
                Guarded([this] { SuggestPin(); });
            if (options.alignSubs)
                Guarded([this] { AlignSubwoofers(); });
            SaveFiles();
            if (! options.render.empty())
                Guarded([this] { RenderPicture(); });
            if (! options.reportHtml.empty())
                Guarded([this] { WriteReportPage(); });
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
    resolve(options.reportHtml);
    resolve(options.runDir);
    for (CCliOptions::Step& step : options.steps)
        if (step.textIsPath)
            resolve(step.command.text);
}

namespace
{
// Why `folder` cannot hold the run's files, or "": it is a folder (made when missing) in
// which a file can be made.
std::string RunFolderProblem(const juce::File& folder)
{
    const std::string path = folder.getFullPathName().toStdString();
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && ! S_ISDIR(info.st_mode))
        return "it is not a folder";
    if (! folder.isDirectory())
    {
        const juce::Result created = folder.createDirectory();
        if (created.failed())
            return "it cannot be made (" + created.getErrorMessage().toStdString() + ")";
    }
    std::string probe = path + "/.drxwizard-cli-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return std::string("no file can be made in it (") + std::strerror(errno) + ")";
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}
} // namespace

bool CCliRun::EnterRunDirectory()
{
    if (options.runDir.empty())
    {
        std::string error;
        const juce::File temporary = juce::File::getSpecialLocation(juce::File::tempDirectory);
        if (! ownRunFolder.Create(temporary.getFullPathName().toStdString(), error))
        {
            CCliStatus::Fail(error);
            return false;
        }
        runDirectory = juce::File(ownRunFolder.Path());
    }
    else
    {
        runDirectory = juce::File(options.runDir);
        const std::string problem = RunFolderProblem(runDirectory);
        if (! problem.empty())
        {
            CCliStatus::Fail("cannot use run directory " + runDirectory.getFullPathName().toStdString() + ": " + problem);
            return false;
        }
    }

    if (! runDirectory.setAsCurrentWorkingDirectory())
    {
        CCliStatus::Fail("cannot use run directory " + runDirectory.getFullPathName().toStdString()
                         + ": it cannot be entered");
        ownRunFolder.Remove();
        return false;
    }
    return true;
}

void CCliRun::LeaveRunDirectory()
{
    callerDirectory.setAsCurrentWorkingDirectory();
    ownRunFolder.Remove();
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
    Load(IsArrayFile(options.file) ? CCommandTable::kLoadArrayFile : CCommandTable::kLoadVenueFile, options.file);
}

void CCliRun::Load(const std::string& target, const std::string& path)
{
    const int reportsBefore = CCliStatus::GetReportCount();
    const bool finished = Guarded([&] { CCommandManager::GetInstance()->DoGeneral(target, path, 0.0); });
    if (! finished || CCliStatus::GetReportCount() != reportsBefore)
        failedLoads.Add(path);
}

void CCliRun::FailedLoads::Add(const std::string& path)
{
    // A missing file holds nothing to lose.
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return;
    Entry entry;
    entry.path = path;
    if (::stat(path.c_str(), &info) == 0)
    {
        entry.identified = true;
        entry.device = info.st_dev;
        entry.inode = info.st_ino;
    }
    entries.push_back(entry);
}

bool CCliRun::FailedLoads::Contains(const std::string& path) const
{
    // The same file may be named differently (a link, "./", a second hard link).
    struct stat info {};
    const bool identified = ::stat(path.c_str(), &info) == 0;
    for (const Entry& entry : entries)
        if (entry.path == path
            || (identified && entry.identified && entry.device == info.st_dev && entry.inode == info.st_ino))
            return true;
    return false;
}

bool CCliRun::RefusedAsFailedLoad(const std::string& saveTarget, const std::string& path) const
{
    if (! failedLoads.Contains(path))
        return false;
    // The file may be a damaged design that can still be mended by hand.
    Refuse("Error: " + CCommandTable::Find(saveTarget)->name + " " + path
           + " refused: the file failed to load in this run and is kept as it is");
    return true;
}

void CCliRun::Send(const CCliOptions::Step& step)
{
    const std::string refusal = CCliCommandCheck::Check(step);
    if (! refusal.empty())
    {
        Refuse(refusal);
        return;
    }
    const std::string& target = step.command.target;
    if (target == CCommandTable::kLoadArrayFile || target == CCommandTable::kLoadVenueFile)
    {
        Load(target, step.command.text);
        return;
    }
    if ((target == CCommandTable::kSaveArrayFile || target == CCommandTable::kSaveVenueFile)
        && RefusedAsFailedLoad(target, step.command.text))
        return;
    CArrayLineWrap line = CArrayManager::GetInstance()->GetLine(1, CArrayManager::kFind);
    const int subwoofers = line.GetSubwooferCount();
    const int fullRange = line.GetFullRangeCount();
    const CCommandResult result = CCommandManager::GetInstance()->Do(step.command);
    if (! result)
    {
        Refuse(CCliCommandCheck::NotSent(step, result.GetReason()));
        return;
    }
    // The array holds only so many modules: more of one kind leaves room for fewer of the
    // other. Taking out every module of a kind changes what the design is: that is said.
    line = CArrayManager::GetInstance()->GetLine(1, CArrayManager::kFind);
    if (target == Tag::Model_DRXS1 && fullRange > 0 && line.GetFullRangeCount() == 0)
        CCliStatus::Note(step.argument + ": the full-range count went from " + std::to_string(fullRange)
                         + " to 0 to make room");
    if (target == Tag::Model_DRXR1 && subwoofers > 0 && line.GetSubwooferCount() == 0)
        CCliStatus::Note(step.argument + ": the subwoofer count went from " + std::to_string(subwoofers)
                         + " to 0 to make room");
}

void CCliRun::SaveFiles()
{
    if (! options.saveArray.empty() && ! RefusedAsFailedLoad(CCommandTable::kSaveArrayFile, options.saveArray))
        Guarded([this] { CCommandManager::GetInstance()->DoGeneral(CCommandTable::kSaveArrayFile, options.saveArray, 0.0); });
    if (! options.saveVenue.empty() && ! RefusedAsFailedLoad(CCommandTable::kSaveVenueFile, options.saveVenue))
        Guarded([this] { CCommandManager::GetInstance()->DoGeneral(CCommandTable::kSaveVenueFile, options.saveVenue, 0.0); });
}

void CCliRun::RenderPicture()
{
    juce::Image picture(juce::Image::RGB, kPictureWidth, kPictureHeight, true);
    CVenuePicture::Options drawn = CJuceManager::ScenePicture();
    if (options.fit)
    {
        drawn = CJuceManager::GetInstance()->AnnotatedPicture();
        drawn.framing = CVenuePicture::Framing::Fit;
    }
    if (options.fieldMap)
    {
        drawn.underlay = CFieldMapPicture::Underlay();
        drawn.outlineSurfaces = true;
    }
    CVenuePicture::Draw(picture, drawn);

    juce::MemoryOutputStream png;
    std::string error = "the picture could not be encoded";
    const bool encoded = juce::PNGImageFormat().writeImageToStream(picture, png);
    const std::string bytes(static_cast<const char*>(png.getData()), png.getDataSize());
    if (! encoded || ! SafeFile::WriteFileAtomically(options.render, bytes, error))
        Refuse("Error: Could not write picture " + options.render + " (" + error + ")");
}

void CCliRun::WriteReportPage()
{
    CDesignReport::Options page;
    page.units = CJuceManager::GetInstance()->GetDisplayUnits();
    if (! options.file.empty())
        page.title = juce::File(options.file).getFileNameWithoutExtension().toStdString();
    if (suggestion)
        page.sections.push_back(CSuggestionReport::Section(*suggestion));
    if (alignment)
        page.sections.push_back(CAlignmentReport::Section(*alignment, page.units));
    std::string error;
    if (! CDesignReport::Write(CDesignReport::Build(page), juce::File(options.reportHtml), error))
        Refuse(error);
}

void CCliRun::SuggestPin()
{
    // In the quantity the view shows.
    suggestion = CPinSuggestion::Compute(CEngineManager::GetView());
    if (! options.applySuggestion)
        return;
    if (! suggestion->best)
    {
        Refuse("Error: No pick pin to apply: no pin gives the audience a finite level");
        return;
    }
    CCommand pin;
    pin.target = Tag::SlotPin;
    pin.number = *suggestion->best;
    if (const CCommandResult result = CCommandManager::GetInstance()->Do(pin); ! result)
        Refuse("Error: The suggested pick pin was not applied: " + result.GetReason());
}

void CCliRun::AlignSubwoofers()
{
    const CJuceManager* ui = CJuceManager::GetInstance();
    alignment = CSubAlignment::InDesign(ui->FromDisplayLength(Tag::sX, options.alignSubs->x),
                                        ui->FromDisplayLength(Tag::sY, options.alignSubs->y));
    if (! options.applyAlignment)
        return;
    if (! alignment->found)
    {
        Refuse("Error: No subwoofer alignment to apply: " + alignment->reason);
        return;
    }
    if (const CCommandResult result = CCommandManager::GetInstance()->Do(CSubAlignment::Command(*alignment)); ! result)
        Refuse("Error: The subwoofer alignment was not applied: " + result.GetReason());
}

void CCliRun::PrintReport() const
{
    CJsonValue report = CCliReport::Build();
    if (! options.probes.empty())
    {
        std::vector<std::string> refusals;
        report.Set("probes", CCliProbe::Build(options.probes, refusals));
        for (const std::string& refusal : refusals)
            Refuse("Error: " + refusal);
    }
    if (suggestion)
        report.Set("suggestion", CCliReport::Suggestion(*suggestion, suggestion->view.ToCompactString()));
    if (alignment)
        report.Set("alignment", CCliReport::Alignment(*alignment));
    const std::string text = report.ToText();
    std::cout << text << std::endl;
    // A full disk or a closed standard output loses the report: that is a failure.
    if (! std::cout)
        CCliStatus::Fail("could not write the report to standard output");
}
