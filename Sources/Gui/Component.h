#pragma once
// The base of every widget, window and view. Once attached to the tree a
// component's coordinates are absolute pixels of the client area. A container
// owns its children; whoever deletes a component, its destructor makes the GUI
// manager forget it, so no pressed, focused or hovered pointer outlives it,
// and turns every ComponentRef to it into null.
#include "Framework/ErrorCodes.h"
#include "Framework/InputEvents.h"
#include "Gui/GuiTypes.h"

#include <cstdint>
#include <memory>
#include <string>

class Container;

// The cursor position a mouse event refers to; false when it names no cursor.
bool getEventPosition(const MouseEvent& event, int32_t& x, int32_t& y);

class Component
{
public:
    Component(int32_t x, int32_t y, int32_t width, int32_t height);
    explicit Component(const Rect& rect);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    virtual ErrorCode render() { return 0; }
    virtual void updateLayout() {}
    // Once a frame, visible or not.
    virtual void animate() {}
    virtual void setRenderList(RenderList* list) { mRenderList = list; }
    virtual void setColor(uint32_t argb);
    virtual std::string getInfotipText() { return std::string(); }
    virtual Component* getInfotipComponent() { return nullptr; }
    virtual uint32_t getInfotipPlacement() { return 0; }
    virtual int64_t onWindowMessage(uint32_t, uint64_t, int64_t) { return 0; }
    // Non-zero when the event is consumed.
    virtual uint32_t onMouseEvent(const MouseEvent& event);
    virtual uint32_t onKeyEvent(const KeyEvent&) { return 0; }
    // The widget no longer holds the mouse press.
    virtual void onLosePressed() {}
    virtual void onLoseFocus() {}
    virtual void onGainFocus() {}
    virtual bool isHoverable() { return true; }
    // A hover candidate that answers true is not displaced by a later one
    // within the same mouse move.
    virtual bool keepsHover() { return false; }
    virtual void onMouseEnter() {}
    virtual void onMouseLeave() {}
    virtual void moveTo(int32_t x, int32_t y, bool update);
    virtual void resize(int32_t width, int32_t height, bool update);
    virtual Rect getRect() { return {mX, mY, mWidth, mHeight}; }
    virtual bool hitTest(const MouseEvent& event) { return mVisible && containsPoint(event); }
    virtual ErrorCode onDeviceLost() { return 0; }
    virtual ErrorCode onDeviceReset() { return 0; }

    // Right and bottom edges are outside.
    bool containsPoint(const MouseEvent& event) const;
    bool containsPoint(int32_t x, int32_t y) const
    {
        return x >= mX && x < mX + mWidth && y >= mY && y < mY + mHeight;
    }
    void setHovered(bool hovered);
    // The ancestor whose parent is the GUI root; null for the root itself or
    // a component not attached to the root.
    Component* getLayer();
    void requestHover();
    // Relative to the parent's client origin (absolute without a parent).
    void setRelativePosition(int32_t x, int32_t y);
    // True when the parent chain ends at the GUI root.
    bool isAttachedToRoot() const;

    int32_t getX() const { return mX; }
    int32_t getY() const { return mY; }
    int32_t getWidth() const { return mWidth; }
    int32_t getHeight() const { return mHeight; }
    Container* getParent() const { return mParent; }
    uint32_t getColor() const { return mColor; }
    RenderList* getRenderList() const { return mRenderList; }
    bool isVisible() const { return mVisible; }
    void setVisible(bool visible) { mVisible = visible; }
    bool isHovered() const { return mHovered; }

    // What a ComponentRef watches: true while this component lives.
    std::shared_ptr<const bool> aliveFlag();

protected:
    friend class Container;

    int32_t mX;
    int32_t mY;
    int32_t mWidth;
    int32_t mHeight;
    Container* mParent = nullptr;
    uint32_t mColor = 0xFFFFFFFF;
    RenderList* mRenderList = nullptr;
    bool mVisible = true;
    bool mHovered = false;

private:
    // Made by the first ComponentRef, so widgets nobody refers to pay nothing.
    std::shared_ptr<bool> mAlive;
};
