#include "app/CCommandEngineGeneral.h"

#include "engine/CEngineManager.h"

CCommandEngineGeneral::CCommandEngineGeneral(const std::string& n, const std::string& t, double num,
                                             const std::string& v)
    : name(n), target(t), number(num), value(v)
{
}

bool CCommandEngineGeneral::perform()
{
    CEngineManager::GetInstance()->PerformCommand(target, value, number);
    return true;
}

bool CCommandEngineGeneral::undo()
{
    return true;
}
