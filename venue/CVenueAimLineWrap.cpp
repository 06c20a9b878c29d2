#include "venue/CVenueAimLineWrap.h"

#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

namespace
{
void SetLineRender(CXmlNode* point, int slot)
{
    CXmlNode* render = point->GetChild(Tag::Render);
    render->SetString(Tag::Line);
    render->GetChild(Tag::Slot)->SetInt(slot);
}
}

std::string CVenueAimLineWrap::GetAimType() const
{
    return node->GetChild(Tag::Type)->GetString(Tag::None);
}

void CVenueAimLineWrap::SetAimType(const std::string& type) const
{
    node->GetChild(Tag::Type)->SetString(type);
}

bool CVenueAimLineWrap::IsUpperEdge() const
{
    return GetAimType() == Tag::UEdge;
}

bool CVenueAimLineWrap::IsLowerEdge() const
{
    return GetAimType() == Tag::LEdge;
}

bool CVenueAimLineWrap::IsInUse() const
{
    return node->GetChild(Tag::FlagInUse)->GetString(Tag::False) == Tag::True;
}

int CVenueAimLineWrap::GetCab() const
{
    return node->GetChild(Tag::Cab)->GetInt(1);
}

void CVenueAimLineWrap::SetCab(int position) const
{
    node->GetChild(Tag::Cab)->SetInt(position);
}

int CVenueAimLineWrap::GetSlot() const
{
    return node->GetChild(Tag::Slot)->GetInt(0);
}

void CVenueAimLineWrap::SetUpperEdgeStyle() const
{
    SetAimType(Tag::UEdge);
    CXmlNode* line = node->GetChild(Tag::Line);
    SetLineRender(line->GetChild(Tag::Point1), GetSlot());
    SetLineRender(line->GetChild(Tag::Point2), GetSlot());
    line->GetChild(Tag::Point1)->GetChild(Tag::Meta)->GetChild(Tag::UEdge);
}

void CVenueAimLineWrap::SetCenterStyle() const
{
    SetAimType(Tag::Center);
    CXmlNode* line = node->GetChild(Tag::Line);
    SetLineRender(line->GetChild(Tag::Point1), GetSlot());
    SetLineRender(line->GetChild(Tag::Point2), GetSlot());
    line->GetChild(Tag::Point1)->GetChild(Tag::MetaMore)->GetChild(Tag::LineWidth)->SetDouble(1.0);
}

void CVenueAimLineWrap::SetLowerEdgeStyle() const
{
    SetAimType(Tag::LEdge);
    CXmlNode* line = node->GetChild(Tag::Line);
    SetLineRender(line->GetChild(Tag::Point1), GetSlot());
    SetLineRender(line->GetChild(Tag::Point2), GetSlot());
    // Both edges share the one marker the scene turns into the edge-line style.
    line->GetChild(Tag::Point1)->GetChild(Tag::Meta)->GetChild(Tag::UEdge);
}

CLine* CVenueAimLineWrap::GetLine() const
{
    return node->GetChild(Tag::Line)->GetLine();
}
