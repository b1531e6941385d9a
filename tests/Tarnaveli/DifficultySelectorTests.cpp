// The level selector: radio-button behaviour and its callback.
#include "Gui/CheckBox.h"
#include "MenuTestSupport.h"
#include "Tarnaveli/DifficultySelector.h"
#include "Tarnaveli/ScoreListView.h"

TEST(DifficultySelector, ClickingAnotherLevelSelectsItAndCallsBackOnce)
{
    MenuFixture f;
    TestLayer* screen = f.app.screen();
    auto* selector = new DifficultySelector(Rect{10, 10, 160, 60}, 1);
    screen->addChild(selector);
    std::vector<uint32_t> seen;
    selector->setCallback(
        [&](DifficultySelector* s, uint32_t user) { seen.push_back(s->getValue() * 100 + user); }, 7);

    EXPECT_EQ(selector->getLevelButton(2)->getX() - selector->getX(), 2 * 53);
    EXPECT_EQ(selector->getLevelButton(0)->getWidth(), 60);
    EXPECT_TRUE(selector->isButtonDown(1));

    // The pressed level changes nothing.
    f.clickOn(selector->getLevelButton(1));
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(selector->getLevelButton(1)->isChecked());

    f.clickOn(selector->getLevelButton(2));
    EXPECT_EQ(selector->getValue(), 2u);
    EXPECT_TRUE(selector->isButtonDown(2));
    EXPECT_FALSE(selector->isButtonDown(1));
    EXPECT_FALSE(selector->isButtonDown(0));
    EXPECT_EQ(seen, std::vector<uint32_t>{207});

    selector->setValue(5);
    EXPECT_EQ(selector->getValue(), 2u);
    selector->setValue(0);
    EXPECT_TRUE(selector->isButtonDown(0));
    EXPECT_FALSE(selector->isButtonDown(2));
    EXPECT_EQ(seen.size(), 1u);
}

TEST(DifficultySelector, AsTheScoresSelectorItSwitchesTheLevelShown)
{
    MenuFixture f;
    DifficultySelector::installAsScoreSelector();
    TestLayer* screen = f.app.screen();
    auto* bar = new ScoreHeaderBar(1);
    screen->addChild(bar);
    ScoreHeaderBar::setSelectorMaker(nullptr);
    auto* selector = dynamic_cast<DifficultySelector*>(bar->getSelector());
    ASSERT_NE(selector, nullptr);
    EXPECT_EQ(selector->getValue(), 1u);
    f.clickOn(selector->getLevelButton(0));
    EXPECT_EQ(bar->getSelectedCategory(), 0u);
}
