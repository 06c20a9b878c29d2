#include "ui/CUndoKeys.h"

#include "app/CCommandManager.h"
#include "app/CJuceManager.h"
#include "engine/CCommandTable.h"

std::string CUndoKeys::TargetOf(const juce::KeyPress& key)
{
    const juce::ModifierKeys modifiers = key.getModifiers();
    if (! modifiers.isCommandDown() || modifiers.isAltDown())
        return {};
    const int code = key.getKeyCode();
    if (code == 'Z' || code == 'z')
        return modifiers.isShiftDown() ? CCommandTable::kRedo : CCommandTable::kUndo;
    if ((code == 'Y' || code == 'y') && ! modifiers.isShiftDown())
        return CCommandTable::kRedo;
    return {};
}

bool CUndoKeys::keyPressed(const juce::KeyPress& key, juce::Component*)
{
    const std::string target = TargetOf(key);
    if (target.empty())
        return false;
    // With nothing to take back or make again the key does nothing.
    if (CCommandManager::GetInstance()->DoGeneral(target, "", 0.0))
        CJuceManager::GetInstance()->Redraw();
    return true;
}
