#pragma once
// Walks an element tree in document order and hands every element whose name has a
// registered actor to that actor; elements without one are descended into. The parser
// owns its actors and deletes them when it goes. GUI message thread only.

#include <map>
#include <string>

class CXmlNode;
class CXmlParserActor;

class CXmlParser
{
public:
    CXmlParser() = default;
    CXmlParser(const CXmlParser&) = delete;
    CXmlParser& operator=(const CXmlParser&) = delete;

    // Fills the actor table; the base parser has no actors of its own.
    virtual void RegisterActors();
    // Visits the child elements of `element`; the children of a handled element are left
    // to its actor.
    virtual void Walk(CXmlNode* element);
    virtual ~CXmlParser();

    // Takes ownership of `actor`. The actor it replaces is deleted (unless it is the same
    // object or still registered under another name).
    void SetActor(const std::string& name, CXmlParserActor* actor);
    CXmlParserActor* FindActor(const std::string& name) const;

protected:
    std::map<std::string, CXmlParserActor*> actors;

private:
    bool IsRegisteredElsewhere(const CXmlParserActor* actor, const std::string& name) const;
};
