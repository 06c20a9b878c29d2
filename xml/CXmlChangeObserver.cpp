#include "xml/CXmlChangeObserver.h"

namespace
{
CXmlChangeObserver* installed = nullptr;
}

void CXmlChangeObserver::Install(CXmlChangeObserver* observer)
{
    installed = observer;
}

void CXmlChangeObserver::Uninstall(CXmlChangeObserver* observer)
{
    if (installed == observer)
        installed = nullptr;
}

CXmlChangeObserver* CXmlChangeObserver::Get()
{
    return installed;
}
