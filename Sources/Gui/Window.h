#pragma once
// A layer with a client area, dragging by its title band (the top margin) and
// modality: a modal window takes every mouse event and every key its children
// leave, so nothing below it reacts.
#include "Gui/Layer.h"

class Window : public Layer
{
public:
    Window(int32_t x, int32_t y, int32_t clientWidth, int32_t clientHeight, bool movable, uint32_t lookId,
           bool modal, bool randomEffect);
    ~Window() override;

    uint32_t onMouseEvent(const MouseEvent& event) override;
    uint32_t onKeyEvent(const KeyEvent& event) override;
    // Ends a drag.
    void onLosePressed() override;
    bool hitTest(const MouseEvent& event) override;
    bool isModal() override { return mModal; }

    virtual bool isInTitleBar(const MouseEvent& event);
    virtual int32_t getContentTop() = 0;

    bool isMovable() const { return mMovable; }
    bool isDragging() const { return mDrag != nullptr; }

protected:
    struct Drag
    {
        int32_t grabX;
        int32_t grabY;
    };

    bool mMovable;
    bool mModal;
    uint8_t mReserved = 0;
    std::unique_ptr<Drag> mDrag;
};
