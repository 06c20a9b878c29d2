#include "product/CProductXMLHelper.h"

#include "base/CPoint.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

CProductXMLHelper::CProductXMLHelper() : cursor(CXmlNode::GetNullNode()) {}

const std::vector<std::string>& CProductXMLHelper::GetPointNames()
{
    if (pointNames.empty())
        pointNames = { Tag::UL, Tag::LL, Tag::UR, Tag::LR, Tag::Center,
                       Tag::Connect1, Tag::Connect2, Tag::Connect3 };
    return pointNames;
}

void CProductXMLHelper::ResetCursor()
{
    cursor = CXmlNode::GetNullNode();
}

CXmlNode* CProductXMLHelper::AddPoint(CXmlNode* parent, const std::string& tag, CPoint& point, int mode)
{
    CXmlNode* element;
    if (cursor->IsNull())
        element = parent->GetChild(tag);
    else if (mode == kWriteNext)
        element = parent->GetChild(tag, cursor, CXmlNode::kAfterReference);
    else
        element = parent->FindChild(tag, cursor);

    cursor = element;
    if (! element->IsNull())
        TransferXY(element, point, mode);
    return element;
}

CXmlNode* CProductXMLHelper::WritePointChild(CXmlNode* node, const std::string& tag, CPoint& point, int mode)
{
    CXmlNode* element = node->GetChild(tag);
    TransferXY(element, point, mode);
    return element;
}

void CProductXMLHelper::TransferXY(CXmlNode* element, CPoint& point, int mode)
{
    if (mode == kRead)
    {
        point.x = element->GetChild(Tag::X)->GetDouble(point.x);
        point.y = element->GetChild(Tag::Y)->GetDouble(point.y);
    }
    else
    {
        element->GetChild(Tag::X)->SetDouble(point.x);
        element->GetChild(Tag::Y)->SetDouble(point.y);
    }
}
