#include "Engine3DD3D/Engine2DLink.h"

bool findEngine2DDevice(Engine2DBase* engine2D, Platform::Gpu::Device** device, RenderStateCache** cache)
{
    (void)engine2D;
    *device = nullptr;
    *cache = nullptr;
    return false;
}
