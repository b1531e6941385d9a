#include "Gui/ProgressionBarLook.h"

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
    return resolver && piece < mTextureIds.size() ? resolver(mTextureIds[piece]) : nullptr;
}
