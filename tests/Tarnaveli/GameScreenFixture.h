#pragma once
// An in-game screen over the GUI test application, with the game's texts
// loaded, a board view that records what the screen asks of it, and a
// network object that keeps what is sent.
#include "../Gui/GuiTestSupport.h"
#include "FakeGameServices.h"
#include "Framework/LangTable.h"
#include "Network/GameMessages.h"
#include "Network/NetworkEvent.h"
#include "Network/NetworkPeer.h"
#include "Network/NetworkPlayerInfo.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/NetworkPlayer.h"
#include "Tarnaveli/Board/PlayerKinds.h"
#include "Tarnaveli/ChatPanel.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/GameScreen.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class FakeBoardView final : public GameScreenView
{
public:
    FakeBoardView(Board& board, std::vector<std::string>& log) : board(&board), log(log) {}
    Component* getWidget() override { return widget; }
    void startMove(const Move& move) override
    {
        // The view keeps its own copy of the move's list.
        list = *move.getOwner();
        const int32_t index = move.getOwner()->indexOf(&move);
        current = index >= 0 ? &list[static_cast<uint32_t>(index)] : nullptr;
        log.push_back("start " + std::to_string(move.getTargetX()) + "," + std::to_string(move.getTargetY()));
    }
    void resetForNewGame() override
    {
        current = nullptr;
        log.push_back("reset");
    }
    ErrorCode render3D() override { return 0; }
    void setButtonsEnabled(bool enabled) override { log.push_back(enabled ? "buttons on" : "buttons off"); }
    void enableChatButton() override { log.push_back("chat button"); }
    bool isShowingMove() override { return current != nullptr; }

    // The animation ends: the move is played and the screen told.
    void finish(GameScreen& screen)
    {
        ASSERT_NE(current, nullptr);
        Move move = *current;
        board->playMove(*current);
        current = nullptr;
        screen.onMoveFinished(move);
    }

    Board* board;
    std::vector<std::string>& log;
    Component* widget = new Component(0, 0, 1024, 768);
    MoveList list;
    Move* current = nullptr;
};

class FakePeer final : public NetworkPeer
{
public:
    FakePeer() : NetworkPeer(0, 0) {}
    ErrorCode init() override { return 0; }
    ErrorCode host(const std::string&, uint32_t) override { return 0; }
    ErrorCode enumHosts(const std::string&, uint32_t) override { return 0; }
    ErrorCode cancelEnumeration() override { return 0; }
    ErrorCode connect(const NetworkSessionInfo&) override { return 0; }
    ErrorCode cancelConnect() override { return 0; }
    ErrorCode closeSession() override
    {
        ++closed;
        return 0;
    }
    ErrorCode send(std::unique_ptr<NetworkMessage> message, NetworkPlayerInfo* target) override
    {
        sent.push_back(std::move(message));
        targets.push_back(target);
        return 0;
    }
    ErrorCode setApplicationGuid(const void*, uint32_t) override { return 0; }
    NetworkPlayerInfo* getLocalPlayer() const override { return local.get(); }

    std::shared_ptr<NetworkPlayerInfo> local = std::make_shared<NetworkPlayerInfo>("Ana");
    std::shared_ptr<NetworkPlayerInfo> remote = std::make_shared<NetworkPlayerInfo>("Bruno");
    std::vector<std::unique_ptr<NetworkMessage>> sent;
    std::vector<NetworkPlayerInfo*> targets;
    int closed = 0;
};

struct GameScreenFixture
{
    GameScreenFixture()
    {
        registerPlayerKinds();
        Platform::setProgramDirectory(folder.path());
        std::filesystem::create_directories(folder.path() + "data/saves");
        LangTable* lang = app.getLangTable();
        if (lang == nullptr)
        {
            app.setService(std::make_unique<LangTable>());
            lang = app.getLangTable();
        }
        registerGameTexts(*lang);
        // The game's texts count as loaded only once the language file was
        // read; the test application names none, so it gets one here.
        const_cast<ApplicationSettings&>(app.getSettings()).mLanguageFile = "lang.ini";
        loaded = lang->init() == ERROR_OK;
        GameScreen::installLinks();
        game.makeView = [this](GameScreen&, Board& board)
        {
            auto made = std::make_unique<FakeBoardView>(board, log);
            view = made.get();
            return made;
        };
        game.network = &peer;
        ChatPanel::networkSource() = [this] { return &peer; };
    }
    ~GameScreenFixture()
    {
        ChatPanel::networkSource() = nullptr;
        setNetworkGameLinks(nullptr);
    }

    GameScreen* openScreen()
    {
        screen = new GameScreen(game);
        return screen;
    }
    // Side 0 is this machine's person, side 1 the remote opponent.
    void startNetworkGame()
    {
        screen->newGame(std::make_unique<NetworkPlayer>(PLAYER_NETWORK_LOCAL, 0, peer.local.get()),
                        std::make_unique<NetworkPlayer>(PLAYER_NETWORK_REMOTE, 1, peer.remote.get()), false);
        app.gui().processDeferred();
    }
    void receive(std::unique_ptr<NetworkMessage> message, std::shared_ptr<NetworkPlayerInfo> sender)
    {
        peer.postEvent(std::make_unique<NetworkMessageEvent>(std::move(message), std::move(sender)));
    }
    static std::unique_ptr<MoveMessage> moveMessage(uint8_t rank, uint8_t index)
    {
        auto payload = std::make_unique<MovePayload>(rank, index);
        payload->computeSize();
        return std::make_unique<MoveMessage>(std::move(payload));
    }
    bool hasLayer(Layer* layer)
    {
        for (Component* child : app.root().getChildren())
            if (child == layer)
                return true;
        return false;
    }
    MessageDialog* topDialog()
    {
        const auto& children = app.root().getChildren();
        return children.empty() ? nullptr : dynamic_cast<MessageDialog*>(children.back());
    }

    Platform::TemporaryDirectory folder;
    FakeGameServices game;
    GuiTestApplication app;
    bool loaded = false;
    FakePeer peer;
    std::vector<std::string>& log = game.calls;
    FakeBoardView* view = nullptr;
    GameScreen* screen = nullptr;
    int& mainMenus = game.mainMenus;
};
