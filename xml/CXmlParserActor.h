#pragma once
// Handler of one element kind for CXmlParser: the walker hands it every element whose name
// it is registered under. Owned by the parser that registered it; keeps the last element
// it handled until the next one. GUI message thread only.

class CXmlNode;

class CXmlParserActor
{
public:
    CXmlParserActor();
    CXmlParserActor(const CXmlParserActor&) = delete;
    CXmlParserActor& operator=(const CXmlParserActor&) = delete;

    // Makes `element` the current node (a null pointer keeps the previous one).
    virtual void Act(CXmlNode* element);
    virtual ~CXmlParserActor() = default;

    CXmlNode* GetNode() const { return node; }

protected:
    CXmlNode* node;
};
