#include "xml/CXmlWrap.h"

#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

CXmlWrap::CXmlWrap() : node(CXmlNode::GetNullNode()) {}

CXmlWrap::CXmlWrap(CXmlNode* n) : node(n != nullptr ? n : CXmlNode::GetNullNode()) {}

int CXmlWrap::Query(void*) const
{
    return 0;
}

void CXmlWrap::SetNode(CXmlNode* n)
{
    node = n != nullptr ? n : CXmlNode::GetNullNode();
}

void CXmlWrap::SetParentLink(CXmlNode* target)
{
    CXmlNode* parent = node->FindChild(Tag::Parent);
    if (parent->IsNull())
        return;
    parent->NotifyChanged();
    parent->SetLink(target);
}

void CXmlWrap::SetXGuid(const std::string& text)
{
    node->GetChild(Tag::XGuid)->SetString(text);
}

std::string CXmlWrap::GetXGuid() const
{
    return node->GetChild(Tag::XGuid)->GetString("");
}

void CXmlWrap::SetInUse(bool flag)
{
    node->GetChild(Tag::FlagInUse)->SetString(flag ? Tag::True : Tag::False);
}
