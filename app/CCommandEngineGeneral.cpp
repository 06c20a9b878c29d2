#include "app/CCommandEngineGeneral.h"

#include "engine/CCommandTable.h"

CCommandEngineGeneral::CCommandEngineGeneral(const std::string& n, const CCommand& c) : name(n), command(c) {}

bool CCommandEngineGeneral::perform()
{
    return CCommandTable::Perform(command).WasDone();
}

bool CCommandEngineGeneral::undo()
{
    return true;
}
