#include "venue/CVenueManager.h"

#include "base/CLine.h"
#include "base/CMathHelper.h"
#include "base/CReportError.h"
#include "base/CRunFolders.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "venue/VenueLimits.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

namespace
{
const std::string kTypesDefault = "Many";
const std::string kSettingsFile = "Manager_Venue_Settings.xml";
const std::string kRecordFile = "Venue_Data.xml";
const std::string kDefaultVenueFile = "Venue_Large.xml";

enum class Style { HangPoint, Stage, Area };

// One area of the default venue: either both end points, or the start with angle and length.
struct DefaultArea
{
    const char* name;
    Style style;
    double x1, y1;
    bool byEndPoint;
    double x2OrAngle, y2OrLength;
};

const DefaultArea kDefaultAreas[] = {
    { "Hang Point", Style::HangPoint, 222.0, 282.0, true, 300.0, 240.0 },
    { "Stage", Style::Stage, 0.0, 60.0, true, 240.0, 60.0 },
    { "Floor", Style::Area, 240.0, 0.0, false, 2.0, 900.0 },
    { "Rake", Style::Area, 1140.0, 60.0, false, 8.0, 240.0 },
    { "Balcony1", Style::Area, 900.0, 180.0, false, 20.0, 360.0 },
};

void SetDefaultLine(CLine& line, const DefaultArea& row)
{
    line.x1 = row.x1;
    line.y1 = row.y1;
    if (row.byEndPoint)
    {
        line.x2 = row.x2OrAngle;
        line.y2 = row.y2OrLength;
        line.UpdatePolar();
        return;
    }
    line.angle = row.x2OrAngle;
    line.length = row.y2OrLength;
    line.x2 = line.x1 + line.length * std::cos(line.angle * kDegreesToRadians);
    line.y2 = line.y1 + line.length * std::sin(line.angle * kDegreesToRadians);
}
}

//==============================================================================
CVenueManager::~CVenueManager()
{
    // The record file is silent on failure: it only documents the last venue.
    if (document != nullptr)
        document->Save(kRecordFile);
}

CXmlDocument* CVenueManager::GetVenueDocument()
{
    if (document == nullptr)
        document = std::make_unique<CXmlDocument>();
    return document.get();
}

CXmlNode* CVenueManager::GetVenue(int slot)
{
    CXmlNode* root = GetVenueDocument()->GetRoot(Tag::Root);
    CXmlNode* venue = root->FindChildByInt(Tag::Venue, Tag::Slot, slot);
    if (! venue->IsNull())
        return venue;

    venue = root->AddChild(Tag::Venue);
    venue->GetChild(Tag::Slot)->SetInt(slot);
    CXmlNode* item = venue->GetChild(Tag::RenderSpec)->GetChild(Tag::RenderItem);
    CXmlNode* render = item->GetChild(Tag::Render);
    render->SetString(Tag::Info);
    render->GetChild(Tag::Slot)->SetInt(1);
    CXmlNode* more = item->GetChild(Tag::MetaMore);
    more->GetChild(Tag::ConvLBaseX);
    more->GetChild(Tag::ConvLBaseY);
    return venue;
}

void CVenueManager::InitialiseVenue()
{
    {
        // Rewritten at every start so that the settings file exists with its default.
        CXmlDocument settings;
        settings.Load(CRunFolders::SettingsFile(kSettingsFile));
        settings.GetRoot(Tag::Root)->GetChild(Tag::Types)->GetString(kTypesDefault);
        settings.Save("");
    }

    const CVenueDataWrap data(GetVenue(1));
    int slot = 0;
    for (const DefaultArea& row : kDefaultAreas)
    {
        CVenueAreaWrap area;
        data.GetArea(area, ++slot);
        area.SetAreaName(row.name);
        SetDefaultLine(*area.GetLine(), row);
        switch (row.style)
        {
            case Style::HangPoint: area.SetHangPointStyle(); break;
            case Style::Stage:     area.SetStageStyle(); break;
            case Style::Area:      area.SetAreaStyle(); break;
        }
    }
    data.SetAreaTotal(slot);

    GetVenueDocument()->Save(kRecordFile);
}

//==============================================================================
bool CVenueManager::LoadVenueFile(const std::string& requestedPath)
{
    const std::string path = requestedPath.empty() ? kDefaultVenueFile : requestedPath;

    // The file is read once into a scratch document and checked there: a refused file
    // must leave the current venue exactly as it was.
    CXmlDocument scratch;
    scratch.Load(path);
    CXmlNode* root = scratch.GetRoot(Tag::Root);
    std::string refusal;
    if (! scratch.LastParseSucceeded())
        refusal = scratch.LastParseError();
    else if (root->GetName() != Tag::Root || root->FindChild(Tag::Venue)->IsNull())
        refusal = "it holds no " + Tag::Root + "/" + Tag::Venue;
    else
        refusal = VenueLimits::CheckVenues(root);
    if (! refusal.empty())
    {
        CReportError::GetInstance()->ReportError("Error: Could not load venue file " + path + " (" + refusal + ")");
        return false;
    }

    GetVenueDocument()->TakeContentFrom(scratch);
    return true;
}

bool CVenueManager::SaveVenueFile(const std::string& path)
{
    if (path.empty() || ! GetVenueDocument()->Save(path))
    {
        const std::string reason = path.empty() ? "no file name" : GetVenueDocument()->LastSaveError();
        CReportError::GetInstance()->ReportError("Error: Could not save venue file " + path + " (" + reason + ")");
        return false;
    }
    return true;
}

//==============================================================================
void CVenueManager::CopyVenueInto(CXmlNode* arrayRoot)
{
    if (arrayRoot == nullptr || arrayRoot->IsNull())
        return;
    RemoveVenueFrom(arrayRoot);
    CXmlNode* root = GetVenueDocument()->GetRoot(Tag::Root);
    for (CXmlNode* venue = root->FindChild(Tag::Venue); ! venue->IsNull(); venue = venue->NextSibling(Tag::Venue))
        arrayRoot->AddCopyOf(venue);
}

void CVenueManager::RemoveVenueFrom(CXmlNode* arrayRoot)
{
    if (arrayRoot == nullptr)
        return;
    while (! arrayRoot->FindChild(Tag::Venue)->IsNull())
        arrayRoot->RemoveChild(Tag::Venue, CXmlNode::kDeleteFlag);
}

bool CVenueManager::TakeVenueFrom(CXmlNode* arrayRoot)
{
    if (arrayRoot == nullptr || arrayRoot->FindChild(Tag::Venue)->IsNull())
        return false;
    CXmlNode* root = GetVenueDocument()->ClearRoot();
    for (CXmlNode* venue = arrayRoot->FindChild(Tag::Venue); ! venue->IsNull(); venue = venue->NextSibling(Tag::Venue))
        root->AddCopyOf(venue);
    RemoveVenueFrom(arrayRoot);
    return true;
}

//==============================================================================
std::string CVenueManager::SaveState()
{
    return GetVenueDocument()->ToText();
}

void CVenueManager::RestoreState(const std::shared_ptr<const std::string>& state)
{
    GetVenueDocument()->PutBack(state);
}
