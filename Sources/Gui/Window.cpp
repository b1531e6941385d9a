#include "Gui/Window.h"

#include "Gui/GuiManager.h"

Window::Window(int32_t x, int32_t y, int32_t clientWidth, int32_t clientHeight, bool movable, uint32_t lookId,
               bool modal, bool randomEffect)
    : Layer(x, y, clientWidth, clientHeight, lookId, randomEffect), mMovable(movable), mModal(modal)
{
    mWidth = clientWidth + mMarginLeft + mMarginRight;
    mHeight = clientHeight + mMarginTop + mMarginBottom;
    updateLayout();
}

Window::~Window() = default;

uint32_t Window::onMouseEvent(const MouseEvent& event)
{
    if (uint32_t result = Container::onMouseEvent(event))
        return result;
    int32_t cursorX = 0;
    int32_t cursorY = 0;
    bool hasCursor = getEventPosition(event, cursorX, cursorY);
    GuiManager* manager = GuiManager::current();
    if (event.mType == MOUSE_EVENT_MOVE && mDrag && hasCursor)
        moveTo(cursorX - mDrag->grabX, cursorY - mDrag->grabY, true);
    else if (event.mType == MOUSE_EVENT_BUTTON_DOWN && event.mButton == MOUSE_BUTTON_LEFT && mMovable &&
             hasCursor && isInTitleBar(event) && manager != nullptr)
    {
        mDrag = std::make_unique<Drag>(Drag{cursorX - mX, cursorY - mY});
        manager->setPressed(this);
    }
    else if (event.mType == MOUSE_EVENT_BUTTON_UP && event.mButton == MOUSE_BUTTON_LEFT && mDrag &&
             manager != nullptr)
        manager->clearPressed(this);
    if (mModal)
        return 1;
    return containsPoint(event) ? 1 : 0;
}

uint32_t Window::onKeyEvent(const KeyEvent& event)
{
    if (uint32_t result = Container::onKeyEvent(event))
        return result;
    return mModal ? 1 : 0;
}

void Window::onLosePressed()
{
    mDrag.reset();
}

bool Window::hitTest(const MouseEvent& event)
{
    if (!mVisible)
        return false;
    // A modal window takes every event, wherever the cursor is.
    if (isModal())
        return true;
    return containsPoint(event);
}

bool Window::isInTitleBar(const MouseEvent& event)
{
    int32_t x = 0;
    int32_t y = 0;
    if (!getEventPosition(event, x, y))
        return false;
    return x >= mX + mMarginLeft && x < mX + mWidth - mMarginRight && y >= mY && y < mY + mMarginTop;
}
