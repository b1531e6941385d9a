#pragma once
// What the network game windows need from screens that live elsewhere: the
// network menu, the in-game screen and the chat panel. The game application
// fills these in; an empty hook is skipped (the chat falls back to a plain
// list of lines).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class Component;
class NetworkChatPanel;
class Player;

// A chat panel as the waiting window holds it: the widget it adds as a
// child, the receiver of chat messages, and the notices it shows itself.
struct WaitingChatPanel
{
    Component* widget = nullptr;
    NetworkChatPanel* receiver = nullptr;
    std::function<void(const std::string& text, uint32_t color)> append;
};

struct NetworkWindowHooks
{
    std::function<void()> openNetworkMenu;
    // A new game screen playing white (side 0) against black; the players
    // are network players, kind 3 for this machine's side.
    std::function<void(std::unique_ptr<Player> white, std::unique_ptr<Player> black)> startNetworkGame;
    // A chat panel filling the rectangle, in the window's client coordinates.
    std::function<WaitingChatPanel(int32_t x, int32_t y, int32_t width, int32_t height)> createChatPanel;
};

NetworkWindowHooks& networkWindowHooks();
// The hook, or else the running game's own network menu.
void openNetworkMenuFromWindow();
