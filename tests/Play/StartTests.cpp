// The first start of a fresh install: the intro and the first main menu.
#include "PlayChecks.h"
#include "PlayDriver.h"

#include "Gui/FadePopup.h"
#include "Gui/Image.h"
#include "Tarnaveli/WindowMenu.h"

#include <gtest/gtest.h>

using namespace Play;

TEST(PlayStart, Smoke)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    ASSERT_EQ(driver.start(), 0u);
    driver.run(300, 40);
    driver.savePng("menu");
    EXPECT_NE(driver.layer<WindowMenu>(), nullptr);
}
