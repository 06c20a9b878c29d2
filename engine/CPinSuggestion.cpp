#include "engine/CPinSuggestion.h"

#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "engine/CBandModel.h"
#include "engine/CEngineManager.h"
#include "venue/CVenueDataWrap.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
constexpr double kCoverageWindowDB = 3.0;
constexpr double kSpreadToleranceDB = 0.01;
constexpr int kFirstAudienceArea = 3;

// The "linear" percentile of sorted values: rank q * (count - 1), interpolated.
double Percentile(const std::vector<double>& sorted, double q)
{
    const double rank = q * (double) (sorted.size() - 1);
    const size_t below = (size_t) std::floor(rank);
    const size_t above = std::min(below + 1, sorted.size() - 1);
    const double t = rank - (double) below;
    return sorted[below] + t * (sorted[above] - sorted[below]);
}

CArrayLineWrap ArrayOne()
{
    return CArrayLineWrap(CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind));
}

// The pin range as the array's controls limit it; read without storing defaults.
std::pair<int, int> PinRange()
{
    CXmlNode* pin = ArrayOne().GetNode()->FindChild(Tag::ArrayInfo)->FindChild(Tag::SlotPin);
    return { pin->FindChild(Tag::Min)->GetInt(1), pin->FindChild(Tag::Max)->GetInt(8) };
}
}

//==============================================================================
PinCoverage CPinSuggestion::Summarise(int pin, std::vector<double> levels)
{
    levels.erase(std::remove_if(levels.begin(), levels.end(), [](double v) { return ! std::isfinite(v); }),
                 levels.end());
    PinCoverage c;
    c.pin = pin;
    if (levels.empty())
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        c.spread = std::numeric_limits<double>::infinity();
        c.median = c.coverage = c.min = c.max = nan;
        return c;
    }
    std::sort(levels.begin(), levels.end());
    c.spread = Percentile(levels, 0.9) - Percentile(levels, 0.1);
    c.median = Percentile(levels, 0.5);
    const auto within = std::count_if(levels.begin(), levels.end(),
                                      [&c](double v) { return std::abs(v - c.median) <= kCoverageWindowDB; });
    c.coverage = (double) within / (double) levels.size();
    c.min = levels.front();
    c.max = levels.back();
    return c;
}

std::optional<int> CPinSuggestion::Choose(const std::vector<PinCoverage>& pins)
{
    double smallest = std::numeric_limits<double>::infinity();
    for (const PinCoverage& p : pins)
        if (std::isfinite(p.spread))
            smallest = std::min(smallest, p.spread);
    if (! std::isfinite(smallest))
        return std::nullopt;

    const PinCoverage* best = nullptr;
    for (const PinCoverage& p : pins)
    {
        if (! std::isfinite(p.spread) || p.spread > smallest + kSpreadToleranceDB)
            continue;
        if (best == nullptr || p.median > best->median || (p.median == best->median && p.pin < best->pin))
            best = &p;
    }
    return best->pin;
}

std::vector<double> CPinSuggestion::AudienceLevels(const SampleLevel& levelOf)
{
    std::vector<double> levels;
    CVenueDataWrap(CVenueManager::GetInstance()->GetVenue(1))
        .ForEachSplPoint(kFirstAudienceArea, [&](CXmlNode* sample) { levels.push_back(levelOf(sample)); });
    return levels;
}

double CPinSuggestion::ClassicLevel(CXmlNode* splPoint)
{
    return splPoint->FindChild(Tag::PressureDB)->GetDouble(std::numeric_limits<double>::quiet_NaN());
}

CPinSuggestion CPinSuggestion::Compute(const SampleLevel& levelOf)
{
    return TryEveryPin([&levelOf] { return AudienceLevels(levelOf); });
}

CPinSuggestion CPinSuggestion::Compute(const CBandView& view)
{
    CPinSuggestion result = TryEveryPin([&view] {
        // The sources move with the pin: one model per pin.
        const CBandModel model = CBandModel::FromDesign();
        return AudienceLevels([&view, &model](CXmlNode* sample) { return view.ValueAt(sample, model); });
    });
    result.view = view;
    return result;
}

CPinSuggestion CPinSuggestion::TryEveryPin(const PinLevels& levelsOf)
{
    CEngineManager* engine = CEngineManager::GetInstance();
    const int original = ArrayOne().GetSlotPin();
    const auto [first, last] = PinRange();

    CPinSuggestion result;
    for (int pin = first; pin <= last; ++pin)
    {
        engine->SetPinSlot(pin);
        result.pins.push_back(Summarise(pin, levelsOf()));
    }
    // Every stored value is a function of the inputs, so the original pin recomputed gives
    // back the very same documents.
    engine->SetPinSlot(original);
    result.best = Choose(result.pins);
    return result;
}
