// Benchmarks of the work behind one user edit: the recompute pipeline, a count change
// through the command manager, the 1000 x 600 venue picture (classic and fitted with its
// grid and names), the field map over it (with the plain evaluation as its yardstick), the
// coverage suggestion, the subwoofer alignment, the printable report, the headless start-up
// the wizard and the command-line tool go through, and loading the largest venue the limits
// accept. The core runs headless in a temporary
// directory with a fixed start-up seed, so runs are comparable.

#include "app/CAppStartup.h"
#include "app/CCommandManager.h"
#include "app/CFieldMapPicture.h"
#include "app/CJuceManager.h"
#include "base/CLine.h"
#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "engine/CBandModel.h"
#include "engine/CCommandTable.h"
#include "engine/CEngineManager.h"
#include "engine/CFieldMap.h"
#include "engine/CPinSuggestion.h"
#include "engine/CSubAlignment.h"
#include "render/CRenderManager.h"
#include "render/CVenuePicture.h"
#include "report/CDesignReport.h"
#include "venue/VenueLimits.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>
#include <juce_graphics/juce_graphics.h>

#include <exception>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace
{
constexpr unsigned kStartupSeed = 1;

bool& CoreRunning()
{
    static bool running = false;
    return running;
}

void StartHeadless()
{
    CArrayManager::GetInstance()->SetStartupSeed(kStartupSeed);
    StartCore(ReporterMode::Headless);
    CoreRunning() = true;
}

// The program's own shutdown order, then the singletons that outlive it in the wizard.
void StopHeadless()
{
    ShutdownEngineDocuments();
    ShutdownCore();
    CEngineManager::DestroyInstance();
    CJuceManager::DestroyInstance();
    CRenderManager::DestroyInstance();
    CoreRunning() = false;
}

void EnsureCore()
{
    if (! CoreRunning())
        StartHeadless();
}

CArrayLineWrap FirstLine()
{
    return CArrayLineWrap(CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind));
}

//==============================================================================
void BM_Recompute(benchmark::State& state)
{
    EnsureCore();
    for (auto _ : state)
        CEngineManager::GetInstance()->Recompute();
}
BENCHMARK(BM_Recompute)->Unit(benchmark::kMillisecond);

// Alternates the full-range count between its start-up value and one more, so every
// command really changes the design (products placed or removed, then the recompute).
void BM_CountChange(benchmark::State& state)
{
    EnsureCore();
    const int base = FirstLine().GetFullRangeCount();
    int step = 0;
    for (auto _ : state)
    {
        try
        {
            CCommandManager::GetInstance()->DoGeneral(Tag::Model_DRXR1, "", base + (step++ % 2));
        }
        catch (const std::exception& e)
        {
            state.SkipWithError(e.what());
            break;
        }
    }
    state.counters["cabinets"] = FirstLine().GetFullRangeCount() + FirstLine().GetSubwooferCount();
}
BENCHMARK(BM_CountChange)->Unit(benchmark::kMillisecond);

// The picture a redraw draws.
void BM_RenderVenuePicture(benchmark::State& state)
{
    EnsureCore();
    juce::Image picture(juce::Image::RGB, 1000, 600, true);
    for (auto _ : state)
    {
        CJuceManager::DrawVenuePicture(picture);
    }
}
BENCHMARK(BM_RenderVenuePicture)->Unit(benchmark::kMillisecond);

// The classic venue picture's conversion from section inches to pixels, as drawing the
// design leaves it.
CPictureConversion VenuePictureConversion()
{
    juce::Image picture(juce::Image::RGB, 1000, 600, true);
    CJuceManager::DrawVenuePicture(picture);
    return CFieldMapPicture::Conversion(CVenuePicture::VenuePlacement(CRenderView()), picture.getWidth(),
                                        picture.getHeight());
}

// The whole map of the design in Band Z with 4-pixel cells, as an edit redraws it: the
// models taken from the documents, then every cell.
void FieldMap(benchmark::State& state, int threads)
{
    EnsureCore();
    const CPictureConversion conversion = VenuePictureConversion();
    for (auto _ : state)
    {
        const CFieldMap map = CFieldMap::FromDesign();
        CFieldGrid grid = map.Compute(CBandView::BandZ(), conversion, CFieldMap::kDefaultCellPx, threads);
        benchmark::DoNotOptimize(grid.levels.data());
    }
    state.counters["threads"] = threads;
}

void BM_FieldMap(benchmark::State& state)
{
    FieldMap(state, CFieldMap::DefaultThreads());
}
// Wall time is what the user waits; the CPU column adds up every thread's time.
BENCHMARK(BM_FieldMap)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FieldMapOneThread(benchmark::State& state)
{
    FieldMap(state, 1);
}
BENCHMARK(BM_FieldMapOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();

// The yardstick: the same cells evaluated the plain way, one std::complex term at a time,
// with the 8 lines of every band, the crossover filters and the screening
// (CBandModel::Evaluate, which the microphone uses).
void BM_FieldMapReference(benchmark::State& state)
{
    EnsureCore();
    const CPictureConversion conversion = VenuePictureConversion();
    const int cell = CFieldMap::kDefaultCellPx;
    const int columns = (conversion.width + cell - 1) / cell;
    const int rows = (conversion.height + cell - 1) / cell;
    std::vector<double> levels((size_t) columns * (size_t) rows);
    for (auto _ : state)
    {
        const CBandModel model = CBandModel::FromDesign();
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
            {
                double x = 0.0, y = 0.0;
                CFieldMap::CellCentre(conversion, cell, column, row, x, y);
                levels[(size_t) row * (size_t) columns + (size_t) column] = model.Evaluate(x, y).z;
            }
        benchmark::DoNotOptimize(levels.data());
    }
}
BENCHMARK(BM_FieldMapReference)->Unit(benchmark::kMillisecond)->UseRealTime();

// The coverage suggestion in the Band Z view: every pick pin applied and recomputed, the
// audience levels summarised, the design put back. Compare with BM_Recompute.
void BM_SuggestPin(benchmark::State& state)
{
    EnsureCore();
    for (auto _ : state)
        benchmark::DoNotOptimize(CPinSuggestion::Compute(CBandView::BandZ()).best);
}
BENCHMARK(BM_SuggestPin)->Unit(benchmark::kMillisecond);
// The subwoofer alignment of the start-up design with one subwoofer at a point 20 m in front
// of the array at ear height: the band model read from the documents and every candidate
// tried, as the call-out's button does. Compare with BM_Recompute.
void BM_AlignSubs(benchmark::State& state)
{
    EnsureCore();
    const int subwoofers = FirstLine().GetSubwooferCount();
    if (subwoofers != 1)
        CCommandManager::GetInstance()->DoGeneral(Tag::Model_DRXS1, "", 1);
    const CBandModel::Source top = CBandModel::FromDesign().GetSources().front();
    const double x = top.x + 20.0 / CBandModel::kMetresPerInch;
    const double y = 48.0;
    for (auto _ : state)
        benchmark::DoNotOptimize(CSubAlignment::InDesign(x, y).step);
    if (subwoofers != 1)
        CCommandManager::GetInstance()->DoGeneral(Tag::Model_DRXS1, "", subwoofers);
}
BENCHMARK(BM_AlignSubs)->Unit(benchmark::kMillisecond);

// The venue view's picture: the measuring pass for the fit, the grid, the scene and the
// surfaces' names. Compare with BM_RenderVenuePicture in the same run.
void BM_FittedVenuePicture(benchmark::State& state)
{
    EnsureCore();
    juce::Image picture(juce::Image::RGB, 1000, 600, true);
    CVenuePicture::Options options = CJuceManager::GetInstance()->AnnotatedPicture();
    options.framing = CVenuePicture::Framing::Fit;
    for (auto _ : state)
        CVenuePicture::Draw(picture, options);
}
BENCHMARK(BM_FittedVenuePicture)->Unit(benchmark::kMillisecond);

// The whole printable report with its 1500 x 800 picture, encoded.
void BM_DesignReport(benchmark::State& state)
{
    EnsureCore();
    CDesignReport::Options options;
    options.units = CJuceManager::GetInstance()->GetDisplayUnits();
    options.date = "today";
    size_t bytes = 0;
    for (auto _ : state)
        bytes = CDesignReport::Build(options).size();
    state.counters["bytes"] = (double) bytes;
}
BENCHMARK(BM_DesignReport)->Unit(benchmark::kMillisecond);

// StartCore until the design is ready; the shutdown between runs is not timed.
void BM_StartUp(benchmark::State& state)
{
    if (CoreRunning())
        StopHeadless();
    for (auto _ : state)
    {
        StartHeadless();
        state.PauseTiming();
        StopHeadless();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);
} // namespace

// The largest venue the limits accept: the start-up venue with as many areas as a venue may
// hold, each a level surface as long as an area may be. Loading it recomputes and draws it
// once; the load must stay within 10 s and 800 MB (peak_MB, the process's peak so far).
// Compare with BM_Recompute in the same run. The start-up venue is loaded back afterwards.
void WriteLargestVenue(const std::string& path)
{
    CCommandManager::GetInstance()->DoGeneral(CCommandTable::kSaveVenueFile, path, 0.0);
    CXmlDocument file;
    file.Load(path);
    CXmlNode* areas = file.GetRoot(Tag::Root)->FindChild(Tag::Venue)->FindChild(Tag::AreaList);
    CXmlNode* floor = areas->FindChildByInt(Tag::Area, Tag::Slot, 3);
    const double length = VenueLimits::kMaxCoordinate;
    for (int slot = 3; slot <= VenueLimits::kMaxAreas; ++slot)
    {
        CXmlNode* area = slot == 3 ? floor : areas->AddCopyOf(floor);
        area->FindChild(Tag::Slot)->SetInt(slot);
        area->FindChild(Tag::Name)->SetString("Surface " + std::to_string(slot));
        CLine* line = area->FindChild(Tag::Line)->GetLine();
        line->x1 = -0.5 * length;
        line->x2 = 0.5 * length;
        line->y1 = line->y2 = 300.0 * (slot - 3) - 4000.0;
        line->angle = 0.0;
        line->length = length;
    }
    areas->GetChild(Tag::Total)->SetInt(VenueLimits::kMaxAreas);
    file.Save(path);
}

void BM_LoadLargestVenue(benchmark::State& state)
{
    EnsureCore();
    const std::string startup = "StartupVenue.21v";
    const std::string largest = "LargestVenue.21v";
    CCommandManager::GetInstance()->DoGeneral(CCommandTable::kSaveVenueFile, startup, 0.0);
    WriteLargestVenue(largest);
    for (auto _ : state)
        CCommandManager::GetInstance()->DoGeneral(CCommandTable::kLoadVenueFile, largest, 0.0);
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = (double) usage.ru_maxrss / 1024.0;
    state.counters["areas"] = VenueLimits::kMaxAreas;
    CCommandManager::GetInstance()->DoGeneral(CCommandTable::kLoadVenueFile, startup, 0.0);
}
BENCHMARK(BM_LoadLargestVenue)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    const juce::File previous = juce::File::getCurrentWorkingDirectory();
    // The process id keeps two runs started at once out of each other's folder.
    const juce::File runDirectory = juce::File::getSpecialLocation(juce::File::tempDirectory)
                                        .getNonexistentChildFile("drx-bench-" + juce::String(::getpid()), "", false);
    runDirectory.createDirectory();
    runDirectory.setAsCurrentWorkingDirectory();
    {
        // Images, fonts and the undo history need JUCE's message manager.
        juce::ScopedJuceInitialiser_GUI juceInit;
        benchmark::RunSpecifiedBenchmarks();
        if (CoreRunning())
            StopHeadless();
    }
    benchmark::Shutdown();

    previous.setAsCurrentWorkingDirectory();
    runDirectory.deleteRecursively();
    return 0;
}
