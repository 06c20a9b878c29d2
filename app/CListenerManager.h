#pragma once
// Binds user-interface controls to document elements and refreshes them when a watched
// element changes. Data flows only from the documents to the controls here.
// GUI message thread only; holds no ownership of controls or nodes.

#include "base/TemplateSingleton.h"
#include "xml/CXmlChangeObserver.h"

#include <map>
#include <set>
#include <string>

namespace juce { class Component; }
class CXmlNode;

struct CListenerInfo
{
    int registered = 0;
    std::string key;
    juce::Component* control = nullptr;
    std::string tag;
    std::string kind;
    CXmlNode* dataNode = nullptr;
    // The dotted path the control was bound through ("" for a direct binding), so the
    // binding can be resolved again once a load has replaced the documents.
    std::string path;
};

class CListenerManager : public TemplateSingleton<CListenerManager>, public CXmlChangeObserver
{
public:
    CListenerManager();
    virtual ~CListenerManager();

    void Register(juce::Component* listener, CXmlNode* node, const std::string& tag,
                  const std::string& kind, const std::string& key);
    void RegisterByPath(juce::Component* listener, const std::string& path, const std::string& tag,
                        const std::string& kind, const std::string& key);
    void Unregister(juce::Component* listener);
    void NodeChanged(CXmlNode* node) override;
    // A watched node is about to be deleted: its bindings fall back to the null node (they
    // refresh nothing until registered again) and it leaves the node map.
    void NodeReleased(CXmlNode* node) override;
    // Resolves every path binding again (after a load replaced document elements).
    void RebindAll();
    void RefreshAll();
    void Refresh(juce::Component* listener);

private:
    void Watch(CXmlNode* node, juce::Component* listener);
    CListenerInfo& InfoFor(juce::Component* listener);

    std::map<CXmlNode*, std::set<juce::Component*>> nodeMap;
    std::map<juce::Component*, CListenerInfo> listenerMap;
};
