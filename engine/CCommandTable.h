#pragma once
// Every command the engine performs, each written once: its target, the text it shows in
// messages and as the undo transaction's name, what kind of change it is, how its number
// and text are checked, the limits the current design sets it, and what it does. The
// engine, the command manager, the panels and the command-line tool all go through this
// table; a new command is one more entry in Entries(). Static data, GUI message thread only.

#include "engine/CCommand.h"

#include <functional>
#include <limits>
#include <string>
#include <vector>

class CCommandTable
{
public:
    // Design: changes the design (undoable, marks the design changed). View: changes only
    // how it is shown (units, SPL scale). File: loads (undoable) or saves the design.
    // History: steps through the undo history (changes the design, is no step itself).
    enum class Kind { Design, View, File, History };
    // General commands take a number and a text; area commands change one value of a
    // venue area's line.
    enum class Scope { General, Area };

    struct NumberRule
    {
        // Unused: the number is ignored. Finite: any finite number. Whole: a whole number.
        enum class Form { Unused, Finite, Whole };
        Form form = Form::Unused;
        double min = -std::numeric_limits<double>::infinity();
        double max = std::numeric_limits<double>::infinity();
        // How the number is built, for refusals ("2 x switch (1..2) + 1 for on"); empty
        // for a plain value.
        std::string meaning;
    };

    struct TextRule
    {
        // Unused: ignored. Path: a file path (OptionalPath: may be empty). Position: a
        // cabinet's position, a whole number (1 the flybar, 2 the top module). Decimal: a finite
        // decimal number from `min` to `max` (above `min` when `minExcluded`). Choice: one of `choices`. View: a view
        // CBandView::Parse reads.
        enum class Form { Unused, Path, OptionalPath, Position, Decimal, Choice, View };
        Form form = Form::Unused;
        std::vector<std::string> choices;
        double min = -std::numeric_limits<double>::infinity();
        double max = std::numeric_limits<double>::infinity();
        bool minExcluded = false;
        // What the value is, for refusals ("length"); empty: the target names it.
        std::string meaning;
        // Written before the number on the command line (POSITION:NUMBER).
        bool leads = false;
    };

    struct Entry
    {
        std::string target;
        std::string name;
        Kind kind = Kind::Design;
        Scope scope = Scope::General;
        NumberRule number;
        TextRule text;
        // What the design as it stands allows ("" when the command fits). Null: no limits.
        std::function<std::string(const CCommand&)> limits;
        // Runs the command; its number and text have passed the rules above.
        std::function<void(const CCommand&)> perform;
    };

    // The targets of the file commands (the other targets are tags of the documents).
    static inline const std::string kLoadArrayFile = "LoadArrayFile";
    static inline const std::string kSaveArrayFile = "SaveArrayFile";
    static inline const std::string kLoadVenueFile = "LoadVenueFile";
    static inline const std::string kSaveVenueFile = "SaveVenueFile";
    static inline const std::string kUndo = "Undo";
    static inline const std::string kRedo = "Redo";

    //==========================================================================
    // Why the command does not fit its entry (or has none) or the design as it stands;
    // done when it fits both.
    static CCommandResult Check(const CCommand& command);
    // Check for a value typed as `typed`: the command's number (or, for area values, its
    // text) taken from it. Text that is no number is refused with the range it must be in.
    static CCommandResult CheckTyped(CCommand command, const std::string& typed);
    // Checks the command, then runs its entry; a refused command changes nothing. Fatal
    // reports of the handlers leave as exceptions.
    static CCommandResult Perform(const CCommand& command);

    //==========================================================================
    static const std::vector<Entry>& Entries();
    // Whether performing the entry is a step of the undo history: design changes and loads.
    static bool IsUndoStep(const Entry& entry);
    // Null when no entry has `target`.
    static const Entry* Find(const std::string& target);
    // The targets of one scope in table order, joined by ", ".
    static std::string TargetList(Scope scope);

    // Why the command's number or text does not fit its entry; "" when they do.
    static std::string CheckForm(const Entry& entry, const CCommand& command);
    // Why the design as it stands cannot take the command; "" when it can.
    static std::string CheckLimits(const Entry& entry, const CCommand& command);
};
