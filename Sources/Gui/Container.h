#pragma once
// A component that owns an ordered list of children (index order is drawing
// order: the last child is on top) and draws a frame through the renderer of
// its look. GuiRoot is the root of the tree; its children are the layers.
#include "Gui/Component.h"
#include "Gui/Look.h"

#include <memory>
#include <vector>

class Container : public Component
{
public:
    // Null margins take the look's.
    Container(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t lookId,
              const Margins* margins = nullptr);
    Container(const Rect& rect, uint32_t lookId, const Margins* margins = nullptr);
    ~Container() override;

    ErrorCode render() override;
    void updateLayout() override;
    void animate() override;
    void setRenderList(RenderList* list) override;
    int64_t onWindowMessage(uint32_t message, uint64_t wParam, int64_t lParam) override;
    uint32_t onMouseEvent(const MouseEvent& event) override;
    uint32_t onKeyEvent(const KeyEvent& event) override;
    // A container is never itself a hover candidate.
    bool isHoverable() override { return false; }
    void moveTo(int32_t x, int32_t y, bool update) override;
    ErrorCode onDeviceLost() override;
    ErrorCode onDeviceReset() override;

    // Takes ownership. A position given before is relative to the client
    // origin; afterwards it is absolute.
    void addChild(Component* child);
    // Under the GUI root the child is added after the current dispatch.
    void add(Component* child);
    void insertChildAtFront(Component* child);
    // Gives the child back to the caller.
    void removeChild(Component* child);
    void removeAndDeleteChild(Component* child);
    // Under the GUI root the child goes after the current dispatch.
    void deleteChild(Component* child);
    void deleteAllChildren();
    void setMargins(const Margins& margins);
    void setChildrenHovered(bool hovered);

    const std::vector<Component*>& getChildren() const { return mChildren; }
    LookRenderer* getRenderer() const { return mRenderer.get(); }
    Margins getMargins() const { return {mMarginLeft, mMarginTop, mMarginRight, mMarginBottom}; }
    int32_t getMarginLeft() const { return mMarginLeft; }
    int32_t getMarginTop() const { return mMarginTop; }
    int32_t getMarginRight() const { return mMarginRight; }
    int32_t getMarginBottom() const { return mMarginBottom; }
    // True when this container is the root or lies under it.
    bool isInRootTree() const;

protected:
    // Places a child just inserted.
    void placeNewChild(Component* child);

    std::vector<Component*> mChildren;
    std::unique_ptr<LookRenderer> mRenderer;
    int32_t mMarginLeft = 0;
    int32_t mMarginTop = 0;
    int32_t mMarginRight = 0;
    int32_t mMarginBottom = 0;

private:
    void initLook(uint32_t lookId, const Margins* margins);
};

class GuiRoot final : public Container
{
public:
    GuiRoot(int32_t width, int32_t height);
    ~GuiRoot() override;
    // The topmost layer is asked first.
    uint32_t onMouseEvent(const MouseEvent& event) override;
};
