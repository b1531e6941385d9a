#include "Gui/Component.h"

#include "Framework/ServiceInterfaces.h"
#include "Gui/Container.h"
#include "Gui/GuiManager.h"

bool getEventPosition(const MouseEvent& event, int32_t& x, int32_t& y)
{
    if (event.mCursor == nullptr)
        return false;
    x = event.mCursor->mMouseX;
    y = event.mCursor->mMouseY;
    return true;
}

Component::Component(int32_t x, int32_t y, int32_t width, int32_t height)
    : mX(x), mY(y), mWidth(width), mHeight(height)
{
}

Component::Component(const Rect& rect) : Component(rect.x, rect.y, rect.width, rect.height) {}

Component::~Component()
{
    if (mAlive)
        *mAlive = false;
    if (GuiManager* manager = GuiManager::current())
        manager->forgetComponent(this);
}

std::shared_ptr<const bool> Component::aliveFlag()
{
    if (!mAlive)
        mAlive = std::make_shared<bool>(true);
    return mAlive;
}

void Component::setColor(uint32_t argb)
{
    mColor = argb;
    updateLayout();
}

uint32_t Component::onMouseEvent(const MouseEvent& event)
{
    if (event.mType != MOUSE_EVENT_MOVE)
        return 0;
    GuiManager* manager = GuiManager::current();
    if (manager == nullptr)
        return 0;
    // A widget that holds the press sees the moves outside it too, but it is
    // not hovered from there.
    if (manager->getPressed() == this && !containsPoint(event))
        return 0;
    if (isHoverable())
        requestHover();
    if (!manager->isInfotipEnabled())
        return 0;
    std::string text = getInfotipText();
    Component* component = getInfotipComponent();
    if (text.empty() && component == nullptr)
        return 0;
    // A deeper widget asked later in the same dispatch replaces the request.
    manager->showInfotip(mX, mY, mWidth, mHeight, text, 0xFFFFFFFF, component, getInfotipPlacement());
    return 0;
}

void Component::moveTo(int32_t x, int32_t y, bool update)
{
    mX = x;
    mY = y;
    if (update)
        updateLayout();
}

void Component::resize(int32_t width, int32_t height, bool update)
{
    mWidth = width;
    mHeight = height;
    if (update)
        updateLayout();
}

bool Component::containsPoint(const MouseEvent& event) const
{
    int32_t x = 0;
    int32_t y = 0;
    return getEventPosition(event, x, y) && containsPoint(x, y);
}

void Component::setHovered(bool hovered)
{
    if (hovered == mHovered)
        return;
    mHovered = hovered;
    if (hovered)
        onMouseEnter();
    else
        onMouseLeave();
}

Component* Component::getLayer()
{
    Component* current = this;
    while (current->mParent != nullptr)
    {
        if (dynamic_cast<GuiRoot*>(current->mParent) != nullptr)
            return current;
        current = current->mParent;
    }
    return nullptr;
}

void Component::requestHover()
{
    if (GuiManager* manager = GuiManager::current())
        manager->setHoverCandidate(this);
}

void Component::setRelativePosition(int32_t x, int32_t y)
{
    if (mParent != nullptr)
        moveTo(mParent->mX + mParent->getMarginLeft() + x, mParent->mY + mParent->getMarginTop() + y, true);
    else
        moveTo(x, y, true);
}

bool Component::isAttachedToRoot() const
{
    const Component* current = this;
    while (current->mParent != nullptr)
        current = current->mParent;
    return current != this && dynamic_cast<const GuiRoot*>(current) != nullptr;
}
