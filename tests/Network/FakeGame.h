#pragma once
// Stand-ins for the screens that received messages reach.
#include "Network/GameMessages.h"
#include "Network/NetworkGameLinks.h"

#include <map>
#include <string>
#include <vector>

struct FakeChatPanel : NetworkChatPanel
{
    struct Line
    {
        std::string text;
        const NetworkPlayerInfo* sender;
    };
    void appendMessage(const ChatMessage& message, const NetworkPlayerInfo* sender) override
    {
        lines.push_back({message.getText(), sender});
    }
    std::vector<Line> lines;
};

struct FakeGameScreen : NetworkGameScreen
{
    struct Player
    {
        uint32_t kind;
        uint32_t side;
    };
    struct Played
    {
        uint32_t side, rank, index;
    };

    NetworkChatPanel* getChatPanel() override { return &chat; }
    bool findPlayerByNetworkRecord(const NetworkPlayerInfo* record, uint32_t& kind, uint32_t& side) override
    {
        auto found = players.find(record);
        if (found == players.end())
            return false;
        kind = found->second.kind;
        side = found->second.side;
        return true;
    }
    uint32_t getSideToMove() override { return sideToMove; }
    bool isPieceOnBoard(uint32_t, uint32_t rank) override { return rank != takenRank; }
    uint32_t countPieceMoves(uint32_t, uint32_t rank) override
    {
        return rank == takenRank ? 0 : movesPerPiece;
    }
    void playMove(uint32_t side, uint32_t rank, uint32_t index) override
    {
        played.push_back({side, rank, index});
    }
    void leaveToMainMenu(const std::string& message) override { left.push_back(message); }

    FakeChatPanel chat;
    std::map<const NetworkPlayerInfo*, Player> players;
    uint32_t sideToMove = 1;
    uint32_t takenRank = 99;
    uint32_t movesPerPiece = 3;
    std::vector<Played> played;
    std::vector<std::string> left;
};

struct FakeWaitingWindow : NetworkWaitingWindow
{
    NetworkChatPanel* getChatPanel() override { return &chat; }
    FakeChatPanel chat;
};

struct FakeListener : NetworkListener
{
    void onFailure(const std::string& text) override { failures.push_back(text); }
    void onChat(const std::string& text) override { chats.push_back(text); }
    uint32_t getState() const override { return state; }
    uint32_t state = 0;
    std::vector<std::string> failures;
    std::vector<std::string> chats;
};

// Installs itself for its lifetime.
struct FakeGameLinks : NetworkGameLinks
{
    FakeGameLinks() { setNetworkGameLinks(this); }
    ~FakeGameLinks() override { setNetworkGameLinks(nullptr); }
    NetworkGameScreen* getGameScreen() override { return screen; }
    NetworkWaitingWindow* getWaitingWindow() override { return window; }
    std::string getText(uint32_t id) override
    {
        return withTexts ? "text " + std::to_string(id) : std::string();
    }

    NetworkGameScreen* screen = nullptr;
    NetworkWaitingWindow* window = nullptr;
    bool withTexts = true;
};
