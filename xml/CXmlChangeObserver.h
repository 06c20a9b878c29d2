#pragma once
// What the document layer tells the world about watched elements: a value changed, or the
// element is about to be deleted. One observer per process, installed by whoever binds
// controls to elements (the listener manager); with none installed nothing is told.
// GUI message thread only.

class CXmlNode;

class CXmlChangeObserver
{
public:
    virtual ~CXmlChangeObserver() = default;

    virtual void NodeChanged(CXmlNode* node) = 0;
    // The node and its element are deleted right after this returns.
    virtual void NodeReleased(CXmlNode* node) = 0;

    //==========================================================================
    // Null uninstalls. The observer is not owned.
    static void Install(CXmlChangeObserver* observer);
    static void Uninstall(CXmlChangeObserver* observer);
    static CXmlChangeObserver* Get();
};
