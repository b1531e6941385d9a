#include "Engine3DD3D/Engine2DLink.h"

#include "Engine/Engine2D.h"
#include "Framework/ApplicationGeneric.h"

bool findEngine2DDevice(Engine2DBase* engine2D, Platform::Gpu::Device** device, RenderStateCache** cache)
{
    (void)engine2D;
    *device = nullptr;
    *cache = nullptr;
    return false;
}

Resource* loadModelTexture(const std::string& path)
{
    ApplicationGeneric* application = getApplication();
    auto* engine2D = application != nullptr ? dynamic_cast<Engine2D*>(application->getEngine2D()) : nullptr;
    return engine2D != nullptr ? engine2D->getTextureByName(path, Texture::FLAG_MIPMAPS) : nullptr;
}

Platform::Gpu::Texture* deviceTextureOf(Resource* texture)
{
    (void)texture;
    return nullptr;
}
