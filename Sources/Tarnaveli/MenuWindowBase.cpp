#include "Tarnaveli/MenuWindowBase.h"

#include "Framework/ApplicationGeneric.h"
#include "Gui/Look.h"

#include <algorithm>
#include <cmath>

MenuWindowBase::MenuWindowBase(uint32_t count, uint32_t titleHeight)
    : Window(0, 0, WIDTH,
             static_cast<int32_t>(count) * ROW_HEIGHT + static_cast<int32_t>(titleHeight) + TOP_GAP, false,
             LOOK_EMPTY, false, false),
      mCount(count), mTitleHeight(titleHeight), mEntries(count)
{
    if (ApplicationGeneric* application = getApplication())
    {
        const ApplicationSettings& settings = application->getSettings();
        moveTo((static_cast<int32_t>(settings.mClientWidth) - mWidth) / 2,
               (static_cast<int32_t>(settings.mClientHeight) - mHeight) / 2, false);
    }
    mTimer.start();
}

MenuButton* MenuWindowBase::addButton(uint32_t index, uint32_t skinId, const std::string& infotipText,
                                      MenuButton::Callback callback)
{
    if (index >= mCount)
        return nullptr;
    Entry& entry = mEntries[index];
    entry.x = (WIDTH - MenuButton::WIDTH) / 2;
    entry.y = static_cast<int32_t>(index) * ROW_HEIGHT + static_cast<int32_t>(mTitleHeight) + TOP_GAP;
    entry.button = new MenuButton(entry.x, entry.y, skinId, infotipText, std::move(callback), this);
    // Hidden until its turn comes.
    entry.button->setVisible(false);
    addChild(entry.button);
    return entry.button;
}

void MenuWindowBase::unfold(uint32_t t)
{
    for (uint32_t i = 0; i < mCount; ++i)
    {
        MenuButton* button = mEntries[i].button;
        if (button == nullptr)
            continue;
        const uint32_t start = BUTTON_DELAY_MS * i;
        int32_t width = MenuButton::WIDTH;
        int32_t height = MenuButton::HEIGHT;
        uint32_t color = 0xFFFFFFFF;
        if (t < start)
        {
            button->setVisible(false);
            continue;
        }
        if (t - start < UNFOLD_MS)
        {
            const double s = static_cast<double>(t - start) / UNFOLD_MS;
            const double f = 1.0 - std::cos(4.712389 * s) * (1.0 - s);
            width = std::max(1, static_cast<int32_t>(MenuButton::WIDTH * f));
            height = std::max(1, static_cast<int32_t>(MenuButton::HEIGHT * f));
            const auto alpha = static_cast<uint32_t>(std::clamp(static_cast<int32_t>(255.0 * f), 0, 255));
            color = alpha << 24 | 0xFFFFFF;
        }
        button->setVisible(true);
        button->resize(width, height, false);
        button->setRelativePosition(mEntries[i].x + (MenuButton::WIDTH - width) / 2,
                                    mEntries[i].y + (MenuButton::HEIGHT - height) / 2);
        button->setColor(color);
        button->updateLayout();
    }
}

void MenuWindowBase::animate()
{
    Window::animate();
    if (mFinished)
        return;
    const uint32_t t = mTimer.getElapsed();
    unfold(t);
    if (t >= (mCount + 8) * BUTTON_DELAY_MS)
        mFinished = true;
}
