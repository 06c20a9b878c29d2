#include "engine/CSplScaleSetting.h"

#include "engine/CBandModel.h"
#include "engine/CBandView.h"
#include "engine/CSPLManager.h"
#include "venue/CVenueDataWrap.h"
#include "venue/CVenueManager.h"
#include "venue/VenueLimits.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <cmath>
#include <limits>
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
// The lowest and highest level `view` shows at the samples of the venue's surfaces (the
// stage and the audience areas); +infinity and -infinity when it shows none.
void ViewLevels(const CBandView& view, double& low, double& high)
{
    low = std::numeric_limits<double>::infinity();
    high = -std::numeric_limits<double>::infinity();
    const CBandModel model = CBandModel::FromDesign();
    CVenueDataWrap(CVenueManager::GetInstance()->GetVenue(1)).ForEachSplPoint(1, [&](CXmlNode* sample) {
        const double level = view.ValueAt(sample, model);
        if (! std::isfinite(level))
            return;
        low = std::min(low, level);
        high = std::max(high, level);
    });
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
    // A venue that keeps no scale never had it moved: it shows its levels spread over the
    // scale. One that keeps a scale without the flag was moved before the flag existed.
    CXmlNode* setting = CVenueManager::GetInstance()->GetVenue(1)->FindChild(Tag::SplScale);
    CXmlNode* flag = setting->FindChild(Tag::Automatic);
    if (HoldsValue(flag))
        return flag->GetInt(0) != 0;
    return ! HoldsValue(setting->FindChild(Tag::Bottom)) && ! HoldsValue(setting->FindChild(Tag::Top));
}

void SplScaleSetting::SetAutomatic(bool automatic)
{
    Setting()->GetChild(Tag::Automatic)->SetInt(automatic ? 1 : 0);
}

bool SplScaleSetting::RoundOut(double& low, double& high)
{
    if (! std::isfinite(low) || ! std::isfinite(high) || low > high)
        return false;
    // Within the range a stored scale may hold, so that the design loads back.
    low = std::clamp(std::floor(low), VenueLimits::kMinSplLevel, VenueLimits::kMaxSplLevel - VenueLimits::kMinSplSpan);
    high = std::clamp(std::ceil(high), low + VenueLimits::kMinSplSpan, VenueLimits::kMaxSplLevel);
    return true;
}

bool SplScaleSetting::FollowVenueLevels(const CBandView& view)
{
    if (! IsAutomatic())
        return false;
    double low = 0.0, high = 0.0;
    if (view == CBandView::Classic())
    {
        CXmlNode* meta = CVenueManager::GetInstance()->GetVenue(1)->FindChild(Tag::RenderSpec)
                             ->FindChild(Tag::RenderItem)->FindChild(Tag::MetaMore);
        CXmlNode* lowest = meta->FindChild(Tag::SplMin);
        CXmlNode* highest = meta->FindChild(Tag::SplMax);
        if (! HoldsValue(lowest) || ! HoldsValue(highest))
            return false;
        low = lowest->GetDouble(0.0);
        high = highest->GetDouble(0.0);
    }
    else
    {
        ViewLevels(view, low, high);
    }
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
