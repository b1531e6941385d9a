#pragma once
// The looks of lifts: the scroll bar look (24 skin textures: background and
// carret pieces for both orientations and three states) and the volume
// slider look (8 textures). Both name the looks of the four arrow buttons
// (up, left, right, down) and keep the size of each arrow's picture, whose
// aspect the buttons keep along the lift.
#include "Gui/Image.h"
#include "Gui/Look.h"

#include <array>
#include <memory>

enum LiftArrow : uint32_t
{
    LIFT_ARROW_UP = 0,
    LIFT_ARROW_LEFT = 1,
    LIFT_ARROW_RIGHT = 2,
    LIFT_ARROW_DOWN = 3
};

class LiftLookBase : public Look
{
public:
    LiftLookBase(uint32_t textureCount, const uint32_t* textureIds, const uint32_t (&buttonLooks)[4]);
    uint32_t getKind() override { return LOOK_KIND_LIFT; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override;

    uint32_t getButtonLook(uint32_t arrow) const { return arrow < 4 ? mButtonLooks[arrow] : 0; }
    void setButtonPictureSize(uint32_t arrow, int32_t width, int32_t height);
    int32_t getButtonPictureWidth(uint32_t arrow) const { return arrow < 4 ? mPictureWidths[arrow] : 32; }
    int32_t getButtonPictureHeight(uint32_t arrow) const { return arrow < 4 ? mPictureHeights[arrow] : 32; }
    // Whether the carret is drawn in three pieces (end, middle, end).
    virtual bool hasThreePieceCarret() const = 0;

private:
    std::array<uint32_t, 4> mButtonLooks;
    std::array<int32_t, 4> mPictureWidths{32, 32, 32, 32};
    std::array<int32_t, 4> mPictureHeights{32, 32, 32, 32};
};

class LiftLook final : public LiftLookBase
{
public:
    // Vertical lifts first, then horizontal ones, twelve each: background
    // start, middle, end; then carret start, middle, end for pressed,
    // released and rolled over.
    LiftLook(const uint32_t (&textureIds)[24], const uint32_t (&buttonLooks)[4])
        : LiftLookBase(24, textureIds, buttonLooks)
    {
    }
    bool hasThreePieceCarret() const override { return true; }
};

class LiftSoundLook final : public LiftLookBase
{
public:
    // Horizontal background, carret pressed, released, rolled over; then the
    // same for vertical sliders.
    LiftSoundLook(const uint32_t (&textureIds)[8], const uint32_t (&buttonLooks)[4])
        : LiftLookBase(8, textureIds, buttonLooks)
    {
    }
    bool hasThreePieceCarret() const override { return false; }
};

// Draws the track's background and the carret of the lift's look state,
// each in three pieces (square ends, stretched middle) for the scroll bar
// look, in one for the slider look.
class LiftRenderer final : public LookRenderer
{
public:
    LiftRenderer(Look* look, Component* widget);
    ErrorCode render() override;
    ErrorCode update() override;
    void setRenderList(RenderList* list) override;
    uint32_t getLookState() const { return mLookState; }
    // Background pieces 0-2, carret pieces 3-5.
    Image* getPiece(uint32_t index) const { return index < mPieces.size() ? mPieces[index].get() : nullptr; }

private:
    uint32_t mLookState = 0;
    std::array<std::unique_ptr<Image>, 6> mPieces;
};
