#pragma once
// What the network game windows (the list of games to join, the waiting
// room) ask of the screens that live elsewhere: the network menu, the
// in-game screen and the chat panel. The game application answers.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class Component;
class NetworkChatPanel;
class Player;

// A chat panel as the waiting window holds it: the widget it adds as a
// child, the receiver of chat messages, and the notices it shows itself.
// Without a widget the window keeps the lines in its own list.
struct WaitingChatPanel
{
    Component* widget = nullptr;
    NetworkChatPanel* receiver = nullptr;
    std::function<void(const std::string& text, uint32_t color)> append;
};

class NetworkWindowServices
{
public:
    virtual void openNetworkMenu() = 0;
    // A new game screen playing white (side 0) against black; the players
    // are network players, kind 3 for this machine's side.
    virtual void startNetworkGame(std::unique_ptr<Player> white, std::unique_ptr<Player> black) = 0;
    // A chat panel filling the rectangle, in the window's client coordinates.
    virtual WaitingChatPanel createChatPanel(int32_t x, int32_t y, int32_t width, int32_t height) = 0;

protected:
    ~NetworkWindowServices() = default;
};
