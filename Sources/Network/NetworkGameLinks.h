#pragma once
// What executing a received message needs from the game above this layer: the
// in-game screen, the chat panels, the waiting window of a network game, the
// lobby client and the language texts. The screens implement these interfaces
// and the game application installs the links; this layer never includes a
// screen's header.
#include <cstdint>
#include <string>

class ChatMessage;
class NetworkPlayerInfo;

// Language ids of the texts this layer shows.
namespace NetworkTextId
{
constexpr uint32_t DisconnectHostLeft = 24;       // LANG_NETWORK_EVENT_DISCONNECT_HOST_LEFT
constexpr uint32_t DisconnectConnectionLost = 25; // LANG_NETWORK_EVENT_DISCONNECT_CONNECTION_LOST
constexpr uint32_t SyncError = 268;               // LANG_NETWORK_SYNC_ERROR
} // namespace NetworkTextId

class NetworkChatPanel
{
public:
    virtual ~NetworkChatPanel() = default;
    // One received line and the player who wrote it (the panel formats it).
    virtual void appendMessage(const ChatMessage& message, const NetworkPlayerInfo* sender) = 0;
};

// The in-game screen of the current game, as a received move sees it.
class NetworkGameScreen
{
public:
    virtual ~NetworkGameScreen() = default;
    // Null when the screen has no chat panel.
    virtual NetworkChatPanel* getChatPanel() = 0;
    // The game player that stands for this network record: its player kind
    // and side. False when no player of the game names the record.
    virtual bool findPlayerByNetworkRecord(const NetworkPlayerInfo* record, uint32_t& kind,
                                           uint32_t& side) = 0;
    virtual uint32_t getSideToMove() = 0;
    virtual bool isPieceOnBoard(uint32_t side, uint32_t rank) = 0;
    // The number of moves the board generates for a piece on the board.
    virtual uint32_t countPieceMoves(uint32_t side, uint32_t rank) = 0;
    // Plays the move at that index exactly as a local move.
    virtual void playMove(uint32_t side, uint32_t rank, uint32_t moveIndex) = 0;
    // Ends the network game and shows the text (nothing when it is empty).
    virtual void leaveToMainMenu(const std::string& message) = 0;
};

// The waiting window of a network game, before the game starts.
class NetworkWaitingWindow
{
public:
    virtual ~NetworkWaitingWindow() = default;
    virtual NetworkChatPanel* getChatPanel() = 0;
};

// The online lobby client, listening to its connection.
class NetworkListener
{
public:
    virtual ~NetworkListener() = default;
    virtual void onFailure(const std::string& text) = 0;
    virtual void onChat(const std::string& text) = 0;
    virtual uint32_t getState() const = 0;
};

// Installed by the game application for the whole run.
class NetworkGameLinks
{
public:
    virtual ~NetworkGameLinks() = default;
    // Null outside a game.
    virtual NetworkGameScreen* getGameScreen() = 0;
    // Null unless the waiting window is open.
    virtual NetworkWaitingWindow* getWaitingWindow() = 0;
    // The language table's text, or empty when the table is not loaded.
    virtual std::string getText(uint32_t languageId) = 0;
};

// Null restores "no game": no screen, no window, empty texts.
void setNetworkGameLinks(NetworkGameLinks* links);
NetworkGameLinks* getNetworkGameLinks();
std::string getNetworkText(uint32_t languageId);
