// Fuzz target: any bytes saved as an array file and as a venue file, loaded through the
// real engine as the wizard's file menu does, then the venue picture drawn. A refused
// or damaged file may only end its command with the reported std::runtime_error.
// The core starts once per process, headless, in a temporary directory.

#include "app/CAppStartup.h"
#include "app/CCommandManager.h"
#include "app/CJuceManager.h"
#include "engine/CCommandTable.h"

#include <juce_events/juce_events.h>
#include <juce_graphics/juce_graphics.h>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace
{
juce::File& RunDirectory()
{
    static juce::File dir;
    return dir;
}

void RemoveRunDirectory()
{
    juce::File::getSpecialLocation(juce::File::tempDirectory).setAsCurrentWorkingDirectory();
    RunDirectory().deleteRecursively();
}

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
    RunDirectory() = juce::File::getSpecialLocation(juce::File::tempDirectory)
                         .getNonexistentChildFile("drx-fuzz-load", "", false);
    RunDirectory().createDirectory();
    RunDirectory().setAsCurrentWorkingDirectory();
    std::atexit(RemoveRunDirectory);
    StartCore(ReporterMode::Headless);
}

void Load(const std::string& target, const juce::File& file)
{
    try
    {
        CCommandManager::GetInstance()->DoGeneral(target, file.getFullPathName().toStdString(), 0.0);
    }
    catch (const std::runtime_error&)
    {
        // The engine reported the file as refused; the command was abandoned.
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    StartOnce();

    const juce::File arrayFile = RunDirectory().getChildFile("input.21w");
    const juce::File venueFile = RunDirectory().getChildFile("input.21v");
    arrayFile.replaceWithData(data, size);
    venueFile.replaceWithData(data, size);

    Load(CCommandTable::kLoadArrayFile, arrayFile);
    Load(CCommandTable::kLoadVenueFile, venueFile);

    // Whatever was kept must still draw; a small picture keeps each run short.
    juce::Image picture(juce::Image::RGB, 250, 150, true);
    CJuceManager::RenderScene(picture);
    return 0;
}
