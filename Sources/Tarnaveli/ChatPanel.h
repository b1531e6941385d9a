#pragma once
// The chat of a network game: a scrolling list of lines above a text field
// and a send button. Lines come from the local player, from received chat
// messages and from the screens' own notices; the list keeps the newest
// lines.
#include "Gui/Container.h"
#include "Network/NetworkGameLinks.h"
#include "Tarnaveli/NetworkWindowServices.h"

#include <cstdint>
#include <functional>
#include <string>

class ContainerLift;
class NetworkPeer;
class TextButton;
class TextField;

class ChatPanel : public Container, public NetworkChatPanel
{
public:
    static constexpr uint32_t kLookId = 8;
    static constexpr int32_t kRowHeight = 24;
    static constexpr int32_t kBarHeight = 32;
    static constexpr int32_t kButtonWidth = 128;
    static constexpr uint32_t kMaxLength = 256;
    // What the panel keeps, whatever a peer sends: lines of at most this many
    // characters (room for a name, " : " and a full field), and the newest
    // lines only. Every character shown is an image of its own.
    static constexpr size_t kMaxLineLength = kMaxLength + 80;
    static constexpr uint32_t kMaxLines = 100;
    static constexpr uint32_t kLocalColor = 0xFF008000;
    static constexpr uint32_t kRemoteColor = 0xFFFFFFFF;
    // Darkens the list's pale parchment so that white, green and olive lines
    // all read on it (a contrast of at least 3:1).
    static constexpr uint32_t kListTint = 0xFF241A10;
    // The key that sends, like the button.
    static constexpr uint32_t kSendKey = 58;

    // The network object the panel sends through; empty: the game
    // application's. Tests put their own.
    static std::function<NetworkPeer*()>& networkSource();

    ChatPanel(int32_t x, int32_t y, int32_t width, int32_t height);
    ~ChatPanel() override;
    // A panel as the waiting window holds it: widget, receiver of chat
    // messages and list of the window's notices at once.
    static WaitingChatPanel makeWaitingPanel(int32_t x, int32_t y, int32_t width, int32_t height);

    uint32_t onKeyEvent(const KeyEvent& event) override;

    // One line at the end of the list, which then shows its end.
    void append(const std::string& text, uint32_t color);
    // A received line: "name : text", green when the sender is this machine's
    // player, white otherwise.
    void appendMessage(const ChatMessage& message, const NetworkPlayerInfo* sender) override;
    // The field's text to every other player, and into the list as ours.
    void send();

    ContainerLift* getList() const { return mList; }
    TextField* getField() const { return mField; }
    TextButton* getSendButton() const { return mSendButton; }

private:
    void updateSendButton();

    ContainerLift* mList = nullptr;
    TextField* mField = nullptr;
    TextButton* mSendButton = nullptr;
};
