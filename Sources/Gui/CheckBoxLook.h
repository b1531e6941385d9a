#pragma once
// The look of check boxes: six skin textures (unchecked and checked, for
// pressed, released and rolled over) and the click sound id.
#include "Gui/Look.h"

class CheckBoxLook : public Look
{
public:
    // Texture ids in the order unchecked pressed, checked pressed, unchecked
    // released, checked released, unchecked rolled over, checked rolled over.
    CheckBoxLook(const uint32_t (&textureIds)[6], uint32_t clickSoundId);
    uint32_t getKind() override { return LOOK_KIND_CHECK_BOX; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override;
    uint32_t getValue() const override { return mClickSoundId; }

private:
    uint32_t mClickSoundId;
};

// Chooses the skin texture of the box's state at each update.
class CheckBoxRenderer final : public LookRenderer
{
public:
    using LookRenderer::LookRenderer;
    ErrorCode render() override { return 0; }
    ErrorCode update() override;
    // The skin texture id chosen by the last update.
    uint32_t getTextureId() const { return mTextureId; }

private:
    uint32_t mTextureId = 0;
};
