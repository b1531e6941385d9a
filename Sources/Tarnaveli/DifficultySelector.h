#pragma once
// Three picture boxes (easy, medium, hard) that behave like radio buttons:
// the box of the current level stays down.
#include "Gui/Container.h"

#include <array>
#include <functional>

class CheckBox;

class DifficultySelector : public Container
{
public:
    static constexpr uint32_t LEVEL_COUNT = 3;
    static constexpr uint32_t FIRST_LOOK_ID = 51;
    using Callback = std::function<void(DifficultySelector* selector, uint32_t userValue)>;

    DifficultySelector(const Rect& rect, uint32_t value);

    uint32_t getValue() const { return mValue; }
    // Calls nobody; a level past the last is ignored.
    void setValue(uint32_t value);
    void setCallback(Callback callback, uint32_t userValue)
    {
        mCallback = std::move(callback);
        mUserValue = userValue;
    }
    const Callback& getCallback() const { return mCallback; }
    uint32_t getUserValue() const { return mUserValue; }

    CheckBox* getLevelButton(uint32_t level) const { return level < LEVEL_COUNT ? mButtons[level] : nullptr; }
    // Down: the box of the current level, and only it.
    bool isButtonDown(uint32_t level) const;

    // Makes the scores window's level selector this one.
    static void installAsScoreSelector();

private:
    void choose(uint32_t level);
    // Shows the current level's box down and the others up.
    void showValue();

    uint32_t mValue;
    Callback mCallback;
    uint32_t mUserValue = 0;
    std::array<CheckBox*, LEVEL_COUNT> mButtons{};
};
