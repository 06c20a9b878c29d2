#include "app/CCommandEngineVenueArea.h"

#include "engine/CEngineManager.h"

CCommandEngineVenueArea::CCommandEngineVenueArea(const std::string& n, int venue, int area, const std::string& t,
                                                 double num, const std::string& v)
    : name(n), venueSlot(venue), areaSlot(area), target(t), number(num), value(v)
{
}

bool CCommandEngineVenueArea::perform()
{
    CEngineManager::GetInstance()->PerformAreaCommand(venueSlot, areaSlot, target, value);
    return true;
}

bool CCommandEngineVenueArea::undo()
{
    return true;
}
