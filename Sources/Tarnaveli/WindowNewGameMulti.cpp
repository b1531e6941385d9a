#include "Tarnaveli/WindowNewGameMulti.h"

#include "Framework/LangTable.h"
#include "Gui/Label.h"
#include "Gui/TextButton.h"
#include "Gui/TextField.h"
#include "Network/NetworkEvent.h"
#include "Network/NetworkMessage.h"
#include "Network/NetworkPeer.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/GameTextFormat.h"
#include "Tarnaveli/OnlineGameWindow.h"
#include "Tarnaveli/SetupConfig.h"
#include "Tarnaveli/WindowMenu.h"

#include <mutex>
#include <string>

namespace
{
constexpr int32_t kNicknameLabelWidth = 128;
constexpr int32_t kRowHeight = 32;

void showError(const std::string& text)
{
    (new MessageDialog(getLangText(LANG_ERROR), text, 1, nullptr, nullptr))->open();
}
} // namespace

WindowNewGameMulti::WindowNewGameMulti(MenuServices& services)
    : TextMenuWindowBase(4, getLangText(LANG_WINDOWNEWGAMEMULTI_TITLE), kRowHeight), mServices(services)
{
    mServices.openMenuVideoWindow();
    addEntry(CREATE, getLangText(LANG_WINDOWNEWGAMEMULTI_CREATE),
             getLangText(LANG_WINDOWNEWGAMEMULTI_CREATE_INFOTIP),
             [](TextButton*, TextMenuWindowBase* menu)
             { static_cast<WindowNewGameMulti*>(menu)->createGame(); });
    addEntry(JOIN, getLangText(LANG_WINDOWNEWGAMEMULTI_JOIN),
             getLangText(LANG_WINDOWNEWGAMEMULTI_JOIN_INFOTIP),
             [this](TextButton*, TextMenuWindowBase* menu)
             {
                 if (!checkNickname())
                     return;
                 mServices.openJoinWindow();
                 menu->close();
             });
    addEntry(ONLINE, getLangText(LANG_WINDOWGAMETYPE_MORVEXGAMES),
             getLangText(LANG_WINDOWGAMETYPE_MORVEXGAMES_INFOTIP),
             [this](TextButton*, TextMenuWindowBase* menu)
             {
                 if (!checkNickname())
                     return;
                 (new OnlineGameWindow(mServices))->open();
                 menu->close();
             });
    addEntry(BACK, getLangText(LANG_WINDOW_PREVIOUS_MENU), getLangText(LANG_WINDOW_PREVIOUS_MENU_INFOTIP),
             [this](TextButton*, TextMenuWindowBase* menu)
             {
                 menu->close();
                 WindowMenu::openNew(mServices);
             });

    const int32_t y = rowBelowEntries();
    addChild(std::make_unique<Label>(getContentLeft(), y, kNicknameLabelWidth, kRowHeight,
                                     getLangText(LANG_WINDOWNEWGAMEMULTI_LABEL_NICKNAME), 0xFF000000, 0));
    mNickname =
        new TextField(getContentLeft() + kNicknameLabelWidth, y, getContentWidth() - kNicknameLabelWidth,
                      kRowHeight, mServices.getSetup().mNetworkPlayerNickname, NICKNAME_LENGTH, 0xFF000000);
    addChild(mNickname);
}

bool WindowNewGameMulti::checkNickname()
{
    const std::string nickname = mNickname->getText();
    if (nickname.empty())
    {
        showError(getLangText(LANG_INVALID_NETWORK_PSEUDO));
        return false;
    }
    if (NetworkPeer* peer = mServices.getNetwork())
    {
        std::scoped_lock lock(*peer);
        peer->setNickname(nickname);
    }
    mServices.getSetup().mNetworkPlayerNickname = nickname;
    return true;
}

void WindowNewGameMulti::createGame()
{
    NetworkPeer* peer = mServices.getNetwork();
    std::unique_lock<NetworkPeer> lock;
    if (peer != nullptr)
        lock = std::unique_lock<NetworkPeer>(*peer);
    if (!checkNickname() || peer == nullptr)
        return;
    ErrorCode code = peer->host(getLangText(LANG_GAME_NAME) + mNickname->getText(), 2);
    if (code != ERROR_OK)
    {
        std::string text = getLangText(LANG_UNABLE_TO_CREATE_GAME) + GameApplication::getErrorText(code);
        // Hosting fails so when something else on this machine holds the
        // port: name it, so that the player can tell which program to close.
        if (code == ERROR_NETWORK_ALREADY_IN_A_GAME)
            text += formatGameText(" (port %i)", {std::to_string(peer->getHostPort())});
        showError(text);
        return;
    }
    close();
    mServices.openWaitingWindow();
}

void WindowNewGameMulti::animate()
{
    TextMenuWindowBase::animate();
    NetworkPeer* peer = mServices.getNetwork();
    if (peer == nullptr)
        return;
    std::scoped_lock lock(*peer);
    for (uint32_t handled = 0; handled < NetworkEndpoint::kEventsPerFrame; ++handled)
    {
        std::unique_ptr<NetworkEvent> event = peer->popEvent();
        if (!event)
            break;
        if (event->getKind() != NETWORK_EVENT_MESSAGE)
            continue;
        auto* received = static_cast<NetworkMessageEvent*>(event.get());
        if (NetworkMessage* message = received->getMessage())
            message->execute(peer, received->getSender());
    }
}
