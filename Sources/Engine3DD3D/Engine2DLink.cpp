#include "Engine3DD3D/Engine2DLink.h"

#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine2DD3D/TextureD3D.h"
#include "Framework/ApplicationGeneric.h"

bool findEngine2DDevice(Engine2DBase* engine2D, Platform::Gpu::Device** device, RenderStateCache** cache)
{
    auto* engine = dynamic_cast<Engine2DD3D*>(engine2D);
    if (engine == nullptr || engine->getDevice() == nullptr)
    {
        *device = nullptr;
        *cache = nullptr;
        return false;
    }
    *device = engine->getDevice();
    *cache = &engine->getStateCache();
    return true;
}

Resource* loadModelTexture(Engine2DBase* engine2D, const std::string& path)
{
    ApplicationGeneric* application = getApplication();
    if (engine2D == nullptr && application != nullptr)
        engine2D = application->getEngine2D();
    auto* engine = dynamic_cast<Engine2D*>(engine2D);
    return engine != nullptr ? engine->getTextureByName(path, Texture::FLAG_MIPMAPS) : nullptr;
}

Platform::Gpu::Texture* deviceTextureOf(Resource* texture)
{
    auto* own = dynamic_cast<TextureD3D*>(texture);
    return own != nullptr ? own->getD3DTexture() : nullptr;
}
