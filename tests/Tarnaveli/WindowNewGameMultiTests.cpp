// The network menu: the nickname check in front of every way into a network
// game, hosting, and the messages run while the menu is open.
#include "Gui/TextButton.h"
#include "Gui/TextField.h"
#include "MenuTestSupport.h"
#include "Network/NetworkEvent.h"
#include "Network/NetworkMessage.h"
#include "Network/NetworkPeer.h"
#include "Tarnaveli/OnlineGameWindow.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowNewGameMulti.h"

namespace
{
class FakePeer final : public NetworkPeer
{
public:
    FakePeer() : NetworkPeer(0, 0) {}
    ErrorCode init() override { return 0; }
    ErrorCode host(const std::string& name, uint32_t maxPlayers) override
    {
        hosted.push_back(name + "/" + std::to_string(maxPlayers));
        return hostResult;
    }
    ErrorCode enumHosts(const std::string&, uint32_t) override { return 0; }
    ErrorCode cancelEnumeration() override { return 0; }
    ErrorCode connect(const NetworkSessionInfo&) override { return 0; }
    ErrorCode cancelConnect() override { return 0; }
    ErrorCode closeSession() override { return 0; }
    ErrorCode send(std::unique_ptr<NetworkMessage>, NetworkPlayerInfo*) override { return 0; }
    ErrorCode setApplicationGuid(const void*, uint32_t) override { return 0; }
    NetworkPlayerInfo* getLocalPlayer() const override { return nullptr; }

    std::vector<std::string> hosted;
    ErrorCode hostResult = 0;
};

class CountingMessage final : public NetworkMessage
{
public:
    explicit CountingMessage(int* runs) : NetworkMessage(1), runs(runs) {}
    ErrorCode serialize(BinaryStream&) override { return 0; }
    ErrorCode execute(NetworkEndpoint*, NetworkPlayerInfo*) override
    {
        ++*runs;
        return 0;
    }
    int* runs;
};

struct NetworkMenu : MenuFixture
{
    FakePeer peer;
    Log& opened = game.opened;
    WindowNewGameMulti* menu = nullptr;

    explicit NetworkMenu(const std::string& nickname)
    {
        setup.mNetworkPlayerNickname = nickname;
        game.network = &peer;
        menu = open(new WindowNewGameMulti(game));
    }
    void press(uint32_t entry) { clickOn(menu->getEntry(entry)); }
    bool menuOpen() { return !layers<WindowNewGameMulti>().empty(); }
};
} // namespace

TEST(WindowNewGameMulti, AnEmptyNicknameBlocksEveryWayIntoANetworkGame)
{
    NetworkMenu f("");
    for (uint32_t entry : {WindowNewGameMulti::CREATE, WindowNewGameMulti::JOIN, WindowNewGameMulti::ONLINE})
    {
        f.press(entry);
        EXPECT_TRUE(f.menuOpen());
        auto* box = f.only<MessageDialog>();
        ASSERT_NE(box, nullptr);
        box->close();
        f.app.gui().processDeferred();
    }
    EXPECT_TRUE(f.peer.hosted.empty());
    EXPECT_TRUE(f.opened.empty());
    EXPECT_TRUE(f.layers<OnlineGameWindow>().empty());
}

TEST(WindowNewGameMulti, CreateHostsATwoPlayerGameNamedAfterThePlayer)
{
    NetworkMenu f("Max");
    EXPECT_EQ(f.menu->getNicknameField()->getText(), "Max");
    f.menu->getNicknameField()->setText("Zo\xE9");
    f.press(WindowNewGameMulti::CREATE);
    EXPECT_EQ(f.peer.hosted, std::vector<std::string>{"Partie de Zo\xE9/2"});
    EXPECT_EQ(f.peer.getNickname(), "Zo\xE9");
    EXPECT_EQ(f.setup.mNetworkPlayerNickname, "Zo\xE9");
    EXPECT_FALSE(f.menuOpen());
    EXPECT_EQ(f.opened, Log{"waiting host"});
}

TEST(WindowNewGameMulti, AFailedHostStaysInTheMenuWithTheError)
{
    NetworkMenu f("Max");
    f.peer.hostResult = ERROR_FAILED;
    f.press(WindowNewGameMulti::CREATE);
    EXPECT_TRUE(f.menuOpen());
    EXPECT_NE(f.only<MessageDialog>(), nullptr);
    EXPECT_TRUE(f.opened.empty());
}

TEST(WindowNewGameMulti, JoinOnlineAndBackLeaveTheMenu)
{
    {
        NetworkMenu f("Max");
        f.press(WindowNewGameMulti::JOIN);
        EXPECT_FALSE(f.menuOpen());
        EXPECT_EQ(f.opened, Log{"join"});
    }
    {
        NetworkMenu f("Max");
        f.press(WindowNewGameMulti::ONLINE);
        EXPECT_FALSE(f.menuOpen());
        EXPECT_NE(f.only<OnlineGameWindow>(), nullptr);
    }
    {
        NetworkMenu f("Max");
        f.press(WindowNewGameMulti::BACK);
        EXPECT_FALSE(f.menuOpen());
        EXPECT_NE(f.only<WindowMenu>(), nullptr);
    }
}

TEST(WindowNewGameMulti, ItsUpdateRunsMessagesAndDropsOtherEvents)
{
    NetworkMenu f("Max");
    int runs = 0;
    f.peer.postEvent(std::make_unique<NetworkDataEvent>(1, 0));
    f.peer.postEvent(
        std::make_unique<NetworkMessageEvent>(std::make_unique<CountingMessage>(&runs), nullptr));
    f.app.frame(16);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(f.peer.popEvent(), nullptr);
}
