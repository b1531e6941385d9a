#pragma once
// Lists the games hosted on the local network and joins one. The list is
// rebuilt on every answer of a host; the window polls the network object's
// events once per frame under its lock.
#include "Gui/Dialog.h"
#include "Tarnaveli/NetworkWindowServices.h"

class ContainerLift;
class NetworkPeer;
class TextButton;

class WindowJoinGame : public Dialog
{
public:
    WindowJoinGame(NetworkPeer& network, NetworkWindowServices& services);
    // Stops the listing.
    ~WindowJoinGame() override;

    void animate() override;
    void onResult(uint32_t buttonBits) override;

    // The frame's work: starts the listing when it is not running, then
    // handles every pending event.
    void update();

    ContainerLift* getList() const { return mList; }
    bool isJoinEnabled() const { return mJoinEnabled; }
    bool isEnumerating() const { return mEnumerating != 0; }
    bool isJoining() const { return mJoining != 0; }

private:
    void rebuildList();
    void setJoinEnabled(bool enabled);
    void showError(const std::string& text);
    // True when the window has been replaced and must stop for this frame.
    bool onConnectResult(uint32_t result);

    NetworkPeer& mNetwork;
    NetworkWindowServices& mServices;
    ContainerLift* mList = nullptr;
    TextButton* mRefresh = nullptr;
    uint8_t mEnumerating = 0;
    uint8_t mJoining = 0;
    // The unreachable network is told once per listing.
    bool mUnreachableShown = false;
    bool mJoinEnabled = false;
    bool mDone = false;
};
