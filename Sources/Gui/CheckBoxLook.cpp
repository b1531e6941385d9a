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

CheckBoxRenderer::CheckBoxRenderer(Look* look, Component* widget)
    : LookRenderer(look, widget),
      mImage(std::make_unique<Image>(widget->getX(), widget->getY(), widget->getWidth(), widget->getHeight(),
                                     look->getTextureId(2)))
{
}

ErrorCode CheckBoxRenderer::update()
{
    auto* box = dynamic_cast<CheckBox*>(mWidget);
    // The box is still being built when its renderer first updates.
    mTextureId = mLook->getTextureId(box != nullptr ? box->getTextureIndex() : 2);
    mImage->moveTo(mWidget->getX(), mWidget->getY(), false);
    mImage->resize(mWidget->getWidth(), mWidget->getHeight(), false);
    mImage->setColor(mWidget->getColor());
    mImage->setSkinTexture(mTextureId);
    mImage->updateLayout();
    return 0;
}
