#include "CCliProbe.h"

#include "app/CJuceManager.h"
#include "array/ModuleNumbers.h"
#include "engine/CBandModel.h"
#include "xml/XmlTags.h"

CJsonValue CCliProbe::Build(const std::vector<CCliOptions::Probe>& probes)
{
    const CJuceManager* ui = CJuceManager::GetInstance();
    const CBandModel model = CBandModel::FromDesign();
    CJsonValue list = CJsonValue::MakeArray();
    for (const CCliOptions::Probe& point : probes)
    {
        const CBandModel::ProbeResult result =
            model.Probe(ui->FromDisplayLength(Tag::sX, point.x), ui->FromDisplayLength(Tag::sY, point.y));
        CJsonValue probe = CJsonValue::MakeObject();
        probe.Set("x_in", result.xIn);
        probe.Set("y_in", result.yIn);
        CJsonValue bands = CJsonValue::MakeArray();
        for (const CBandModel::ProbeBand& band : result.bands)
        {
            CJsonValue entry = CJsonValue::MakeObject();
            entry.Set("hz", band.hz);
            entry.Set("label", band.label);
            entry.Set("db", band.db);
            bands.Append(std::move(entry));
        }
        probe.Set("bands", std::move(bands));
        probe.Set("z", result.z);
        probe.Set("a", result.a);
        CJsonValue sources = CJsonValue::MakeArray();
        for (const CBandModel::ProbeSource& source : result.sources)
        {
            CJsonValue entry = CJsonValue::MakeObject();
            entry.Set("position", source.position);
            entry.Set("module", ModuleNumberOf(source.position));
            entry.Set("distance_m", source.distanceM);
            entry.Set("delay_ms", source.delayMs);
            entry.Set("z", source.z);
            sources.Append(std::move(entry));
        }
        probe.Set("sources", std::move(sources));
        list.Append(std::move(probe));
    }
    return list;
}
