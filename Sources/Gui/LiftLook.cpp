#include "Gui/LiftLook.h"

#include "Gui/Lift.h"

#include <algorithm>

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

LiftRenderer::LiftRenderer(Look* look, Component* widget) : LookRenderer(look, widget)
{
    for (auto& piece : mPieces)
        piece = std::make_unique<Image>(0, 0, 0, 0, static_cast<Texture*>(nullptr));
}

ErrorCode LiftRenderer::render()
{
    for (auto& piece : mPieces)
    {
        if (!piece->isVisible())
            continue;
        if (ErrorCode code = piece->render())
            return code;
    }
    return 0;
}

void LiftRenderer::setRenderList(RenderList* list)
{
    for (auto& piece : mPieces)
        piece->setRenderList(list);
}

namespace
{
// Places a piece along the lift: from `from`, `length` long, across the
// whole lift.
void placePiece(Image& piece, const Lift& lift, int32_t from, int32_t length, uint32_t textureId)
{
    if (lift.isVertical())
    {
        piece.moveTo(lift.getX(), from, false);
        piece.resize(lift.getWidth(), length, false);
    }
    else
    {
        piece.moveTo(from, lift.getY(), false);
        piece.resize(length, lift.getHeight(), false);
    }
    piece.setVisible(length > 0);
    piece.setColor(lift.getColor());
    piece.setSkinTexture(textureId);
}

// Start, middle and end pieces over [from, from + length): the ends square,
// halved when they do not fit.
void placeThree(Image* const* pieces, const Lift& lift, int32_t from, int32_t length, const Look& look,
                uint32_t firstId)
{
    int32_t across = lift.isVertical() ? lift.getWidth() : lift.getHeight();
    int32_t end = std::min(across, length / 2);
    placePiece(*pieces[0], lift, from, end, look.getTextureId(firstId));
    placePiece(*pieces[1], lift, from + end, length - 2 * end, look.getTextureId(firstId + 1));
    placePiece(*pieces[2], lift, from + length - end, end, look.getTextureId(firstId + 2));
}
} // namespace

ErrorCode LiftRenderer::update()
{
    auto* lift = dynamic_cast<Lift*>(mWidget);
    auto* look = dynamic_cast<LiftLookBase*>(mLook);
    // The lift is still being built when its renderer first updates.
    if (lift == nullptr || look == nullptr)
        return 0;
    mLookState = lift->getLookState();
    // Texture groups by state: pressed, released, rolled over.
    uint32_t group = mLookState == LOOK_STATE_PRESSED ? 0 : mLookState == LOOK_STATE_ROLLED_OVER ? 2 : 1;
    int32_t track = lift->getTrackEnd() - lift->getTrackStart();
    Image* pieces[6];
    for (size_t i = 0; i < 6; ++i)
        pieces[i] = mPieces[i].get();
    if (look->hasThreePieceCarret())
    {
        uint32_t base = lift->isVertical() ? 0 : 12;
        placeThree(pieces, *lift, lift->getTrackStart(), track, *look, base);
        placeThree(pieces + 3, *lift, lift->getCarretPosition(), lift->getCarretLength(), *look,
                   base + 3 + 3 * group);
    }
    else
    {
        uint32_t base = lift->isVertical() ? 4 : 0;
        placePiece(*pieces[0], *lift, lift->getTrackStart(), track, look->getTextureId(base));
        placePiece(*pieces[3], *lift, lift->getCarretPosition(), lift->getCarretLength(),
                   look->getTextureId(base + 1 + group));
        for (size_t i : {1, 2, 4, 5})
            pieces[i]->setVisible(false);
    }
    return 0;
}
