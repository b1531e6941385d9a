#pragma once
// How widgets are drawn: a look, fetched by id from the look table (service 5),
// holds skin texture and colour ids and makes one renderer per widget. Widgets
// ask their renderer to draw; they never draw textures themselves.
#include "Framework/AppService.h"
#include "Gui/GuiTypes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class Component;
class Image2D;
class Look;
class Text2D;
class Texture;

class LookRenderer
{
public:
    LookRenderer(Look* look, Component* widget) : mLook(look), mWidget(widget) {}
    virtual ~LookRenderer() = default;
    LookRenderer(const LookRenderer&) = delete;
    LookRenderer& operator=(const LookRenderer&) = delete;

    virtual ErrorCode render() = 0;
    // Re-fits the renderer's images to the widget's rectangle and colour.
    virtual ErrorCode update() = 0;
    virtual uint32_t hook() { return 0; }
    virtual void setRenderList(RenderList*) {}

protected:
    Look* mLook;
    Component* mWidget;
};

// Draws nothing.
class EmptyRenderer final : public LookRenderer
{
public:
    using LookRenderer::LookRenderer;
    ErrorCode render() override { return 0; }
    ErrorCode update() override { return 0; }
};

enum LookKind : uint32_t
{
    LOOK_KIND_CONTAINER = 0,
    LOOK_KIND_BUTTON = 1,
    LOOK_KIND_LIFT = 2,
    LOOK_KIND_CHECK_BOX = 3,
    LOOK_KIND_VIDEO_CONTROLLER = 4,
    LOOK_KIND_PROGRESS_BAR = 5,
    LOOK_KIND_DIALOG = 6,
    LOOK_KIND_LIST = 7
};

// Look states of a button: what its look draws.
enum LookState : uint32_t
{
    LOOK_STATE_RELEASED = 0,
    LOOK_STATE_PRESSED = 1,
    LOOK_STATE_ROLLED_OVER = 2,
    LOOK_STATE_DISABLED = 3
};

class Look
{
public:
    Look(uint32_t textureCount, uint32_t colorCount, const uint32_t* textureIds, const uint32_t* colorIds);
    virtual ~Look() = default;
    Look(const Look&) = delete;
    Look& operator=(const Look&) = delete;

    virtual uint32_t getKind() = 0;
    virtual std::unique_ptr<LookRenderer> createRenderer(Component* widget) = 0;
    // The all-zero record unless the look has margins of its own.
    virtual Margins getMargins() { return {}; }
    // The one value some looks keep beside their ids: a button's or a check
    // box's click sound id.
    virtual uint32_t getValue() { return 0; }

    uint32_t getTextureId(uint32_t index) const
    {
        return index < mTextureIds.size() ? mTextureIds[index] : 0;
    }
    uint32_t getColorId(uint32_t index) const { return index < mColorIds.size() ? mColorIds[index] : 0; }
    uint32_t getTextureCount() const { return static_cast<uint32_t>(mTextureIds.size()); }
    uint32_t getColorCount() const { return static_cast<uint32_t>(mColorIds.size()); }

protected:
    std::vector<uint32_t> mTextureIds;
    std::vector<uint32_t> mColorIds;
};

// A container look that draws nothing (look 8: the GUI root and full-screen
// layers).
class EmptyLook final : public Look
{
public:
    EmptyLook() : Look(0, 0, nullptr, nullptr) {}
    uint32_t getKind() override { return LOOK_KIND_CONTAINER; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override
    {
        return std::make_unique<EmptyRenderer>(this, widget);
    }
};

// One image covering the widget with a skin texture, tinted with the
// widget's colour.
class SingleTextureLook final : public Look
{
public:
    explicit SingleTextureLook(uint32_t textureId) : Look(1, 0, &textureId, nullptr) {}
    uint32_t getKind() override { return LOOK_KIND_CONTAINER; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override;
};

// A frame of nine skin textures: four borders, four corners and the
// background, fitted to the container's margins.
class ContainerLook final : public Look
{
public:
    // Texture ids: border left, right, top, bottom; corner top-left,
    // top-right, bottom-left, bottom-right; background. With tile the
    // background repeats instead of stretching.
    ContainerLook(const uint32_t textureIds[9], const Margins& margins, bool tile)
        : Look(9, 0, textureIds, nullptr), mMargins(margins), mTile(tile)
    {
    }
    uint32_t getKind() override { return LOOK_KIND_CONTAINER; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override;
    Margins getMargins() override { return mMargins; }
    bool isTiled() const { return mTile; }

private:
    Margins mMargins;
    bool mTile;
};

// What the button looks read of the widget they draw. The buttons of the
// widget set implement it; a widget without it is drawn released and
// without caption.
class LookStateSource
{
public:
    virtual ~LookStateSource() = default;
    // LOOK_STATE_...
    virtual uint32_t getLookState() = 0;
    // The caption the look colours and shadows; null for none.
    virtual Text2D* getCaption() const { return nullptr; }
};

// The renderer base of the button and text looks (kind 1).
class ButtonRenderer : public LookRenderer
{
public:
    using LookRenderer::LookRenderer;
    // The button's frame step ends with it.
    virtual void animate() {}
    // The texture that stands for the look (none by default).
    virtual Texture* getFaceTexture() { return nullptr; }

protected:
    uint32_t lookState();
    Text2D* caption();
};

// The base of the button and text looks (kind 1); no margins.
class ButtonLookBase : public Look
{
public:
    ButtonLookBase(uint32_t textureCount, uint32_t colorCount, const uint32_t* textureIds,
                   const uint32_t* colorIds, uint32_t value)
        : Look(textureCount, colorCount, textureIds, colorIds), mValue(value)
    {
    }
    uint32_t getKind() final { return LOOK_KIND_BUTTON; }
    Margins getMargins() final { return {}; }
    uint32_t getValue() override { return mValue; }

protected:
    uint32_t mValue;
};

// One image covering the widget that takes the texture of the widget's look
// state from four slots (empty until filled).
class ValueLook final : public ButtonLookBase
{
public:
    explicit ValueLook(uint32_t value) : ButtonLookBase(0, 0, nullptr, nullptr, value) {}
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override;
    void setStateTexture(uint32_t state, Texture* texture);
    Texture* getStateTexture(uint32_t state) const { return state < 4 ? mStateTextures[state] : nullptr; }

private:
    std::array<Texture*, 4> mStateTextures{};
};

// Colours of a button's caption: ids in look-state order, the shadow's last.
enum ButtonColorSlot : uint32_t
{
    BUTTON_COLOR_SHADOW = 4,
    BUTTON_COLOR_COUNT = 5
};

// A picture button: one skin texture per look state; with colour ids, the
// caption is coloured by state and shadowed.
class ButtonLook : public ButtonLookBase
{
public:
    // colorIds: released, pressed, rolled over, disabled, shadow; or null.
    ButtonLook(uint32_t pressed, uint32_t released, uint32_t rolledOver, uint32_t disabled,
               uint32_t clickSound, const uint32_t* colorIds = nullptr);
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override;
    int32_t getShadowDx() const { return 1; }
    int32_t getShadowDy() const { return 1; }
};

// A caption-only button: the caption coloured by state over its shadow.
class TextButtonLook : public ButtonLookBase
{
public:
    TextButtonLook(uint32_t pressed, uint32_t released, uint32_t rolledOver, uint32_t shadow,
                   uint32_t disabled, uint32_t clickSound, int32_t shadowDx, int32_t shadowDy);
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override;
    int32_t getShadowDx() const { return mShadowDx; }
    int32_t getShadowDy() const { return mShadowDy; }

private:
    int32_t mShadowDx;
    int32_t mShadowDy;
};

// Plain text: widgets read the colour id; the renderer draws nothing.
class TextLook final : public ButtonLookBase
{
public:
    explicit TextLook(uint32_t colorId) : ButtonLookBase(0, 1, nullptr, &colorId, 0) {}
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override;
};

// The lists' default look: what their content and lift are drawn with.
class ListLook final : public Look
{
public:
    ListLook() : Look(0, 0, nullptr, nullptr) {}
    uint32_t getKind() override { return LOOK_KIND_LIST; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override
    {
        return std::make_unique<EmptyRenderer>(this, widget);
    }

    uint32_t contentLook = 9;
    uint32_t liftLook = 12;
    int32_t liftWidth = 32;
    int32_t extraSize = 32;
    int32_t scrollStep = 10;
};

// Each channel of a times b, over 255.
uint32_t multiplyColors(uint32_t a, uint32_t b);

enum LookId : uint32_t
{
    LOOK_TEXT = 1,
    LOOK_VALUE = 2,
    LOOK_EMPTY = 8,
    LOOK_DIALOG = 10,
    // The default list look (combo boxes' and lists' content and lift).
    LOOK_COMBO_BOX = 11,
    LOOK_LIST = 11
};

// Application service 5: the looks by id; the table owns them.
class LookTable : public AppService
{
public:
    // Thirteen entries; the text look at 1, the value look at 2, the empty
    // look at 8, the default dialog look at 10 and the list look at 11.
    LookTable();
    ErrorCode init() override { return 0; }
    uint32_t getServiceId() override { return 5; }

    // Null for an empty entry or an id past the table.
    Look* getLook(uint32_t id) const { return id < mLooks.size() ? mLooks[id].get() : nullptr; }
    // Deletes the look held at id first; an id past the end grows the table.
    void setLook(uint32_t id, std::unique_ptr<Look> look);
    // Grows only.
    void resize(uint32_t count);
    uint32_t size() const { return static_cast<uint32_t>(mLooks.size()); }

private:
    std::vector<std::unique_ptr<Look>> mLooks;
};

// The look at id in the running application's table, or null.
Look* findLook(uint32_t id);
