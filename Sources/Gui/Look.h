#pragma once
// How widgets are drawn: a look, fetched by id from the look table (service 5),
// holds skin texture and colour ids and makes one renderer per widget. Widgets
// ask their renderer to draw; they never draw textures themselves.
#include "Framework/AppService.h"
#include "Gui/GuiTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

class Component;
class Look;

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
    LOOK_KIND_DIALOG = 6
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
    virtual uint32_t getValue() const { return 0; }

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

enum LookId : uint32_t
{
    LOOK_TEXT = 1,
    LOOK_EMPTY = 8,
    LOOK_DIALOG = 10,
    LOOK_COMBO_BOX = 11
};

// Application service 5: the looks by id; the table owns them.
class LookTable : public AppService
{
public:
    // Thirteen entries; the empty look at 8 and the default dialog look at 10.
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
