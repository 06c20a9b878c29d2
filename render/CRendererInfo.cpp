#include "render/CRendererInfo.h"

void CRendererInfo::Render()
{
    SetupTransform();
}
