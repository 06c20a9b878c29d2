#include "engine/CSplScaleSetting.h"

#include "engine/CSPLManager.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
CXmlNode* Setting()
{
    return CVenueManager::GetInstance()->GetVenue(1)->GetChild(Tag::SplScale);
}

bool HoldsValue(CXmlNode* node)
{
    return ! node->IsNull() && node->HasValue()
           && (node->GetValueType() != CXmlNode::kString || ! node->GetString("").empty());
}
} // namespace

SplScaleSetting::Shown SplScaleSetting::Capture()
{
    const CSPLManager* spl = CSPLManager::GetInstance();
    Shown shown;
    shown.bottom = spl->GetScaleBottom();
    shown.top = spl->GetScaleTop();
    CXmlNode* element = CVenueManager::GetInstance()->GetVenue(1)->FindChild(Tag::SplScale);
    if (! element->IsNull())
    {
        CXmlDocument scratch;
        scratch.GetRoot(Tag::Root)->AddCopyOf(element);
        shown.element = scratch.ToText();
    }
    return shown;
}

void SplScaleSetting::Put(const Shown& shown)
{
    CXmlNode* venue = CVenueManager::GetInstance()->GetVenue(1);
    CXmlNode* kept = venue->FindChild(Tag::SplScale);
    if (shown.element.empty())
    {
        venue->RemoveChild(Tag::SplScale);
    }
    else
    {
        CXmlDocument scratch;
        scratch.ParseText(shown.element);
        CXmlNode* source = scratch.GetRoot(Tag::Root)->FindChild(Tag::SplScale);
        if (kept->IsNull())
        {
            venue->AddCopyOf(source);
        }
        else
        {
            kept->ClearChildren();
            kept->CopyFrom(source);
        }
    }
    CSPLManager::GetInstance()->SetScale(shown.bottom, shown.top);
}

void SplScaleSetting::StoreScale()
{
    const CSPLManager* spl = CSPLManager::GetInstance();
    CXmlNode* setting = Setting();
    setting->GetChild(Tag::Bottom)->SetDouble(spl->GetScaleBottom());
    setting->GetChild(Tag::Top)->SetDouble(spl->GetScaleTop());
}

bool SplScaleSetting::IsAutomatic()
{
    CXmlNode* flag = CVenueManager::GetInstance()->GetVenue(1)->FindChild(Tag::SplScale)->FindChild(Tag::Automatic);
    return HoldsValue(flag) && flag->GetInt(0) != 0;
}

void SplScaleSetting::SetAutomatic(bool automatic)
{
    Setting()->GetChild(Tag::Automatic)->SetInt(automatic ? 1 : 0);
}

bool SplScaleSetting::RoundOut(double& low, double& high)
{
    if (! std::isfinite(low) || ! std::isfinite(high) || low > high)
        return false;
    low = std::floor(low);
    high = std::max(std::ceil(high), low + 1.0);
    return true;
}

bool SplScaleSetting::FollowVenueLevels()
{
    if (! IsAutomatic())
        return false;
    CXmlNode* meta = CVenueManager::GetInstance()->GetVenue(1)->FindChild(Tag::RenderSpec)->FindChild(Tag::RenderItem)
                         ->FindChild(Tag::MetaMore);
    CXmlNode* lowest = meta->FindChild(Tag::SplMin);
    CXmlNode* highest = meta->FindChild(Tag::SplMax);
    if (! HoldsValue(lowest) || ! HoldsValue(highest))
        return false;
    double low = lowest->GetDouble(0.0);
    double high = highest->GetDouble(0.0);
    if (! RoundOut(low, high))
        return false;
    CSPLManager::GetInstance()->SetScale(low, high);
    return true;
}

bool SplScaleSetting::Restore()
{
    CXmlNode* setting = CVenueManager::GetInstance()->GetVenue(1)->FindChild(Tag::SplScale);
    CXmlNode* bottom = setting->FindChild(Tag::Bottom);
    CXmlNode* top = setting->FindChild(Tag::Top);
    if (! HoldsValue(bottom) || ! HoldsValue(top))
        return false;
    const double low = bottom->GetDouble(0.0);
    const double high = top->GetDouble(0.0);
    if (! std::isfinite(low) || ! std::isfinite(high) || ! (low < high))
        return false;
    CSPLManager::GetInstance()->SetScale(low, high);
    return true;
}
