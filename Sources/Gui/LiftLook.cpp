#include "Gui/LiftLook.h"

#include "Gui/Lift.h"

LiftLookBase::LiftLookBase(uint32_t textureCount, const uint32_t* textureIds,
                           const uint32_t (&buttonLooks)[4])
    : Look(textureCount, 0, textureIds, nullptr)
{
    for (uint32_t i = 0; i < 4; ++i)
        mButtonLooks[i] = buttonLooks[i];
}

std::unique_ptr<LookRenderer> LiftLookBase::createRenderer(Component* widget)
{
    return std::make_unique<LiftRenderer>(this, widget);
}

void LiftLookBase::setButtonPictureSize(uint32_t arrow, int32_t width, int32_t height)
{
    // An empty picture would make the arrow's length a division by zero.
    if (arrow >= 4 || width <= 0 || height <= 0)
        return;
    mPictureWidths[arrow] = width;
    mPictureHeights[arrow] = height;
}

ErrorCode LiftRenderer::update()
{
    auto* lift = dynamic_cast<Lift*>(mWidget);
    mLookState = lift != nullptr ? lift->getLookState() : 0;
    return 0;
}
