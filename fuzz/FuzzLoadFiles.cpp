// Fuzz target: any bytes saved as an array file or a venue file, loaded through the real
// engine as the wizard's file menu does, followed by what the wizard does with a loaded
// design: the venue picture drawn, the band view and the field map switched on and drawn,
// both switched back and the load undone. A refused or damaged file may only end its
// command with the reported std::runtime_error.
//
// The pictures are drawn when the load asks the window to redraw, as the window would, and
// leaves another design than the start-up one: a file refused before it changed anything,
// or put back as it was after failing half-way, leaves the start-up design, whose pictures
// the first input drew, and drawing them again would only repeat that input.
//
// The core starts once per process, headless, in a temporary directory: starting it costs
// far more than an input. After every input the core is put back to its start-up state
// (documents, SPL scale, hang position, view settings, history, design state) and checked
// to be there, so that no input depends on the ones before it; a core that cannot be put
// back aborts, which libFuzzer reports with the input that caused it.

#include "app/CAppStartup.h"
#include "app/CCommandManager.h"
#include "app/CFieldMapPicture.h"
#include "app/CJuceManager.h"
#include "base/CReportError.h"
#include "engine/CCommandTable.h"
#include "engine/CDesignState.h"
#include "engine/CEngineManager.h"
#include "engine/CFieldMap.h"
#include "engine/CSPLManager.h"
#include "engine/CSplScaleSetting.h"
#include "render/CVenuePicture.h"
#include "xml/XmlTags.h"

#include <juce_events/juce_events.h>
#include <juce_graphics/juce_graphics.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unistd.h>

namespace
{
// Everything the inputs may change and the reset puts back.
struct CoreState
{
    CEngineManager::DesignText design;
    SplScaleSetting::Shown shown;
    std::string view;
    bool fieldMap = false;
    // Kept beside the documents: the colour scale drawn and the hang position.
    double scaleBottom = 0.0, scaleTop = 0.0, hangX = 0.0, hangY = 0.0;

    static CoreState Capture()
    {
        CEngineManager* engine = CEngineManager::GetInstance();
        CSPLManager* spl = CSPLManager::GetInstance();
        return { engine->CaptureDesign(),           SplScaleSetting::Capture(), CEngineManager::GetView().ToString(),
                 CEngineManager::IsFieldMapShown(), spl->GetScaleBottom(),      spl->GetScaleTop(),
                 spl->GetHangPosition()->x,         spl->GetHangPosition()->y };
    }

    bool operator==(const CoreState& other) const
    {
        return design == other.design && shown.element == other.shown.element && shown.bottom == other.shown.bottom
               && shown.top == other.shown.top && view == other.view && fieldMap == other.fieldMap
               && scaleBottom == other.scaleBottom && scaleTop == other.scaleTop && hangX == other.hangX
               && hangY == other.hangY;
    }
};

juce::File& RunDirectory()
{
    static juce::File dir;
    return dir;
}

const CoreState& StartState()
{
    static const CoreState state = CoreState::Capture();
    return state;
}

void RemoveRunDirectory()
{
    juce::File::getSpecialLocation(juce::File::tempDirectory).setAsCurrentWorkingDirectory();
    RunDirectory().deleteRecursively();
}

// Set when the engine asks the window to redraw its picture.
bool redrawAsked = false;

void StartOnce()
{
    static bool started = false;
    if (started)
        return;
    started = true;

    // Images, fonts and the undo history need JUCE's message manager for the whole run;
    // it is never shut down, since the core's singletons outlive every input.
    static juce::ScopedJuceInitialiser_GUI* juceInit = new juce::ScopedJuceInitialiser_GUI();
    (void) juceInit;
    // The process id keeps fuzzers started at once out of each other's folder.
    RunDirectory() = juce::File::getSpecialLocation(juce::File::tempDirectory)
                         .getNonexistentChildFile("drx-fuzz-load-" + juce::String(::getpid()), "", false);
    RunDirectory().createDirectory();
    RunDirectory().setAsCurrentWorkingDirectory();
    std::atexit(RemoveRunDirectory);
    StartCore(ReporterMode::Headless);
    CJuceManager::GetInstance()->SetPictureRedraw([] { redrawAsked = true; });
    CCommandManager::GetInstance()->ClearHistory();
    StartState();
}

void Command(const std::string& target, const std::string& text, double number)
{
    try
    {
        CCommandManager::GetInstance()->DoGeneral(target, text, number);
    }
    catch (const std::runtime_error&)
    {
        // The engine reported the command as refused and abandoned it.
    }
}

// A small picture keeps each input short.
constexpr int kPictureWidth = 250;
constexpr int kPictureHeight = 150;
// Cells of 50 pixels, 5 by 3 of them: the same computation as the window's map, whose
// cells are 4 pixels, on few enough cells that it stays a small part of an input's time.
constexpr int kFieldMapCellPx = 50;

void Draw()
{
    juce::Image picture(juce::Image::RGB, kPictureWidth, kPictureHeight, true);
    CJuceManager::RenderScene(picture);
}

// The venue view's picture with the field map under it, as the window draws it, the map
// computed on this one thread (libFuzzer's time is one core's).
void DrawWithFieldMap()
{
    juce::Image picture(juce::Image::RGB, kPictureWidth, kPictureHeight, true);
    CVenuePicture::Options options = CJuceManager::ScenePicture();
    options.underlay = [](juce::Image& canvas, const CVenuePicture::Placement& placement) {
        const CFieldGrid grid = CFieldMap::FromDesign().Compute(
            CEngineManager::GetView(), CFieldMapPicture::Conversion(placement, canvas.getWidth(), canvas.getHeight()),
            kFieldMapCellPx, 1);
        juce::Graphics g(canvas);
        g.drawImageAt(CFieldMapPicture::Paint(grid, canvas.getWidth(), canvas.getHeight()), 0, 0);
    };
    CVenuePicture::Draw(picture, options);
}

// Puts the core back as it started: the history and the design state emptied, then what
// differs put back (the design by a restore, only when it differs; the SPL scale's ends,
// which the headless core does not draw to follow, by themselves), and the whole checked
// once more.
void Reset()
{
    const CoreState& start = StartState();
    CCommandManager* commands = CCommandManager::GetInstance();
    commands->ClearHistory();
    commands->ResetPerformedCounts();
    CDesignState::DestroyInstance();
    CDesignState::GetInstance()->TakeAsUnchanged();
    // The log of refused files would grow with every input.
    CReportError::GetInstance()->StartLog();

    CoreState now = CoreState::Capture();
    if (! (now == start))
    {
        CEngineManager* engine = CEngineManager::GetInstance();
        if (now.view != start.view)
            engine->SetView(start.view);
        if (now.fieldMap != start.fieldMap)
            engine->SetFieldMapShown(start.fieldMap);
        if (now.design != start.design)
            engine->RestoreDesign(start.design, start.shown);
        else if (now.shown.element != start.shown.element || now.shown.bottom != start.shown.bottom
                 || now.shown.top != start.shown.top)
            SplScaleSetting::Put(start.shown);
        now = CoreState::Capture();
    }

    if (! (now == start) || commands->CanUndo() || commands->CanRedo() || CDesignState::GetInstance()->IsModified())
    {
        std::fprintf(stderr, "fuzz_load_files: the core did not return to its start-up state\n");
        std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    StartOnce();

    // An input whose first array or venue element is an array is an array file, any other a
    // venue file, as the seeds of both kinds are: one load an input.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const bool array = text.find("<Array") < text.find("<Venue");
    const juce::File file = RunDirectory().getChildFile(array ? "input.21w" : "input.21v");
    // Written in place: nothing else reads the run folder, so the safe replace (a temporary
    // file and a rename) would only cost time.
    std::FILE* out = std::fopen(file.getFullPathName().toRawUTF8(), "wb");
    if (out == nullptr || std::fwrite(data, 1, size, out) != size || std::fclose(out) != 0)
    {
        std::fprintf(stderr, "fuzz_load_files: could not write the input to %s\n", file.getFullPathName().toRawUTF8());
        std::abort();
    }
    redrawAsked = false;
    Command(array ? CCommandTable::kLoadArrayFile : CCommandTable::kLoadVenueFile, file.getFullPathName().toStdString(),
            0.0);
    static bool drawnOnce = false;
    const bool draw = ! drawnOnce
                      || (redrawAsked && CEngineManager::GetInstance()->CaptureDesign() != StartState().design);
    drawnOnce = true;
    if (draw)
        Draw();
    // The band view and the field map draw the loaded design's levels another way.
    Command(Tag::View, "BandA", 0.0);
    Command(Tag::FieldMap, "", 1.0);
    if (draw)
        DrawWithFieldMap();
    // Back as a user goes back: the view and the map switched as they were, and the load
    // undone with the wizard's Ctrl+Z, which puts the start-up design back and spares the
    // reset a restore of its own.
    const CoreState& start = StartState();
    Command(Tag::View, start.view, 0.0);
    Command(Tag::FieldMap, "", start.fieldMap ? 1.0 : 0.0);
    CCommandManager* commands = CCommandManager::GetInstance();
    try
    {
        if (commands->CanUndo())
            commands->Undo();
    }
    catch (const std::runtime_error&)
    {
        // Reported like a refused command; the reset puts back what the undo left.
    }

    Reset();
    return 0;
}
