#pragma once
// The chat of a network game in a small movable window: a button that hides
// it (it stays alive, its lines kept) over the chat panel.
#include "Gui/Window.h"

#include <functional>

class TextButton;

class ChatWindow : public Window
{
public:
    static constexpr int32_t CLIENT_WIDTH = 300;
    static constexpr int32_t CLIENT_HEIGHT = 200;
    static constexpr int32_t BUTTON_SIZE = 32;
    static constexpr uint32_t WINDOW_LOOK = 49;
    static constexpr uint32_t BUTTON_LOOK = 22;

    // Makes the chat panel in its rectangle (client coordinates); the chat
    // panel's owner installs it.
    using PanelMaker = std::function<Component*(int32_t x, int32_t y, int32_t width, int32_t height)>;
    static void setPanelMaker(PanelMaker maker);

    ChatWindow();

    int32_t getContentTop() override { return 0; }
    // The hide button: hides the window and tells the board view.
    void hide();

    // Null without a panel maker.
    Component* getChatPanel() const { return mPanel; }
    TextButton* getHideButton() const { return mHideButton; }

    // The board view's chat-window operation, so that its chat button shows
    // the window again.
    std::function<void()> onHidden;

private:
    Component* mPanel = nullptr;
    TextButton* mHideButton = nullptr;
};
