#pragma once
// The look of a progression bar: the skin textures of its left end, middle
// and right end, the look of its frame container, and an optional colour
// ramp that tints the pieces by the shown fraction.
#include "Engine/Texture.h"
#include "Gui/ColorRamp.h"
#include "Gui/Look.h"

#include <functional>

class ProgressionBarLook : public Look
{
public:
    enum Piece : uint32_t
    {
        PIECE_LEFT = 0,
        PIECE_MIDDLE = 1,
        PIECE_RIGHT = 2
    };
    using TextureResolver = std::function<Texture*(uint32_t skinTextureId)>;

    ProgressionBarLook(uint32_t leftTexture, uint32_t middleTexture, uint32_t rightTexture,
                       uint32_t frameLookId);

    uint32_t getKind() override { return LOOK_KIND_PROGRESS_BAR; }
    // The bar draws its own pieces; the frame is its container look's.
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override
    {
        return std::make_unique<EmptyRenderer>(this, widget);
    }

    // Replaces the current skin's lookup of the pieces' textures (tests).
    static void setTextureResolver(TextureResolver resolver);
    // The current skin's texture of a piece, or null.
    Texture* getPieceTexture(uint32_t piece) const;

    uint32_t getFrameLookId() const { return mFrameLookId; }
    ColorRamp& getColorRamp() { return mRamp; }
    const ColorRamp& getColorRamp() const { return mRamp; }

private:
    uint32_t mFrameLookId;
    ColorRamp mRamp;
};
