#include "Tarnaveli/DifficultySelector.h"

#include "Gui/CheckBox.h"
#include "Gui/Look.h"
#include "Tarnaveli/ScoreListView.h"

DifficultySelector::DifficultySelector(const Rect& rect, uint32_t value)
    : Container(rect, LOOK_EMPTY), mValue(value < LEVEL_COUNT ? value : 0)
{
    const int32_t width = rect.width / 3;
    for (uint32_t i = 0; i < LEVEL_COUNT; ++i)
    {
        auto* button =
            new CheckBox(static_cast<int32_t>(i) * width, 0, rect.height, rect.height, FIRST_LOOK_ID + i);
        button->onClick.mUserValue = i;
        button->onClick.mFunction = [this](Component*, uint32_t level) { choose(level); };
        mButtons[i] = button;
        addChild(button);
    }
    showValue();
}

bool DifficultySelector::isButtonDown(uint32_t level) const
{
    return level < LEVEL_COUNT && mButtons[level]->isChecked();
}

void DifficultySelector::showValue()
{
    for (uint32_t i = 0; i < LEVEL_COUNT; ++i)
    {
        mButtons[i]->setChecked(i == mValue);
        mButtons[i]->updateLayout();
    }
}

void DifficultySelector::setValue(uint32_t value)
{
    if (value < LEVEL_COUNT)
        mValue = value;
    showValue();
}

void DifficultySelector::choose(uint32_t level)
{
    // The box has flipped itself: the pressed level stays down.
    const bool changed = level < LEVEL_COUNT && level != mValue;
    if (changed)
        mValue = level;
    showValue();
    if (!changed)
        return;
    if (mCallback)
        mCallback(this, mUserValue);
}

void DifficultySelector::installAsScoreSelector()
{
    ScoreHeaderBar::setSelectorMaker(
        [](int32_t x, int32_t y, int32_t width, int32_t height, uint32_t level,
           std::function<void(uint32_t)> pick) -> Component*
        {
            auto* selector = new DifficultySelector(Rect{x, y, width, height}, level);
            selector->setCallback(
                [pick = std::move(pick)](DifficultySelector* s, uint32_t) { pick(s->getValue()); }, 0);
            return selector;
        });
}
