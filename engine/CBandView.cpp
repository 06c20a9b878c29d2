#include "engine/CBandView.h"

#include "base/CPoint.h"
#include "engine/CBandModel.h"
#include "engine/CSPLManager.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <limits>

namespace
{
const std::string kClassic = "Classic";
const std::string kBandZ = "Band Z";
const std::string kBandA = "Band A";
const std::string kBandPrefix = "Band ";
const std::string kBandPrefixCompact = "Band:";

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}
}

bool CBandView::Parse(const std::string& text, CBandView& view)
{
    if (text == kClassic)
        view = Classic();
    else if (text == kBandZ || text == Tag::BandZ)
        view = BandZ();
    else if (text == kBandA || text == Tag::BandA)
        view = BandA();
    else
    {
        const std::string* prefix = StartsWith(text, kBandPrefix) ? &kBandPrefix
                                    : StartsWith(text, kBandPrefixCompact) ? &kBandPrefixCompact
                                                                           : nullptr;
        int n = 0;
        if (prefix == nullptr || ! CBandModel::BandOfLabel(text.substr(prefix->size()), n))
            return false;
        view = OneBand(n);
    }
    return true;
}

std::string CBandView::ToString() const
{
    switch (kind)
    {
        case Kind::Classic: return kClassic;
        case Kind::BandZ:   return kBandZ;
        case Kind::BandA:   return kBandA;
        case Kind::Band:    break;
    }
    return kBandPrefix + CBandModel::BandLabel(band);
}

std::string CBandView::ToCompactString() const
{
    switch (kind)
    {
        case Kind::Classic: return kClassic;
        case Kind::BandZ:   return Tag::BandZ;
        case Kind::BandA:   return Tag::BandA;
        case Kind::Band:    break;
    }
    return kBandPrefixCompact + CBandModel::BandLabel(band);
}

double CBandView::ValueAt(CXmlNode* splPoint, const CBandModel& model) const
{
    // A sample that no recompute has written yet has no level.
    const double none = std::numeric_limits<double>::quiet_NaN();
    switch (kind)
    {
        case Kind::Classic: return splPoint->FindChild(Tag::PressureDB)->GetDouble(none);
        case Kind::BandZ:   return splPoint->FindChild(Tag::BandZ)->GetDouble(none);
        case Kind::BandA:   return splPoint->FindChild(Tag::BandA)->GetDouble(none);
        case Kind::Band:    break;
    }
    const CPoint* surface = splPoint->GetPoint();
    const int index = band - CBandModel::kFirstBand;
    if (index < 0 || index >= CBandModel::kBandCount || ! model.IsBandPresent(index))
        return -std::numeric_limits<double>::infinity();
    return model.Evaluate(surface->x, surface->y + CSPLManager::kEarHeight).bands[(size_t) index];
}
