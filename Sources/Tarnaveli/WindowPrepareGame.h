#pragma once
// The waiting window of a network game: the player slots of the session, the
// chat, and on the host the Launch button. Both sides start the game from
// here, the joiner when the host's start message arrives.
#include "Gui/Dialog.h"
#include "Network/NetworkGameLinks.h"
#include "Tarnaveli/NetworkWindowServices.h"

#include <memory>
#include <string>
#include <vector>

class Container;
class NetworkPeer;
class RenderList;

class WindowPrepareGame : public Dialog, public NetworkWaitingWindow
{
public:
    WindowPrepareGame(NetworkPeer& network, NetworkWindowServices& services);
    ~WindowPrepareGame() override;

    // The open waiting window, or null; received chat lines fall back to it.
    static WindowPrepareGame* current();

    void animate() override;
    void updateLayout() override;
    void onResult(uint32_t buttonBits) override;
    NetworkChatPanel* getChatPanel() override { return mChat.receiver; }

    // The frame's work: handles every pending event.
    void update();
    // One slot label per player slot, refreshed from the session.
    void refreshRows();

    bool isLaunchEnabled() const { return mLaunchEnabled; }
    bool isGameStarted() const { return mGameStarted; }
    const std::vector<Label*>& getRows() const { return mRows; }
    // Every notice and chat line shown, in order (the fallback panel's lines
    // or what was handed to the chat panel).
    const std::vector<std::string>& getNotices() const { return mNotices; }

private:
    void appendNotice(const std::string& text, uint32_t color);
    void startGame();
    void setLaunchEnabled(bool enabled);
    void clipRows();

    NetworkPeer& mNetwork;
    NetworkWindowServices& mServices;
    Container* mPanel = nullptr;
    std::vector<Label*> mRows;
    // Each row's text is clipped to its row: a name is the peer's, as long
    // as the name field lets it be.
    std::vector<std::unique_ptr<RenderList>> mRowClips;
    WaitingChatPanel mChat;
    std::vector<std::string> mNotices;
    // The players the rows show, slot by slot.
    std::vector<const NetworkPlayerInfo*> mShown;
    bool mLaunchEnabled = false;
    bool mGameStarted = false;
};
