#include "Gui/Look.h"

#include "Engine/Engine2D.h"
#include "Framework/ApplicationGeneric.h"
#include "Gui/Container.h"
#include "Gui/Dialog.h"
#include "Gui/Skin.h"
#include "Gui/Text.h"

#include <algorithm>

Look::Look(uint32_t textureCount, uint32_t colorCount, const uint32_t* textureIds, const uint32_t* colorIds)
    : mTextureIds(textureCount, 0), mColorIds(colorCount, 0)
{
    if (textureIds != nullptr)
        mTextureIds.assign(textureIds, textureIds + textureCount);
    if (colorIds != nullptr)
        mColorIds.assign(colorIds, colorIds + colorCount);
}

LookTable::LookTable() : mLooks(13)
{
    mLooks[LOOK_TEXT] = std::make_unique<TextLook>(0);
    mLooks[LOOK_VALUE] = std::make_unique<ValueLook>(0);
    mLooks[LOOK_EMPTY] = std::make_unique<EmptyLook>();
    mLooks[LOOK_LIST] = std::make_unique<ListLook>();
    mLooks[LOOK_DIALOG] = std::make_unique<DialogLook>();
}

void LookTable::setLook(uint32_t id, std::unique_ptr<Look> look)
{
    if (id >= mLooks.size())
        mLooks.resize(id + 1);
    mLooks[id] = std::move(look);
}

void LookTable::resize(uint32_t count)
{
    if (count > mLooks.size())
        mLooks.resize(count);
}

Look* findLook(uint32_t id)
{
    ApplicationGeneric* application = getApplication();
    if (application == nullptr)
        return nullptr;
    LookTable* table = dynamic_cast<LookTable*>(application->getService(SERVICE_LOOK_TABLE));
    return table != nullptr ? table->getLook(id) : nullptr;
}

uint32_t multiplyColors(uint32_t a, uint32_t b)
{
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        const uint32_t product = ((a >> shift) & 0xFF) * ((b >> shift) & 0xFF) / 255;
        result |= product << shift;
    }
    return result;
}

namespace
{
// Makes the image on first use and fits it to the rectangle; a tiled image
// whose texture cannot repeat is stretched instead.
ErrorCode fitImage(std::unique_ptr<Image2D>& image, Texture* texture, int32_t x, int32_t y, int32_t width,
                   int32_t height, uint32_t mode, uint32_t color, RenderList* list)
{
    const float w = static_cast<float>(std::max(width, 0));
    const float h = static_cast<float>(std::max(height, 0));
    if (!image)
    {
        Engine2D* engine = findEngine2D();
        if (engine == nullptr)
            return 0;
        image = engine->createImage(static_cast<float>(x), static_cast<float>(y), nullptr,
                                    Image2D::SIZE_STRETCHED, w, h, color, list);
        if (!image)
            return 0;
    }
    image->setRenderList(list);
    if (mode == Image2D::SIZE_TILED)
    {
        // The size first, so that a texture that cannot repeat is not
        // refused by the mode it would leave.
        image->setSize(w, h, Image2D::SIZE_STRETCHED);
        if (ErrorCode code = image->setTexture(texture))
            return code;
        if (image->setSize(w, h, Image2D::SIZE_TILED) != 0)
            image->setSize(w, h, Image2D::SIZE_STRETCHED);
    }
    else
    {
        if (ErrorCode code = image->setTexture(texture))
            return code;
        image->setSize(w, h, mode);
    }
    image->setPosition(static_cast<float>(x), static_cast<float>(y));
    image->setColor(color);
    return 0;
}

ErrorCode drawImage(const std::unique_ptr<Image2D>& image)
{
    return image && image->getTexture() != nullptr ? image->draw() : 0;
}

class SingleTextureRenderer final : public LookRenderer
{
public:
    using LookRenderer::LookRenderer;
    ErrorCode render() override { return drawImage(mImage); }
    ErrorCode update() override
    {
        return fitImage(mImage, findSkinTexture(mLook->getTextureId(0)), mWidget->getX(), mWidget->getY(),
                        mWidget->getWidth(), mWidget->getHeight(), Image2D::SIZE_STRETCHED,
                        mWidget->getColor(), mWidget->getRenderList());
    }
    void setRenderList(RenderList* list) override
    {
        if (mImage)
            mImage->setRenderList(list);
    }

private:
    std::unique_ptr<Image2D> mImage;
};

class ContainerRenderer final : public LookRenderer
{
public:
    ContainerRenderer(ContainerLook* look, Component* widget)
        : LookRenderer(look, widget), mContainerLook(look)
    {
    }

    ErrorCode render() override
    {
        for (const auto& image : mImages)
        {
            if (ErrorCode code = drawImage(image))
                return code;
        }
        return 0;
    }

    ErrorCode update() override
    {
        auto* container = dynamic_cast<Container*>(mWidget);
        const Margins m = container != nullptr ? container->getMargins() : mContainerLook->getMargins();
        const int32_t x = mWidget->getX();
        const int32_t y = mWidget->getY();
        const int32_t w = mWidget->getWidth();
        const int32_t h = mWidget->getHeight();
        const int32_t innerW = w - m.left - m.right;
        const int32_t innerH = h - m.top - m.bottom;
        const Rect rects[9] = {{x, y + m.top, m.left, innerH},                         // border left
                               {x + w - m.right, y + m.top, m.right, innerH},          // border right
                               {x + m.left, y, innerW, m.top},                         // border top
                               {x + m.left, y + h - m.bottom, innerW, m.bottom},       // border bottom
                               {x, y, m.left, m.top},                                  // corner top-left
                               {x + w - m.right, y, m.right, m.top},                   // corner top-right
                               {x, y + h - m.bottom, m.left, m.bottom},                // corner bottom-left
                               {x + w - m.right, y + h - m.bottom, m.right, m.bottom}, // corner bottom-right
                               {x + m.left, y + m.top, innerW, innerH}};               // background
        ErrorCode first = 0;
        for (uint32_t i = 0; i < 9; ++i)
        {
            const uint32_t mode =
                i == 8 && mContainerLook->isTiled() ? Image2D::SIZE_TILED : Image2D::SIZE_STRETCHED;
            ErrorCode code = fitImage(mImages[i], findSkinTexture(mLook->getTextureId(i)), rects[i].x,
                                      rects[i].y, rects[i].width, rects[i].height, mode, mWidget->getColor(),
                                      mWidget->getRenderList());
            if (first == 0)
                first = code;
        }
        return first;
    }

    void setRenderList(RenderList* list) override
    {
        for (const auto& image : mImages)
        {
            if (image)
                image->setRenderList(list);
        }
    }

private:
    ContainerLook* mContainerLook;
    std::array<std::unique_ptr<Image2D>, 9> mImages;
};

class ValueRenderer final : public ButtonRenderer
{
public:
    ValueRenderer(ValueLook* look, Component* widget) : ButtonRenderer(look, widget), mValueLook(look) {}
    ErrorCode render() override { return drawImage(mImage); }
    ErrorCode update() override
    {
        return fitImage(mImage, mValueLook->getStateTexture(lookState()), mWidget->getX(), mWidget->getY(),
                        mWidget->getWidth(), mWidget->getHeight(), Image2D::SIZE_STRETCHED,
                        mWidget->getColor(), mWidget->getRenderList());
    }
    void setRenderList(RenderList* list) override
    {
        if (mImage)
            mImage->setRenderList(list);
    }

private:
    ValueLook* mValueLook;
    std::unique_ptr<Image2D> mImage;
};

class TextRenderer final : public ButtonRenderer
{
public:
    using ButtonRenderer::ButtonRenderer;
    ErrorCode render() override { return 0; }
    ErrorCode update() override { return 0; }
};

// The caption of a button coloured by look state, over a copy of it in the
// shadow colour, offset by (dx, dy).
class CaptionShadow
{
public:
    CaptionShadow(int32_t dx, int32_t dy) : mDx(dx), mDy(dy) {}

    void update(Look* look, Component* widget, Text2D* caption, uint32_t state)
    {
        if (caption == nullptr)
            return;
        const uint32_t shadowColor = findSkinColor(look->getColorId(BUTTON_COLOR_SHADOW));
        const int32_t x = caption->getX() + mDx;
        const int32_t y = caption->getY() + mDy;
        if (!mShadow && caption->getFont() != nullptr)
        {
            mShadow = caption->getFont()->createText(
                x, y, caption->getWidth(), caption->getText(), shadowColor, caption->getSize(),
                caption->getFlags() & (TEXT_ALIGN_MASK | TEXT_WORD_WRAP));
            if (mShadow)
                mShadow->setRenderList(mRenderList);
        }
        if (mShadow)
        {
            mShadow->setWidth(caption->getWidth());
            mShadow->setPosition(x, y);
            mShadow->setText(caption->getText(), true);
            mShadow->setAlignment(caption->getAlignment());
            mShadow->setWordWrap(caption->isWordWrap());
            mShadow->setColor(shadowColor);
        }
        caption->setColor(multiplyColors(widget->getColor(), findSkinColor(look->getColorId(state))));
    }

    ErrorCode render() { return mShadow ? mShadow->render() : 0; }

    void setRenderList(RenderList* list)
    {
        mRenderList = list;
        if (mShadow)
            mShadow->setRenderList(list);
    }
    Text2D* getShadow() const { return mShadow.get(); }

private:
    int32_t mDx;
    int32_t mDy;
    RenderList* mRenderList = nullptr;
    std::unique_ptr<Text2D> mShadow;
};

class TextButtonRenderer final : public ButtonRenderer
{
public:
    TextButtonRenderer(TextButtonLook* look, Component* widget)
        : ButtonRenderer(look, widget), mShadow(look->getShadowDx(), look->getShadowDy())
    {
    }
    // The button draws its caption after this, over the shadow.
    ErrorCode render() override { return mShadow.render(); }
    ErrorCode update() override
    {
        mShadow.update(mLook, mWidget, caption(), lookState());
        return 0;
    }
    void setRenderList(RenderList* list) override { mShadow.setRenderList(list); }

private:
    CaptionShadow mShadow;
};

class ButtonLookRenderer final : public ButtonRenderer
{
public:
    ButtonLookRenderer(ButtonLook* look, Component* widget)
        : ButtonRenderer(look, widget), mShadow(look->getShadowDx(), look->getShadowDy())
    {
    }
    ErrorCode render() override
    {
        if (ErrorCode code = drawImage(mImage))
            return code;
        if (hasCaptionColors() && (findSkinColor(mLook->getColorId(BUTTON_COLOR_SHADOW)) >> 24) != 0)
            return mShadow.render();
        return 0;
    }
    ErrorCode update() override
    {
        const uint32_t state = lookState();
        ErrorCode code = fitImage(mImage, findSkinTexture(mLook->getTextureId(state)), mWidget->getX(),
                                  mWidget->getY(), mWidget->getWidth(), mWidget->getHeight(),
                                  Image2D::SIZE_STRETCHED, mWidget->getColor(), mWidget->getRenderList());
        if (hasCaptionColors())
            mShadow.update(mLook, mWidget, caption(), state);
        return code;
    }
    Texture* getFaceTexture() override { return findSkinTexture(mLook->getTextureId(LOOK_STATE_RELEASED)); }
    void setRenderList(RenderList* list) override
    {
        if (mImage)
            mImage->setRenderList(list);
        mShadow.setRenderList(list);
    }

private:
    bool hasCaptionColors() const { return mLook->getColorCount() == BUTTON_COLOR_COUNT; }

    std::unique_ptr<Image2D> mImage;
    CaptionShadow mShadow;
};
} // namespace

uint32_t ButtonRenderer::lookState()
{
    auto* source = dynamic_cast<LookStateSource*>(mWidget);
    const uint32_t state = source != nullptr ? source->getLookState() : LOOK_STATE_RELEASED;
    return state <= LOOK_STATE_DISABLED ? state : LOOK_STATE_RELEASED;
}

Text2D* ButtonRenderer::caption()
{
    auto* source = dynamic_cast<LookStateSource*>(mWidget);
    return source != nullptr ? source->getCaption() : nullptr;
}

std::unique_ptr<LookRenderer> SingleTextureLook::createRenderer(Component* widget)
{
    return std::make_unique<SingleTextureRenderer>(this, widget);
}

std::unique_ptr<LookRenderer> ContainerLook::createRenderer(Component* widget)
{
    return std::make_unique<ContainerRenderer>(this, widget);
}

std::unique_ptr<LookRenderer> ValueLook::createRenderer(Component* widget)
{
    return std::make_unique<ValueRenderer>(this, widget);
}

void ValueLook::setStateTexture(uint32_t state, Texture* texture)
{
    if (state < mStateTextures.size())
        mStateTextures[state] = texture;
}

std::unique_ptr<LookRenderer> TextLook::createRenderer(Component* widget)
{
    return std::make_unique<TextRenderer>(this, widget);
}

namespace
{
// Ids kept in look-state order, whatever order the constructors take them in.
std::array<uint32_t, 4> stateOrder(uint32_t pressed, uint32_t released, uint32_t rolledOver,
                                   uint32_t disabled)
{
    std::array<uint32_t, 4> ids{};
    ids[LOOK_STATE_RELEASED] = released;
    ids[LOOK_STATE_PRESSED] = pressed;
    ids[LOOK_STATE_ROLLED_OVER] = rolledOver;
    ids[LOOK_STATE_DISABLED] = disabled;
    return ids;
}

std::array<uint32_t, 5> textButtonColors(uint32_t pressed, uint32_t released, uint32_t rolledOver,
                                         uint32_t shadow, uint32_t disabled)
{
    std::array<uint32_t, 4> states = stateOrder(pressed, released, rolledOver, disabled);
    return {states[0], states[1], states[2], states[3], shadow};
}
} // namespace

ButtonLook::ButtonLook(uint32_t pressed, uint32_t released, uint32_t rolledOver, uint32_t disabled,
                       uint32_t clickSound, const uint32_t* colorIds)
    : ButtonLookBase(4, colorIds != nullptr ? uint32_t{BUTTON_COLOR_COUNT} : 0u,
                     stateOrder(pressed, released, rolledOver, disabled).data(), colorIds, clickSound)
{
}

std::unique_ptr<LookRenderer> ButtonLook::createRenderer(Component* widget)
{
    return std::make_unique<ButtonLookRenderer>(this, widget);
}

TextButtonLook::TextButtonLook(uint32_t pressed, uint32_t released, uint32_t rolledOver, uint32_t shadow,
                               uint32_t disabled, uint32_t clickSound, int32_t shadowDx, int32_t shadowDy)
    : ButtonLookBase(0, BUTTON_COLOR_COUNT, nullptr,
                     textButtonColors(pressed, released, rolledOver, shadow, disabled).data(), clickSound),
      mShadowDx(shadowDx), mShadowDy(shadowDy)
{
}

std::unique_ptr<LookRenderer> TextButtonLook::createRenderer(Component* widget)
{
    return std::make_unique<TextButtonRenderer>(this, widget);
}
