#pragma once
// A filled fraction (0 to 1) drawn as three skinned pieces (the ends keep
// their textures' aspect, the middle stretches) inside a framed container; a
// click inside reports the fraction under the cursor.
#include "Engine/Image2D.h"
#include "Gui/Container.h"
#include "Gui/ProgressionBarLook.h"

#include <array>
#include <memory>

class ProgressionBar : public Container
{
public:
    ProgressionBar(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t lookId);
    ~ProgressionBar() override;

    ErrorCode render() override;
    void updateLayout() override;
    void setRenderList(RenderList* list) override;
    void setColor(uint32_t argb) override;
    // With a callback set, a left press inside the inner area moves the bar to
    // the fraction under the cursor and calls back; the event is still
    // reported unhandled.
    uint32_t onMouseEvent(const MouseEvent& event) override;

    void setFraction(float fraction);
    float getFraction() const { return mFraction; }
    WidgetCallback& getClickCallback() { return mClickCallback; }
    // Where piece i (left, middle, right) is drawn.
    Rect getPieceRect(uint32_t piece) const { return mPieceRects[piece]; }
    uint32_t getPieceColor() const { return mPieceColor; }
    Image2D* getPieceImage(uint32_t piece) const { return mImages[piece].get(); }

private:
    std::array<std::unique_ptr<Image2D>, 3> mImages;
    std::array<Rect, 3> mPieceRects{};
    std::array<Texture*, 3> mTextures{};
    ProgressionBarLook* mLook;
    float mFraction = 0.0f;
    uint32_t mPieceColor = 0xFFFFFFFF;
    WidgetCallback mClickCallback;
};
