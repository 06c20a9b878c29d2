#include "app/CCommandEngineGeneral.h"

#include "engine/CCommandTable.h"

#include <limits>

CCommandEngineGeneral::CCommandEngineGeneral(const std::string& n, const CCommand& c, long long s, long long p,
                                             long long& t)
    : name(n), command(c), serial(s), previous(p), top(&t)
{
}

bool CCommandEngineGeneral::perform()
{
    CEngineManager* engine = CEngineManager::GetInstance();
    if (performed)
    {
        engine->RestoreDesign(after, ShownWith(shownAfter));
        *top = serial;
        return true;
    }
    before = engine->CaptureDesign();
    shownBefore = SplScaleSetting::Capture();
    if (! CCommandTable::Perform(command).WasDone())
        return false;
    after = engine->CaptureDesign();
    shownAfter = SplScaleSetting::Capture();
    changedShown = shownBefore.element != shownAfter.element;
    if (before == after)
        return false;
    if (DesignText::Same(before.array, after.array))
        before.array = after.array = nullptr;
    if (DesignText::Same(before.venue, after.venue))
        before.venue = after.venue = nullptr;
    performed = true;
    *top = serial;
    return true;
}

bool CCommandEngineGeneral::undo()
{
    CEngineManager::GetInstance()->RestoreDesign(before, ShownWith(shownBefore));
    *top = previous;
    return true;
}

SplScaleSetting::Shown CCommandEngineGeneral::ShownWith(const SplScaleSetting::Shown& own) const
{
    return changedShown ? own : SplScaleSetting::Capture();
}

int CCommandEngineGeneral::getSizeInUnits()
{
    const auto size = [](const std::shared_ptr<const std::string>& text) { return text != nullptr ? text->size() : 0; };
    const size_t bytes = size(before.array) + size(before.venue) + size(after.array) + size(after.venue)
                         + shownBefore.element.size() + shownAfter.element.size();
    return (int) std::min(bytes, (size_t) std::numeric_limits<int>::max());
}

juce::UndoableAction* CCommandEngineGeneral::createCoalescedAction(juce::UndoableAction* nextAction)
{
    auto* next = dynamic_cast<CCommandEngineGeneral*>(nextAction);
    const std::string key = MergeKey(command);
    if (next == nullptr || ! performed || ! next->performed || key.empty() || key != MergeKey(next->command))
        return nullptr;

    auto* merged = new CCommandEngineGeneral(name, next->command, serial, previous, *top);
    merged->performed = true;
    // A document one of the two steps left alone was, before the first, as the second found it.
    merged->before.array = before.array == nullptr ? next->before.array : before.array;
    merged->before.venue = before.venue == nullptr ? next->before.venue : before.venue;
    merged->after.array = next->after.array == nullptr ? after.array : next->after.array;
    merged->after.venue = next->after.venue == nullptr ? after.venue : next->after.venue;
    merged->shownBefore = shownBefore;
    merged->shownAfter = next->shownAfter;
    merged->changedShown = changedShown || next->changedShown;
    return merged;
}

std::string CCommandEngineGeneral::MergeKey(const CCommand& command)
{
    const CCommandTable::Entry* entry = CCommandTable::Find(command.target);
    if (entry == nullptr || entry->kind != CCommandTable::Kind::Design)
        return {};
    const bool module = entry->text.form == CCommandTable::TextRule::Form::Position;
    return command.target + "|" + std::to_string(command.areaSlot) + "|" + (module ? command.text : std::string());
}
