#pragma once
// Base of the typed element wrappers: a value handle on one element that owns nothing.
// A new wrapper wraps the shared null node, so every accessor is safe before SetNode.

#include <string>

class CXmlNode;

class CXmlWrap
{
public:
    CXmlWrap();
    explicit CXmlWrap(CXmlNode* node);
    CXmlWrap(const CXmlWrap&) = default;
    CXmlWrap& operator=(const CXmlWrap&) = default;

    virtual int Query(void* argument) const;
    virtual void SetParentLink(CXmlNode* node);
    virtual ~CXmlWrap() = default;

    CXmlNode* GetNode() const { return node; }
    void SetNode(CXmlNode* n);

    void SetXGuid(const std::string& text);
    std::string GetXGuid() const;
    void SetInUse(bool flag);

protected:
    CXmlNode* node;
};
