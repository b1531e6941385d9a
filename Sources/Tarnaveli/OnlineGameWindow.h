#pragma once
// The window that connects to the online matchmaking server. It makes its
// lobby client on its first frame; any failure, a disconnection or a line
// from the server returns to the main menu with the text in an error box.
#include "Gui/Dialog.h"
#include "Tarnaveli/MenuServices.h"

#include <functional>
#include <memory>

class Label;
class LobbyClient;

class OnlineGameWindow : public Dialog
{
public:
    explicit OnlineGameWindow(MenuServices& services);
    ~OnlineGameWindow() override;

    void animate() override;
    void onResult(uint32_t buttonBits) override;
    // Closes, opens the main menu and, with a text, shows it in an error box.
    void abort(const std::string& message);

    // The lobby client's notifications.
    void onLobbyFailure(const std::string& text) { abort(text); }
    void onLobbyDisconnected(const std::string& text) { abort(text); }
    void onLobbyChat(const std::string& text) { abort(text); }

    Label* getStatusLabel() const { return mStatus; }
    LobbyClient* getLobbyClient() const { return mClient.get(); }
    bool isAborted() const { return mAborted; }

    // "%i" markers of a text filled in order; a text with fewer keeps the rest.
    static std::string fillCounts(const std::string& text, int32_t first, int32_t second);

private:
    MenuServices& mServices;
    Label* mStatus = nullptr;
    std::unique_ptr<LobbyClient> mClient;
    bool mAborted = false;
};
