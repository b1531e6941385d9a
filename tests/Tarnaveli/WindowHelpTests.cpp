// The help window: fading pages, two clicks to close, and where it returns.
#include "Framework/FileUtilities.h"
#include "Gui/Image.h"
#include "Gui/TextButton.h"
#include "MenuTestSupport.h"
#include "Tarnaveli/GameDescription/GameDescription.h"
#include "Tarnaveli/GameDescription/LinkGroup.h"
#include "Tarnaveli/WindowHelp.h"
#include "Tarnaveli/WindowMenu.h"

TEST(WindowHelp, TheFirstClickTurnsThePageAndTheSecondCloses)
{
    MenuFixture f;
    auto* help = f.open(new WindowHelp(false, f.game));
    EXPECT_EQ(help->getButton()->getX() - help->getX() - help->getMarginLeft(), 880);
    EXPECT_FALSE(help->getPage(1)->isVisible());
    f.app.frame(500);
    EXPECT_EQ(help->getPage(0)->getColor(), (127u << 24) | 0xFFFFFFu);
    EXPECT_EQ(help->getButton()->getColor(), help->getPage(0)->getColor());
    f.app.frame(600);
    EXPECT_EQ(help->getPage(0)->getColor(), 0xFFFFFFFFu);

    f.clickOn(help->getButton());
    ASSERT_EQ(f.layers<WindowHelp>().size(), 1u);
    EXPECT_EQ(help->getStage(), 1u);
    EXPECT_TRUE(help->getPage(1)->isVisible());
    f.app.frame(999);
    EXPECT_NE(help->getPage(0), nullptr);
    EXPECT_EQ(help->getPage(1)->getColor(), (254u << 24) | 0xFFFFFFu);
    f.app.frame(1);
    f.app.gui().processDeferred();
    EXPECT_EQ(help->getPage(0), nullptr);
    EXPECT_EQ(help->getChildren().size(), 2u);

    f.clickOn(help->getButton());
    EXPECT_TRUE(f.layers<WindowHelp>().empty());
    EXPECT_TRUE(f.layers<WindowMenu>().empty());
}

TEST(WindowHelp, AskedToReturnItOpensTheMainMenuOnClosing)
{
    MenuFixture f;
    auto* help = f.open(new WindowHelp(true, f.game));
    f.clickOn(help->getButton());
    f.clickOn(help->getButton());
    EXPECT_TRUE(f.layers<WindowHelp>().empty());
    EXPECT_NE(f.only<WindowMenu>(), nullptr);
}

TEST(WindowHelp, TheGamesRulesLinkAppearsOnThePageTwoAndOpensTheRules)
{
    MenuFixture f;
    LinkGroup::installTextButtons();
    GameDescription description;
    auto area = std::make_unique<LinkArea>();
    area->mFile = "data\\Aide\\regles.html";
    area->mRect = {530, 664, 330, 44};
    description.getTutorialLinkGroup().getAreas().push_back(std::move(area));
    f.game.description = &description;
    std::vector<std::string> opened;
    setShellLauncher(
        [&opened](const std::string& target)
        {
            opened.push_back(target);
            return true;
        });

    auto* help = f.open(new WindowHelp(false, f.game));
    f.clickOn(help->getButton());
    TextButton* link = nullptr;
    for (Component* child : help->getChildren())
    {
        if (child != help->getButton() && dynamic_cast<TextButton*>(child) != nullptr)
            link = static_cast<TextButton*>(child);
    }
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->getX() - help->getX() - help->getMarginLeft(), 530);
    f.clickOn(link);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find("data/Aide/regles.html"), std::string::npos) << opened[0];

    setShellLauncher(nullptr);
    LinkGroup::setButtonCreator(nullptr);
}
