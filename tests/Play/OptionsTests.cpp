// The options window keeps what the player set, across a reopening and a
// new start of the program.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Gui/CheckBox.h"
#include "Gui/ComboBox.h"
#include "Gui/ComboDropList.h"
#include "Gui/Label.h"
#include "Gui/LabeledCheckBox.h"
#include "Gui/Lift.h"
#include "Gui/TextButton.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowOption.h"

#include <gtest/gtest.h>

using namespace Play;

namespace
{
struct Shown
{
    int32_t sound;
    int32_t music;
    bool infotip;
    int32_t pieceSet;
};

WindowOption* openOptions(Driver& driver)
{
    return fromMainMenu<WindowOption>(driver, WindowMenu::OPTIONS);
}

Shown shownBy(WindowOption& options)
{
    return {options.getSoundSlider()->getValue(), options.getMusicSlider()->getValue(),
            options.getInfotipBox()->isChecked(), options.getPieceSetCombo()->getSelectedIndex()};
}

void expectShown(WindowOption& options, const Shown& expected)
{
    const Shown shown = shownBy(options);
    EXPECT_EQ(shown.sound, expected.sound) << "effects level";
    EXPECT_EQ(shown.music, expected.music) << "music level";
    EXPECT_EQ(shown.infotip, expected.infotip) << "infotips";
    EXPECT_EQ(shown.pieceSet, expected.pieceSet) << "piece set";
}
} // namespace

TEST(PlayOptions, WhatIsSetReadsBackOnReopeningAndAfterANewStart)
{
    SKIP_WITHOUT_DISPLAY();
    // The first run's folder lives on for the second run.
    Driver driver;
    Shown set{};
    {
        PngOnFailure png(driver);
        WindowOption* options = openOptions(driver);
        ASSERT_NE(options, nullptr);
        const Shown before = shownBy(*options);

        driver.click(options->getSoundSlider()->getDecreaseButton());
        driver.click(options->getSoundSlider()->getDecreaseButton());
        driver.click(options->getMusicSlider()->getIncreaseButton());
        driver.click(options->getInfotipBox()->getBox());
        ComboBox* pieceSets = options->getPieceSetCombo();
        ASSERT_GE(pieceSets->getItemCount(), 2u);
        driver.click(pieceSets->getArrowButton());
        driver.settle(10);
        ComboDropList* list = driver.find<ComboDropList>();
        ASSERT_NE(list, nullptr) << "the drop list did not open";
        const int32_t other = (before.pieceSet + 1) % int32_t(pieceSets->getItemCount());
        // The open list stands clear of the window's buttons (the drop
        // list's layer spans the screen to catch the click that closes it;
        // what shows is its list box).
        ASSERT_NE(list->getListBox(), nullptr);
        for (const char* button : {"OK", "Annuler"})
            if (Component* c = driver.findText(button, options))
            {
                const Rect a = list->getListBox()->getRect();
                const Rect b = c->getRect();
                EXPECT_FALSE(a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
                             b.y < a.y + a.height)
                    << "the drop list covers " << button;
            }
        driver.click(list->getItemLabel(uint32_t(other)));
        driver.settle(10);

        set = shownBy(*options);
        EXPECT_EQ(set.sound, before.sound - 2);
        EXPECT_EQ(set.music, before.music + 1);
        EXPECT_NE(set.infotip, before.infotip);
        EXPECT_EQ(set.pieceSet, other);
        ASSERT_TRUE(clickText(driver, "OK"));
        driver.settle(20);
        ASSERT_EQ(driver.layer<WindowOption>(), nullptr);

        clickMenuEntry(driver, WindowMenu::OPTIONS);
        options = driver.layer<WindowOption>();
        ASSERT_NE(options, nullptr);
        {
            SCOPED_TRACE("reopened");
            expectShown(*options, set);
        }
        ASSERT_TRUE(clickText(driver, "Annuler"));
        driver.settle(10);
        driver.stop();
    }
    Driver again(driver.folder());
    PngOnFailure png(again);
    WindowOption* options = openOptions(again);
    ASSERT_NE(options, nullptr);
    SCOPED_TRACE("after a new start");
    expectShown(*options, set);
}
