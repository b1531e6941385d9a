#pragma once
// The look of check boxes: six skin textures (unchecked and checked, for
// pressed, released and rolled over) and the click sound id.
#include "Gui/Image.h"
#include "Gui/Look.h"

#include <memory>

class CheckBoxLook : public Look
{
public:
    // Texture ids in the order unchecked pressed, checked pressed, unchecked
    // released, checked released, unchecked rolled over, checked rolled over.
    CheckBoxLook(const uint32_t (&textureIds)[6], uint32_t clickSoundId);
    uint32_t getKind() override { return LOOK_KIND_CHECK_BOX; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override;
    uint32_t getValue() override { return mClickSoundId; }

private:
    uint32_t mClickSoundId;
};

// One image over the box with the skin texture of the box's state.
class CheckBoxRenderer final : public LookRenderer
{
public:
    CheckBoxRenderer(Look* look, Component* widget);
    ErrorCode render() override { return mImage->render(); }
    ErrorCode update() override;
    void setRenderList(RenderList* list) override { mImage->setRenderList(list); }
    // The skin texture id chosen by the last update.
    uint32_t getTextureId() const { return mTextureId; }

private:
    uint32_t mTextureId = 0;
    std::unique_ptr<Image> mImage;
};
