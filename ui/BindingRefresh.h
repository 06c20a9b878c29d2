#pragma once
// The listener manager sets a bound control's "DoCommand" property to 0 while it writes
// the document's value into the control; a change handler that runs then is the binding
// speaking, not the user, and sends no command.

#include "xml/XmlTags.h"

#include <juce_gui_basics/juce_gui_basics.h>

inline bool IsBindingRefresh(const juce::Component& control)
{
    const juce::Identifier doCommand(Tag::DoCommand);
    const juce::NamedValueSet& properties = control.getProperties();
    return properties.contains(doCommand) && (int) properties[doCommand] == 0;
}

// The handler's last step, whoever made the change.
inline void EndBindingRefresh(juce::Component& control)
{
    control.getProperties().set(juce::Identifier(Tag::DoCommand), 1);
}
