// The join window between two peers on this machine: the list of hosted
// games, the Join button following the selection, and joining.
#include "NetworkWindowTestSupport.h"

#include "../Platform/Net/AnswerFlood.h"

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
    auto* join = openNow(f.app, new WindowJoinGame(joiner.peer, f.game));
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

namespace
{
// The texts of the message dialogs now open.
std::vector<std::string> shownMessages(NetworkWindowFixture& f)
{
    std::vector<std::string> texts;
    for (Component* child : f.app.root().getChildren())
    {
        if (auto* dialog = dynamic_cast<MessageDialog*>(child))
        {
            for (Component* part : dialog->getChildren())
            {
                auto* label = dynamic_cast<Label*>(part);
                if (label != nullptr && label->getTextObject() != nullptr)
                    texts.push_back(label->getTextObject()->getText());
            }
        }
    }
    return texts;
}
} // namespace

TEST(WindowJoinGame, SaysOnceThatTheNetworkCannotBeSearchedWhenNoQueryLeaves)
{
    // The system refuses a datagram to port 0 for every target, as it refuses
    // every query of a machine with no network up; nothing is sent.
    TestPeer joiner{"Bruno"};
    joiner.peer.setRemotePort(0);
    NetworkWindowFixture f;
    auto* join = openNow(f.app, new WindowJoinGame(joiner.peer, f.game));
    const std::vector<std::string> expected{getLangText(LANG_ERROR),
                                            getLangText(LANG_WINDOWJOINGAME_UNABLE_TO_LIST_GAME)};
    ASSERT_TRUE(f.frames([&] { join->update(); }, [&] { return !shownMessages(f).empty(); }));
    EXPECT_EQ(shownMessages(f), expected);
    for (int frame = 0; frame < 20; ++frame)
    {
        join->update();
        f.app.gui().processDeferred();
    }
    EXPECT_EQ(shownMessages(f), expected) << "told once, not every frame";
    EXPECT_TRUE(join->isEnumerating()) << "the listing goes on, in case a network comes up";
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
    auto* join = openNow(game.f.app, new WindowJoinGame(third.peer, game.f.game));
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

// Three processes on this machine flood the joining player's discovery port
// with answers for ever new games: the list stays short, the real game stays
// in it, and each frame's work stays that of a short list.
TEST(WindowJoinGame, AFloodOfFakeAnswersNeitherHidesTheGameNorGrowsTheList)
{
    JoinedGame game;
    WindowJoinGame* join = nullptr;
    ASSERT_TRUE(game.hostAndList(join));
    Platform::NetSession* net = game.joiner.peer.getSessionLayer();
    ASSERT_NE(net, nullptr);
    const Platform::NetGuid application = DirectPlay::toNetGuid(DirectPlay::kGameApplicationGuid);
    auto listsTheGame = [&]
    {
        for (uint32_t i = 0; i < join->getList()->getRowCount(); ++i)
            if (static_cast<Label*>(join->getList()->getRow(i))->getTextObject()->getText() ==
                "Partie d'Alice")
                return true;
        return false;
    };
    uint32_t mostRows = 0;
    uint64_t sent = 0;
    {
        AnswerFlood a(net->answerPort(), application, 1);
        AnswerFlood b(net->answerPort(), application, 2);
        AnswerFlood c(net->answerPort(), application, 3);
        int frames = 0;
        game.f.frames(
            [&]
            {
                join->update();
                mostRows = std::max(mostRows, join->getList()->getRowCount());
                EXPECT_TRUE(listsTheGame()) << "frame " << frames;
                ++frames;
            },
            [&] { return frames >= 200; });
        sent = a.sent() + b.sent() + c.sent();
    }
    ASSERT_GT(sent, 1000u) << "the flood did not run";
    EXPECT_LE(mostRows, 1 + 3 * Platform::kNetMaxHostsPerSource);
    // Every fake game went with its source.
    game.f.frames([&] { join->update(); }, [&] { return join->getList()->getRowCount() == 1; }, 1000);
    EXPECT_EQ(join->getList()->getRowCount(), 1u);
    EXPECT_TRUE(listsTheGame());
}
