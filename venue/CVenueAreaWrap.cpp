#include "venue/CVenueAreaWrap.h"

#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

namespace
{
// Render = "Line" with Slot 1 under one end point of an area's line.
void SetLineRender(CXmlNode* point)
{
    CXmlNode* render = point->GetChild(Tag::Render);
    render->SetString(Tag::Line);
    render->GetChild(Tag::Slot)->SetInt(1);
}

// The markers that make the scene draw the line thick and SPL-coloured.
void AddLineMarkers(CXmlNode* line)
{
    CXmlNode* meta = line->GetChild(Tag::Point1)->GetChild(Tag::Meta);
    meta->GetChild(Tag::Thick);
    meta->GetChild(Tag::SplGradient);
}
}

std::string CVenueAreaWrap::GetAreaType() const
{
    return node->GetChild(Tag::Type)->GetString(Tag::Area);
}

void CVenueAreaWrap::SetAreaType(const std::string& type) const
{
    node->GetChild(Tag::Type)->SetString(type);
}

bool CVenueAreaWrap::IsHangPoint() const
{
    return GetAreaType() == Tag::HangPoint;
}

bool CVenueAreaWrap::IsStage() const
{
    return GetAreaType() == Tag::Stage;
}

void CVenueAreaWrap::SetAreaName(const std::string& name) const
{
    node->GetChild(Tag::Name)->SetString(name);
}

std::string CVenueAreaWrap::GetAreaName() const
{
    return node->GetChild(Tag::Name)->GetString("");
}

void CVenueAreaWrap::SetHangPointStyle() const
{
    SetAreaType(Tag::HangPoint);
    node->GetChild(Tag::Line)->GetChild(Tag::Point1)->GetChild(Tag::Render);
}

void CVenueAreaWrap::SetStageStyle() const
{
    SetAreaType(Tag::Stage);
    CXmlNode* line = node->GetChild(Tag::Line);
    SetLineRender(line->GetChild(Tag::Point1));
    SetLineRender(line->GetChild(Tag::Point2));
    AddLineMarkers(line);
}

void CVenueAreaWrap::SetAreaStyle() const
{
    SetAreaType(Tag::Area);
    const bool visible = node->GetChild(Tag::Visible)->GetInt(1) != 0;
    CXmlNode* line = node->GetChild(Tag::Line);
    for (const std::string* end : { &Tag::Point1, &Tag::Point2 })
    {
        CXmlNode* point = line->GetChild(*end);
        if (visible)
            SetLineRender(point);
        else
            point->RemoveChild(Tag::Render, CXmlNode::kDeleteFlag);
    }
    AddLineMarkers(line);
}

CLine* CVenueAreaWrap::GetLine() const
{
    return node->GetChild(Tag::Line)->GetLine();
}

int CVenueAreaWrap::GetInterTotal() const
{
    return node->GetChild(Tag::InterList)->GetChild(Tag::Total)->GetInt(0);
}

void CVenueAreaWrap::SetInterTotal(int total) const
{
    node->GetChild(Tag::InterList)->GetChild(Tag::Total)->SetInt(total);
}

CXmlNode* CVenueAreaWrap::GetInter(int slot) const
{
    return node->GetChild(Tag::InterList)->GetChildByInt(Tag::Inter, Tag::Slot, slot);
}
