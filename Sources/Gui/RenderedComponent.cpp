#include "Gui/RenderedComponent.h"

#include "Engine/Texture.h"

void RenderedComponent::releaseRenderTexture()
{
    if (mRenderTexture == nullptr)
        return;
    // Unbound first: the image gives back its load, then the reference goes.
    setTexture(nullptr);
    mRenderTexture->release();
    mRenderTexture = nullptr;
}
