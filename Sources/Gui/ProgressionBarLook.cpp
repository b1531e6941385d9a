#include "Gui/ProgressionBarLook.h"

#include "Gui/Skin.h"

namespace
{

ProgressionBarLook::TextureResolver& textureResolver()
{
    static ProgressionBarLook::TextureResolver resolver;
    return resolver;
}

} // namespace

ProgressionBarLook::ProgressionBarLook(uint32_t leftTexture, uint32_t middleTexture, uint32_t rightTexture,
                                       uint32_t frameLookId)
    : Look(0, 0, nullptr, nullptr), mFrameLookId(frameLookId)
{
    mTextureIds = {leftTexture, middleTexture, rightTexture};
}

void ProgressionBarLook::setTextureResolver(TextureResolver resolver)
{
    textureResolver() = std::move(resolver);
}

Texture* ProgressionBarLook::getPieceTexture(uint32_t piece) const
{
    const TextureResolver& resolver = textureResolver();
    if (piece >= mTextureIds.size())
        return nullptr;
    return resolver ? resolver(mTextureIds[piece]) : findSkinTexture(mTextureIds[piece]);
}
