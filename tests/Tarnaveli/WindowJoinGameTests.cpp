// The join window between two peers on this machine: the list of hosted
// games, the Join button following the selection, and joining.
#include "NetworkWindowTestSupport.h"

#include "Framework/LangTable.h"
#include "Gui/Label.h"
#include "Tarnaveli/GameLang.h"

TEST(WindowJoinGame, WithNoGameTheListStaysEmptyAndJoinDoesNothing)
{
    TestPeer nobody{"Alice"};
    TestPeer joiner{"Bruno"};
    {
        // A port nobody listens on any more.
        std::scoped_lock guard(nobody.peer);
        ASSERT_EQ(nobody.peer.host("x", 2), ERROR_OK);
        joiner.peer.setRemotePort(nobody.peer.getHostedPort());
        ASSERT_EQ(nobody.peer.closeSession(), ERROR_OK);
    }
    NetworkWindowFixture f;
    auto* join = openNow(f.app, new WindowJoinGame(joiner.peer));
    auto start = std::chrono::steady_clock::now();
    f.frames([&] { join->update(); },
             [&] { return std::chrono::steady_clock::now() - start > std::chrono::milliseconds(300); });
    EXPECT_TRUE(join->isEnumerating());
    EXPECT_EQ(join->getList()->getRowCount(), 0u);
    EXPECT_FALSE(join->isJoinEnabled());
    join->onResult(1);
    EXPECT_FALSE(join->isJoining());
    EXPECT_EQ(f.app.root().getChildren().size(), 1u) << "no error shown";
}

TEST(WindowJoinGame, ListsTheHostedGameAndJoinFollowsTheSelection)
{
    JoinedGame game;
    WindowJoinGame* join = nullptr;
    ASSERT_TRUE(game.hostAndList(join));
    ASSERT_EQ(join->getList()->getRowCount(), 1u);
    auto* row = static_cast<Label*>(join->getList()->getRow(0));
    EXPECT_EQ(row->getTextObject()->getText(), "Partie d'Alice");
    EXPECT_EQ(row->getColor(), 0xFF000000u);
    EXPECT_FALSE(join->isJoinEnabled());
    join->getList()->select(0);
    EXPECT_TRUE(join->isJoinEnabled());
    join->getList()->select(-1);
    EXPECT_FALSE(join->isJoinEnabled());
}

TEST(WindowJoinGame, JoiningOpensBothWaitingWindowsWithBothNames)
{
    JoinedGame game;
    ASSERT_TRUE(game.join());
    ASSERT_NE(game.joinerWindow, nullptr);
    ASSERT_EQ(game.hostWindow->getRows().size(), 2u);
    EXPECT_EQ(game.hostWindow->getRows()[0]->getTextObject()->getText(), "Alice");
    EXPECT_EQ(game.hostWindow->getRows()[1]->getTextObject()->getText(), "Bruno");
    EXPECT_EQ(game.hostWindow->getRows()[1]->getColor(), 0xFF000000u);
    ASSERT_FALSE(game.hostWindow->getNotices().empty());
    EXPECT_NE(game.hostWindow->getNotices().back().find("Bruno"), std::string::npos);
    EXPECT_FALSE(game.joinerWindow->isLaunchEnabled()) << "only the host launches";
    EXPECT_TRUE(
        game.f.frames([&] { game.joinerWindow->update(); }, [&]
                      { return game.joinerWindow->getRows()[0]->getTextObject()->getText() == "Alice"; }));
}

TEST(WindowJoinGame, AThirdPlayerIsToldTheGameIsFullAndTheListingStartsAgain)
{
    JoinedGame game;
    ASSERT_TRUE(game.join());
    TestPeer third{"Chloe"};
    third.peer.setRemotePort(game.host.peer.getHostedPort());
    // This peer goes before the fixture's windows: its window is closed below.
    auto* join = openNow(game.f.app, new WindowJoinGame(third.peer));
    ASSERT_TRUE(game.f.frames([&] { join->update(); }, [&] { return join->getList()->getRowCount() > 0; }));
    join->getList()->select(0);
    join->onResult(1);
    EXPECT_TRUE(join->isJoining());
    ASSERT_TRUE(game.f.frames([&] { join->update(); }, [&] { return !join->isJoining(); }));
    MessageDialog* error = nullptr;
    for (Component* child : game.f.app.root().getChildren())
    {
        if (auto* dialog = dynamic_cast<MessageDialog*>(child))
            error = dialog;
    }
    ASSERT_NE(error, nullptr);
    bool fullText = false;
    for (Component* child : error->getChildren())
    {
        auto* label = dynamic_cast<Label*>(child);
        fullText =
            fullText || (label != nullptr && label->getTextObject() != nullptr &&
                         label->getTextObject()->getText() == getLangText(LANG_WINDOWJOINGAME_GAME_FULL));
    }
    EXPECT_TRUE(fullText);
    EXPECT_FALSE(join->isEnumerating());
    join->update();
    EXPECT_TRUE(join->isEnumerating()) << "the listing starts again";
    join->onResult(8);
    game.f.app.gui().processDeferred();
    EXPECT_GE(game.f.menus, 1);
}
