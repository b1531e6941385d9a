// A pointer resting on a menu button brings up its tip, written in the
// tips' own font.
#include "Journeys.h"

#include "Gui/Font.h"
#include "Gui/GuiManager.h"
#include "Gui/Infotip.h"
#include "Tarnaveli/StartupTables.h"
#include "Tarnaveli/WindowMenu.h"

#include <gtest/gtest.h>

using namespace Play;

TEST(PlayInfotip, ARestingPointerShowsTheButtonsTipInTheTipsFont)
{
    Driver driver;
    ASSERT_EQ(driver.start(), ErrorCode{0});
    WindowMenu* menu = reachMainMenu(driver);
    ASSERT_NE(menu, nullptr);

    Component* button = nullptr;
    for (Component* widget : driver.all(menu))
        if (Driver::shown(widget) && !widget->getInfotipText().empty())
        {
            button = widget;
            break;
        }
    ASSERT_NE(button, nullptr) << "no main-menu entry carries a tip";

    Rect r = button->getRect();
    driver.mouseMove(r.x + r.width / 2, r.y + r.height / 2);
    auto* tip = dynamic_cast<Infotip*>(GuiManager::current()->getInfotip());
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(driver.waitFor([&] { return tip->isShown(); }, 100, 100)) << "the tip never came";

    ASSERT_NE(tip->getTextObject(), nullptr);
    EXPECT_EQ(tip->getTextObject()->getText(), button->getInfotipText());
    Font* tipsFont = findFont(FONT_INFOTIP);
    ASSERT_NE(tipsFont, nullptr);
    EXPECT_EQ(tip->getTextObject()->getFont(), tipsFont);
    EXPECT_NE(findFont(0), tipsFont) << "the check could not tell the fonts apart";
    EXPECT_TRUE(driver.waitFor([&] { return tip->getAlpha() == 255; }, 30, 100)) << "the tip never faded in";
}
