#include "Engine/Engine2D.h"

#include <map>

namespace
{
std::map<uint32_t, Engine2D::Creator>& creators()
{
    static std::map<uint32_t, Engine2D::Creator> table;
    return table;
}
} // namespace

std::unique_ptr<Engine2D> Engine2D::create(uint32_t kind)
{
    auto found = creators().find(kind);
    return found != creators().end() && found->second ? found->second() : nullptr;
}

void Engine2D::registerKind(uint32_t kind, Creator creator)
{
    creators()[kind] = std::move(creator);
}

Engine2D::~Engine2D()
{
    // Textures still held by someone outlive the engine: they leave its list
    // so that their own end does not touch a list that is gone.
    while (!mTextures.empty())
        mTextures.front()->detachFromList();
}

void Engine2D::releaseTexture(Texture* texture)
{
    if (texture != nullptr)
        texture->release();
}

Texture* Engine2D::findTextureByName(const std::string& name) const
{
    for (Resource* resource : mTextures)
    {
        if (resource->getSource() == Resource::SOURCE_FILE && resource->getName() == name)
            return dynamic_cast<Texture*>(resource);
    }
    return nullptr;
}

Texture* Engine2D::findTextureByResourceId(uint32_t resourceId) const
{
    for (Resource* resource : mTextures)
    {
        if (resource->getSource() == Resource::SOURCE_RESOURCE && resource->getResourceId() == resourceId)
            return dynamic_cast<Texture*>(resource);
    }
    return nullptr;
}
