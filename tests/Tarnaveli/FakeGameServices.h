#pragma once
// The game as the menus, the in-game screen and the network windows see it,
// for their tests: it records what they ask for and answers from objects the
// test sets. Declare it before the test application, so that windows the
// application deletes at its end still find it.
#include "Gui/Layer.h"
#include "Tarnaveli/Board/NetworkPlayer.h"
#include "Tarnaveli/ChatPanel.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/GameScreenServices.h"
#include "Tarnaveli/InGameServices.h"
#include "Tarnaveli/MenuServices.h"
#include "Tarnaveli/MenuVideoWindow.h"
#include "Tarnaveli/NetworkWindowServices.h"
#include "Tarnaveli/ScoreTable.h"
#include "Tarnaveli/SetupConfig.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A network game the waiting window started.
struct StartedGame
{
    uint32_t whiteKind = 0;
    uint32_t blackKind = 0;
    NetworkPlayerInfo* whiteInfo = nullptr;
    NetworkPlayerInfo* blackInfo = nullptr;
};

// The game's links of received messages, with the waiting window the test
// names; installed by the test, gone with it.
struct WaitingWindowLinks final : GameScreenLinks
{
    ~WaitingWindowLinks() override
    {
        if (getNetworkGameLinks() == this)
            setNetworkGameLinks(nullptr);
    }
    NetworkWaitingWindow* getWaitingWindow() override { return window; }
    NetworkWaitingWindow* window = nullptr;
};

class FakeGameServices final : public MenuServices,
                               public InGameServices,
                               public NetworkWindowServices,
                               public GameScreenServices
{
public:
    // A plain layer holding the chat panel, in place of the game's chat window.
    class PlainChatLayer final : public Layer
    {
    public:
        PlainChatLayer() : Layer(400, 0, 300, 232, GameScreen::kLookId, false)
        {
            panel = addChild(std::make_unique<ChatPanel>(0, 32, 300, 200));
        }
        ChatPanel* panel;
    };

    // MenuServices.
    SetupConfig& getSetup() override { return setup; }
    ScoreTable* getScoreTable() const override { return &table; }
    GameDescription* getGameDescription() const override { return description; }
    NetworkPeer* getNetwork() const override { return network; }
    void openMenuVideoWindow() override
    {
        calls.push_back("video on");
        if (opensMenuVideo && MenuVideoWindow::current() == nullptr)
            MenuVideoWindow::openNew(*this);
    }
    void closeMenuVideoWindow() override { calls.push_back("video off"); }
    void startMenuMusic() override { calls.push_back("menu music"); }
    void startLocalGame(const LocalGameRequest& request) override { localGames.push_back(request); }
    void openLoadDialog(bool inGame) override { calls.push_back(inGame ? "load in game" : "load"); }
    void openNetworkMenu() override
    {
        calls.push_back("network menu");
        ++networkMenus;
    }
    void openOptions() override { calls.push_back("options"); }
    void openJoinWindow() override { opened.push_back("join"); }
    void openWaitingWindow() override { opened.push_back("waiting host"); }
    void quit() override { calls.push_back("quit"); }
    void fatalQuit() override { calls.push_back("fatal quit"); }

    // InGameServices.
    void playEffect(uint32_t soundId) override { calls.push_back("sound " + std::to_string(soundId)); }
    void openSaveDialog() override { calls.push_back("save"); }
    void leaveToMainMenu(const std::string& text) override { calls.push_back("leave [" + text + "]"); }
    void closeGameMenu() override { calls.push_back("board buttons back"); }
    bool isNetworkGame() const override { return networkGame; }
    bool isGameOver() const override { return gameOver; }

    // NetworkWindowServices.
    void startNetworkGame(std::unique_ptr<Player> white, std::unique_ptr<Player> black) override
    {
        StartedGame game;
        game.whiteKind = white->getKind();
        game.blackKind = black->getKind();
        game.whiteInfo = static_cast<NetworkPlayer&>(*white).getInfo();
        game.blackInfo = static_cast<NetworkPlayer&>(*black).getInfo();
        networkGames.push_back(game);
    }
    WaitingChatPanel createChatPanel(int32_t x, int32_t y, int32_t width, int32_t height) override
    {
        return makeChatPanel ? makeChatPanel(x, y, width, height) : WaitingChatPanel{};
    }

    // GameScreenServices.
    std::unique_ptr<GameScreenView> createView(GameScreen& screen, Board& board) override
    {
        return makeView ? makeView(screen, board) : nullptr;
    }
    ChatWindowParts createChatWindow(GameScreen&) override
    {
        auto* layer = new PlainChatLayer();
        return {layer, layer->panel};
    }
    Layer* openGameMenu(GameScreen&) override
    {
        ++gameMenus;
        return nullptr;
    }
    void openEndWindow(GameScreen&, uint32_t winner) override
    {
        calls.push_back("end " + std::to_string(winner));
    }
    void openMainMenu() override { ++mainMenus; }

    // What it answers with.
    SetupConfig setup;
    mutable ScoreTable table;
    GameDescription* description = nullptr;
    NetworkPeer* network = nullptr;
    bool networkGame = false;
    bool gameOver = false;
    // The menu's video window opens for real, once.
    bool opensMenuVideo = false;
    std::function<WaitingChatPanel(int32_t x, int32_t y, int32_t width, int32_t height)> makeChatPanel;
    std::function<std::unique_ptr<GameScreenView>(GameScreen&, Board&)> makeView;

    // What it was asked.
    std::vector<std::string> calls;
    std::vector<std::string> opened;
    std::vector<LocalGameRequest> localGames;
    std::vector<StartedGame> networkGames;
    int networkMenus = 0;
    int gameMenus = 0;
    int mainMenus = 0;
};
