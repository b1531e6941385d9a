#include "Tarnaveli/ChatWindow.h"

#include "Gui/TextButton.h"

namespace
{
ChatWindow::PanelMaker& panelMaker()
{
    static ChatWindow::PanelMaker maker;
    return maker;
}
} // namespace

void ChatWindow::setPanelMaker(PanelMaker maker)
{
    panelMaker() = std::move(maker);
}

ChatWindow::ChatWindow() : Window(400, 0, CLIENT_WIDTH, CLIENT_HEIGHT, true, WINDOW_LOOK, false, false)
{
    mHideButton = new TextButton(CLIENT_WIDTH - BUTTON_SIZE, 0, BUTTON_SIZE, BUTTON_SIZE, std::string(),
                                 BUTTON_LOOK, std::string());
    mHideButton->onClick.mFunction = [this](Component*, uint32_t) { hide(); };
    addChild(mHideButton);
    if (panelMaker())
    {
        mPanel = panelMaker()(0, BUTTON_SIZE, CLIENT_WIDTH, CLIENT_HEIGHT - BUTTON_SIZE);
        if (mPanel != nullptr)
            addChild(mPanel);
    }
}

void ChatWindow::hide()
{
    setVisible(false);
    if (onHidden)
        onHidden();
}
