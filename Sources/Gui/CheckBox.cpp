#include "Gui/CheckBox.h"

#include "Gui/GuiManager.h"
#include "Gui/TextButton.h"

CheckBox::CheckBox(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t lookId)
    : Component(x, y, width, height)
{
    mRenderer = createWidgetRenderer(lookId, this, mLook);
}

CheckBox::CheckBox(const Rect& rect, uint32_t lookId)
    : CheckBox(rect.x, rect.y, rect.width, rect.height, lookId)
{
}

CheckBox::~CheckBox()
{
    mRenderer.reset();
}

void CheckBox::setRenderList(RenderList* list)
{
    Component::setRenderList(list);
    mRenderer->setRenderList(list);
}

uint32_t CheckBox::onMouseEvent(const MouseEvent& event)
{
    if (uint32_t result = Component::onMouseEvent(event))
        return result;
    GuiManager* manager = GuiManager::current();
    if (manager == nullptr || event.mButton != MOUSE_BUTTON_LEFT)
        return 0;
    if (event.mType == MOUSE_EVENT_BUTTON_DOWN)
    {
        if (!mEnabled)
            return 0;
        if (manager->getPressed() == this && !containsPoint(event))
            return 0;
        manager->setPressed(this);
        updateLayout();
        return 1;
    }
    if (event.mType == MOUSE_EVENT_BUTTON_UP)
    {
        // Only a press that began on the box toggles it.
        bool wasPressed = manager->getPressed() == this;
        manager->clearPressed(this);
        if (wasPressed && mEnabled && containsPoint(event))
        {
            playWidgetSound(getClickSoundId());
            mChecked = !mChecked;
            updateLayout();
            onClick.invoke(this);
        }
    }
    return 0;
}

uint32_t CheckBox::getTextureIndex()
{
    uint32_t group = 1;
    if (mEnabled && mHovered)
    {
        GuiManager* manager = GuiManager::current();
        group = manager != nullptr && manager->getPressed() == this ? 0 : 2;
    }
    return 2 * group + (mChecked ? 1 : 0);
}
