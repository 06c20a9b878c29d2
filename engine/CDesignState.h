#pragma once
// Whether the design differs from the file it was last saved to or loaded from, and which
// files those are. The design is unchanged exactly while the undo history stands at the
// step it stood at when an array file (the design: array with its venue) was last loaded
// or saved, so undoing back to that step makes it unchanged again. The design's file follows
// undo and redo too: it is the file of the last load or save at or before the step the design
// stands at, so Save after undoing a load never writes over the file that load opened. Loading or saving an
// array file is remembered in the user settings, so that the next start opens it again.
// A venue load is a step like an edit; a venue save changes only the venue file proposed
// next. Fed by the command manager after every command it performed; destroyed by the
// shutdown steps. GUI message thread only.

#include "base/TemplateSingleton.h"
#include "engine/CCommand.h"

#include <functional>
#include <map>
#include <string>

class CDesignState : public TemplateSingleton<CDesignState>
{
public:
    virtual ~CDesignState() = default;

    bool IsModified() const;
    // Full paths as the commands gave them; empty until a file of the kind was loaded or saved.
    const std::string& GetDesignFile() const { return designFile; }
    const std::string& GetVenueFile() const { return venueFile; }

    // `command` was performed (a refused or failed one never gets here).
    void CommandDone(const CCommand& command);
    // The design as it stands has no changes (the one the program opened with).
    void TakeAsUnchanged();

    // The array file last loaded or saved, as the user settings remember it ("" when none).
    static std::string RememberedDesignFile();

    // Called after a command that changed the modified state or the design file (the window
    // title follows it); an empty function removes it.
    void SetObserver(std::function<void()> observer);

private:
    friend class TemplateSingleton<CDesignState>;
    CDesignState() = default;

    long long savedStep = 0;
    // The array file each step was loaded from or saved to; `lastTop` is the step the last
    // command left the design at.
    std::map<long long, std::string> fileAtStep;
    long long lastTop = 0;
    std::string designFile;
    std::string venueFile;
    bool reportedModified = false;
    std::function<void()> observer;
};
