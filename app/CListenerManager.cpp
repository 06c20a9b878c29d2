#include "app/CListenerManager.h"

#include "app/CJuceManager.h"
#include "base/NumberText.h"
#include "engine/CEngineManager.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <sstream>
#include <vector>

namespace
{
// Ends a control's binding when the control is deleted before it was unregistered, so the
// manager never keeps a pointer to a deleted control.
class ControlDeletionWatcher : public juce::ComponentListener
{
public:
    void componentBeingDeleted(juce::Component& component) override
    {
        if (CListenerManager::HasInstance())
            CListenerManager::GetInstance()->Unregister(&component);
    }
};

ControlDeletionWatcher& DeletionWatcher()
{
    static ControlDeletionWatcher watcher;
    return watcher;
}

void Forget(std::map<CXmlNode*, std::set<juce::Component*>>& nodeMap, juce::Component* listener)
{
    for (auto& entry : nodeMap)
        entry.second.erase(listener);
}

// The one-decimal text of the value kinds, and a value passed through that text.
std::string Text(double value)
{
    return DoubleToString(value, 1);
}

double ThroughText(double value)
{
    double rounded = value;
    StringToDouble(Text(value), rounded);
    return rounded;
}

// The range's interval is the text's one decimal, so that a typed value is kept as typed;
// a slider's buttons may step further (CCheckedSlider).
void SetSliderEdit(juce::Slider* slider, double value)
{
    if (slider == nullptr)
        return;
    const double v = ThroughText(value);
    slider->setRange(-10000.0, 10000.0, 0.1);
    if (v != slider->getValue())
        slider->setValue(v, juce::sendNotificationSync);
}

void SetLabel(juce::Label* label, const std::string& text)
{
    if (label != nullptr)
        label->setText(juce::String(text), juce::sendNotification);
}

void SetEditor(juce::TextEditor* editor, const std::string& text)
{
    if (editor != nullptr)
        editor->setText(juce::String(text), true);
}

// A toggle's key: "n" is on for the value n; "!a|b" is on for every value but a and b, the
// mode a switch works in when it holds no value of its own.
bool ToggleIsOn(const std::string& key, int value)
{
    std::string text;
    IntToString(text, value);
    if (key.empty() || key[0] != '!')
        return text == key;
    std::istringstream others(key.substr(1));
    for (std::string other; std::getline(others, other, '|');)
        if (other == text)
            return false;
    return true;
}

// Writes the value of `item` into `control` as its kind says.
void WriteValue(juce::Component* control, CXmlNode* item, const CListenerInfo& info)
{
    const std::string& kind = info.kind;
    const CJuceManager* ui = CJuceManager::GetInstance();

    if (kind == Tag::VSlide)
    {
        if (auto* slider = dynamic_cast<juce::Slider*>(control))
        {
            slider->setRange(item->FindChild(Tag::Min)->GetDouble(1.0), item->FindChild(Tag::Max)->GetDouble(10.0),
                             item->FindChild(Tag::Delta)->GetDouble(1.0));
            slider->setValue(item->GetChild(Tag::Value)->GetDouble(1.0), juce::sendNotificationSync);
        }
    }
    else if (kind == Tag::VSlideInt)
    {
        if (auto* slider = dynamic_cast<juce::Slider*>(control))
        {
            slider->setRange(item->FindChild(Tag::Min)->GetInt(1), item->FindChild(Tag::Max)->GetInt(10),
                             item->FindChild(Tag::Delta)->GetInt(1));
            slider->setValue(item->GetChild(Tag::Value)->GetInt(1), juce::sendNotificationSync);
        }
    }
    else if (kind == Tag::VEditDouble)
        SetEditor(dynamic_cast<juce::TextEditor*>(control), Text(item->GetDouble(0.0)));
    else if (kind == Tag::VEditDouble12)
        SetEditor(dynamic_cast<juce::TextEditor*>(control), Text(ui->ToDisplayLength(info.key, item->GetDouble(0.0))));
    else if (kind == Tag::VEditText)
        SetEditor(dynamic_cast<juce::TextEditor*>(control), item->GetString("NoName"));
    else if (kind == Tag::VEditGroupText)
    {
        if (auto* group = dynamic_cast<juce::GroupComponent*>(control))
            group->setText(juce::String(item->GetString("NoName")));
    }
    else if (kind == Tag::VSlideEditDouble)
        SetSliderEdit(dynamic_cast<juce::Slider*>(control), item->GetDouble(0.0));
    else if (kind == Tag::VSlideEditDouble12)
        SetSliderEdit(dynamic_cast<juce::Slider*>(control), ui->ToDisplayLength(info.key, item->GetDouble(0.0)));
    else if (kind == Tag::VLabelDouble)
        SetLabel(dynamic_cast<juce::Label*>(control), Text(item->GetChild(Tag::Value)->GetDouble(0.0)));
    else if (kind == Tag::VLabelDouble12)
        SetLabel(dynamic_cast<juce::Label*>(control),
                 Text(ui->ToDisplayLength(info.key, item->GetChild(Tag::Value)->GetDouble(0.0))));
    else if (kind == Tag::VToggleButton)
    {
        if (auto* toggle = dynamic_cast<juce::ToggleButton*>(control))
        {
            toggle->setToggleState(ToggleIsOn(info.key, item->GetChild(Tag::Value)->GetInt(0)), juce::sendNotification);
        }
    }
    else if (kind == Tag::VLabelText)
        SetLabel(dynamic_cast<juce::Label*>(control), item->GetChild(Tag::Value)->GetString("default"));
    else if (kind == Tag::VButtonText)
    {
        if (auto* button = dynamic_cast<juce::TextButton*>(control))
            button->setButtonText(juce::String(item->GetChild(Tag::Value)->GetString("default")));
    }
    // "VEdit", "VEditInt" and unknown kinds show nothing.
}
}

//==============================================================================
// Installed as the documents' change observer for as long as it lives.
CListenerManager::CListenerManager()
{
    CXmlChangeObserver::Install(this);
}

CListenerManager::~CListenerManager()
{
    CXmlChangeObserver::Uninstall(this);
    for (auto& binding : listenerMap)
        if (binding.second.registered != 0)
            binding.first->removeComponentListener(&DeletionWatcher());
}

void CListenerManager::Register(juce::Component* listener, CXmlNode* node, const std::string& tag,
                                const std::string& kind, const std::string& key)
{
    if (listener == nullptr)
        return;
    if (node == nullptr)
        node = CXmlNode::GetNullNode();

    Forget(nodeMap, listener);
    Watch(node, listener);
    CXmlNode* child = node->FindChild(tag);
    if (! child->IsNull())
    {
        Watch(child, listener);
        Watch(child->GetChild(Tag::Value), listener);
    }

    CListenerInfo& info = InfoFor(listener);
    if (info.registered == 0)
        listener->addComponentListener(&DeletionWatcher());
    info.registered = 1;
    info.control = listener;
    info.dataNode = node;
    info.tag = tag;
    info.kind = kind;
    info.key = key;
    info.path.clear();

    Refresh(listener);
}

void CListenerManager::RegisterByPath(juce::Component* listener, const std::string& path, const std::string& tag,
                                      const std::string& kind, const std::string& key)
{
    Register(listener, CEngineManager::GetInstance()->ResolvePath(path), tag, kind, key);
    InfoFor(listener).path = path;
}

void CListenerManager::RebindAll()
{
    std::vector<CListenerInfo> bound;
    for (const auto& binding : listenerMap)
        if (binding.second.registered != 0 && ! binding.second.path.empty())
            bound.push_back(binding.second);
    for (const CListenerInfo& info : bound)
        if (listenerMap.count(info.control) != 0)
            RegisterByPath(info.control, info.path, info.tag, info.kind, info.key);
}

void CListenerManager::Unregister(juce::Component* listener)
{
    auto found = listenerMap.find(listener);
    if (found == listenerMap.end())
        return;
    // Only registered controls carry the watcher, and those are alive (see the watcher).
    if (found->second.registered != 0)
        listener->removeComponentListener(&DeletionWatcher());
    listenerMap.erase(found);
    Forget(nodeMap, listener);
}

void CListenerManager::NodeChanged(CXmlNode* node)
{
    auto found = nodeMap.find(node);
    if (found == nodeMap.end())
    {
        node->SetWatched(false);
        return;
    }
    // A copy: the controls' handlers run inside the refresh and may bind or unbind.
    const std::set<juce::Component*> controls = found->second;
    for (juce::Component* control : controls)
        if (listenerMap.count(control) != 0)
            Refresh(control);
}

void CListenerManager::NodeReleased(CXmlNode* node)
{
    nodeMap.erase(node);
    for (auto& binding : listenerMap)
        if (binding.second.dataNode == node)
            binding.second.dataNode = CXmlNode::GetNullNode();
}

void CListenerManager::RefreshAll()
{
    std::vector<juce::Component*> controls;
    for (const auto& binding : listenerMap)
        controls.push_back(binding.first);
    for (juce::Component* control : controls)
    {
        auto found = listenerMap.find(control);
        if (found != listenerMap.end() && nodeMap.count(found->second.dataNode) != 0)
            Refresh(control);
    }
}

void CListenerManager::Refresh(juce::Component* listener)
{
    auto found = listenerMap.find(listener);
    if (found == listenerMap.end())
        return;
    // A copy: the control's own handlers may replace the binding while it is written.
    const CListenerInfo info = found->second;
    if (info.dataNode == nullptr || info.dataNode->IsNull())
        return;
    CXmlNode* item = info.dataNode->FindChild(info.tag);
    if (item->IsNull())
        return;

    Watch(item, listener);
    Watch(item->GetChild(Tag::Value), listener);
    listener->getProperties().set(juce::Identifier(Tag::DoCommand), 0);
    WriteValue(listener, item, info);
}

//==============================================================================
void CListenerManager::Watch(CXmlNode* node, juce::Component* listener)
{
    if (node == nullptr || node->IsNull())
        return;
    node->SetWatched(true);
    nodeMap[node].insert(listener);
}

CListenerInfo& CListenerManager::InfoFor(juce::Component* listener)
{
    CListenerInfo& info = listenerMap[listener];
    if (info.dataNode == nullptr)
        info.dataNode = CXmlNode::GetNullNode();
    return info;
}
