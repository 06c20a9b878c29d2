#include "xml/CXmlParser.h"

#include "xml/CXmlNode.h"
#include "xml/CXmlParserActor.h"

#include <set>

void CXmlParser::RegisterActors() {}

void CXmlParser::Walk(CXmlNode* element)
{
    if (element == nullptr)
        return;
    for (CXmlNode* child = element->FindChild(""); ! child->IsNull(); child = child->NextSibling(""))
    {
        if (CXmlParserActor* actor = FindActor(child->GetName()))
            actor->Act(child);
        else
            Walk(child);
    }
}

CXmlParser::~CXmlParser()
{
    // One actor may serve several names; it is deleted once.
    std::set<CXmlParserActor*> owned;
    for (auto& entry : actors)
        if (entry.second != nullptr)
            owned.insert(entry.second);
    actors.clear();
    for (CXmlParserActor* actor : owned)
        delete actor;
}

void CXmlParser::SetActor(const std::string& name, CXmlParserActor* actor)
{
    auto found = actors.find(name);
    if (found != actors.end())
    {
        CXmlParserActor* previous = found->second;
        if (previous == actor)
            return;
        found->second = actor;
        if (previous != nullptr && ! IsRegisteredElsewhere(previous, name))
            delete previous;
        return;
    }
    actors[name] = actor;
}

CXmlParserActor* CXmlParser::FindActor(const std::string& name) const
{
    auto found = actors.find(name);
    return found != actors.end() ? found->second : nullptr;
}

bool CXmlParser::IsRegisteredElsewhere(const CXmlParserActor* actor, const std::string& name) const
{
    for (auto& entry : actors)
        if (entry.first != name && entry.second == actor)
            return true;
    return false;
}
