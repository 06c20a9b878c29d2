#include "engine/CClassicModel.h"

#include "base/CMathHelper.h"
#include "base/CPoint.h"
#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "engine/CSPLManager.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <cmath>

CClassicModel::CClassicModel(std::vector<Module> m) : modules(std::move(m))
{
}

CClassicModel CClassicModel::FromDesign()
{
    CSPLManager* spl = CSPLManager::GetInstance();
    const CPoint hang = *spl->GetHangPosition();

    std::vector<Module> found;
    CArrayLineWrap array(CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind));
    const int positions = array.GetTotal();
    for (int i = 1; i <= positions; ++i)
    {
        CArrayProdWrap product = array.GetCab(i).GetProduct();
        if (product.GetCatalogueProduct()->FindChild(Tag::Type)->GetString("") == Tag::Flybar)
            continue;
        CXmlNode* table = spl->GetPolar(product.GetModel()).GetNode();
        if (table->IsNull())
            continue;

        Module module;
        CXmlNode* cgInfo = product.GetNode()->FindChild(Tag::CGInfo);
        const CPoint* cg = cgInfo->FindChild(Tag::CG)->GetPoint();
        module.x = cg->x + hang.x;
        module.y = cg->y + hang.y;
        module.angle = cgInfo->FindChild(Tag::Angle)->GetDouble(0.0);
        const int shading = product.GetNode()->FindChild(Tag::Switch2)->FindChild(Tag::Value)->GetInt(1);
        module.shadingDB = CSPLManager::ShadingDB(shading);

        CXmlNode* list = table->FindChild(Tag::SplayList);
        for (CXmlNode* splay = list->FindChild(Tag::Splay); ! splay->IsNull(); splay = list->FindChild(Tag::Splay, splay))
            module.polar.emplace_back(splay->FindChild(Tag::Angle)->GetDouble(0.0),
                                      splay->FindChild(Tag::PressureDB)->GetDouble(100.0));
        found.push_back(std::move(module));
    }
    return CClassicModel(std::move(found));
}

double CClassicModel::Level(double x, double y) const
{
    double pressure = 0.0;
    for (const Module& module : modules)
    {
        const double dx = x - module.x;
        const double dy = y - module.y;
        const double distance = std::sqrt(dx * dx + dy * dy);
        const double angle = std::atan2(dy, dx) * kRadiansToDegrees + module.angle;
        pressure += std::pow(10.0, (PolarLevel(module, angle, distance) + module.shadingDB) / 20.0);
    }
    return 20.0 * std::log10(pressure);
}

// The table lookup of CSPLManager::PolarLevel on the copied entries.
double CClassicModel::PolarLevel(const Module& module, double angle, double distance)
{
    const double a = std::fabs(angle);
    const std::pair<double, double>* lower = nullptr;
    const std::pair<double, double>* upper = nullptr;
    for (const auto& entry : module.polar)
    {
        if (entry.first <= a && (lower == nullptr || entry.first > lower->first))
            lower = &entry;
        if (entry.first >= a && (upper == nullptr || entry.first < upper->first))
            upper = &entry;
    }

    double level = 100.0;
    if (lower == nullptr)
        level = upper != nullptr ? upper->second : 100.0;
    else if (upper == nullptr || upper == lower)
        level = lower->second;
    else
        level = lower->second + (a - lower->first) / (upper->first - lower->first) * (upper->second - lower->second);
    return level - 20.0 * std::log10(distance / 12.0 * 0.3048);
}
