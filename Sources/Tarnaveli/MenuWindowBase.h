#pragma once
// A column of picture buttons that unfold one after another: button i grows
// from nothing and fades in over 800 ms from 100 x i ms on.
#include "Framework/Timer.h"
#include "Gui/Window.h"
#include "Tarnaveli/MenuButton.h"

#include <vector>

class MenuWindowBase : public Window
{
public:
    static constexpr int32_t WIDTH = 600;
    static constexpr int32_t ROW_HEIGHT = 62;
    static constexpr int32_t TOP_GAP = 6;
    static constexpr uint32_t BUTTON_DELAY_MS = 100;
    static constexpr uint32_t UNFOLD_MS = 800;

    // Centred in the main window.
    MenuWindowBase(uint32_t count, uint32_t titleHeight);

    void animate() override;
    int32_t getContentTop() override { return 0; }

    MenuButton* addButton(uint32_t index, uint32_t skinId, const std::string& infotipText,
                          MenuButton::Callback callback);
    MenuButton* getMenuButton(uint32_t index) const
    {
        return index < mEntries.size() ? mEntries[index].button : nullptr;
    }
    uint32_t getButtonCount() const { return mCount; }
    bool isUnfolded() const { return mFinished; }
    // Lays the buttons out for a time since construction.
    void unfold(uint32_t t);

private:
    struct Entry
    {
        MenuButton* button = nullptr;
        int32_t x = 0;
        int32_t y = 0;
    };

    uint32_t mCount;
    uint32_t mTitleHeight;
    std::vector<Entry> mEntries;
    Timer mTimer;
    bool mFinished = false;
};
