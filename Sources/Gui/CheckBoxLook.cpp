#include "Gui/CheckBoxLook.h"

#include "Gui/CheckBox.h"

CheckBoxLook::CheckBoxLook(const uint32_t (&textureIds)[6], uint32_t clickSoundId)
    : Look(6, 0, textureIds, nullptr), mClickSoundId(clickSoundId)
{
}

std::unique_ptr<LookRenderer> CheckBoxLook::createRenderer(Component* widget)
{
    return std::make_unique<CheckBoxRenderer>(this, widget);
}

ErrorCode CheckBoxRenderer::update()
{
    auto* box = dynamic_cast<CheckBox*>(mWidget);
    // The box is still being built when its renderer first updates.
    mTextureId = mLook->getTextureId(box != nullptr ? box->getTextureIndex() : 2);
    return 0;
}
