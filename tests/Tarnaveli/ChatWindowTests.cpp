// The chat window: its panel's place, and hiding without losing it.
#include "Gui/TextButton.h"
#include "MenuTestSupport.h"
#include "Tarnaveli/ChatWindow.h"

TEST(ChatWindow, TheButtonHidesTheWindowAndKeepsItsPanel)
{
    MenuFixture f;
    Rect made{};
    ChatWindow::setPanelMaker(
        [&](int32_t x, int32_t y, int32_t width, int32_t height)
        {
            made = Rect{x, y, width, height};
            return new Container(x, y, width, height, LOOK_EMPTY);
        });
    auto* window = f.open(new ChatWindow());
    ChatWindow::setPanelMaker(nullptr);
    int hidden = 0;
    window->onHidden = [&] { ++hidden; };

    EXPECT_EQ(made.y, 32);
    EXPECT_EQ(made.width, 300);
    EXPECT_EQ(made.height, 168);
    Component* panel = window->getChatPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getY() - window->getY() - window->getMarginTop(), 32);
    EXPECT_EQ(window->getHideButton()->getX() - window->getX() - window->getMarginLeft(), 268);
    EXPECT_FALSE(window->isModal());
    EXPECT_TRUE(window->isMovable());

    f.clickOn(window->getHideButton());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(f.only<ChatWindow>(), window);
    EXPECT_EQ(window->getChatPanel(), panel);
    window->setVisible(true);
    EXPECT_EQ(window->getChildren().size(), 2u);
}
