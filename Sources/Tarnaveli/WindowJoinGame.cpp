#include "Tarnaveli/WindowJoinGame.h"

#include "Framework/LangTable.h"
#include "Gui/ContainerLift.h"
#include "Gui/Label.h"
#include "Gui/TextButton.h"
#include "Network/NetworkPeer.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/WindowPrepareGame.h"

#include <mutex>

namespace
{
constexpr int32_t kClientSize = 400;
constexpr uint32_t kButtonsOkCancel = 9;
constexpr uint32_t kListLook = 8;
constexpr int32_t kRowHeight = 32;
constexpr int32_t kRefreshWidth = 128;
constexpr int32_t kRefreshHeight = 32;
constexpr uint32_t kRefreshLook = 0;
constexpr uint32_t kBlack = 0xFF000000;
} // namespace

WindowJoinGame::WindowJoinGame(NetworkPeer& network, NetworkWindowServices& services)
    : Dialog(kClientSize, kClientSize, getLangText(LANG_WINDOWJOINGAME_TITLE), kButtonsOkCancel, true, true,
             LOOK_DIALOG),
      mNetwork(network), mServices(services)
{
    setButtonCaption(0, getLangText(LANG_WINDOWJOINGAME_JOIN));
    const int32_t left = getContentLeft();
    const int32_t top = getContentTop();
    const int32_t listHeight = getContentHeight() - kRefreshHeight;
    mList = new ContainerLift(left, top, getContentWidth(), listHeight, kListLook, 0);
    mList->onSelect.mFunction = [this](Component*, uint32_t)
    { setJoinEnabled(mList->getSelectedIndex() >= 0); };
    addChild(mList);
    mRefresh = new TextButton(left, top + listHeight, kRefreshWidth, kRefreshHeight,
                              getLangText(LANG_WINDOWJOINGAME_REFRESH), kRefreshLook,
                              getLangText(LANG_WINDOWJOINGAME_REFRESH_INFOTIP));
    // The list follows every host's answer already; Refresh starts the
    // listing again so that hosts which went away drop out.
    mRefresh->onClick.mFunction = [this](Component*, uint32_t)
    {
        std::scoped_lock guard(mNetwork);
        mNetwork.cancelEnumeration();
        mEnumerating = 0;
    };
    addChild(mRefresh);
    setJoinEnabled(false);
}

WindowJoinGame::~WindowJoinGame()
{
    std::scoped_lock guard(mNetwork);
    mNetwork.cancelEnumeration();
}

void WindowJoinGame::animate()
{
    Dialog::animate();
    update();
}

void WindowJoinGame::setJoinEnabled(bool enabled)
{
    mJoinEnabled = enabled;
    if (auto* button = dynamic_cast<TextButton*>(getButton(0)))
        button->setEnabled(enabled);
}

void WindowJoinGame::showError(const std::string& text)
{
    auto* dialog = new MessageDialog(getLangText(LANG_ERROR), text, 1, nullptr, nullptr);
    dialog->open();
}

void WindowJoinGame::rebuildList()
{
    mList->clear();
    for (const auto& session : mNetwork.getSessions())
    {
        mList->addRow(new Label(0, 0, mList->getContent()->getWidth(), kRowHeight, session->mSessionName,
                                kBlack, TEXT_ALIGN_LEFT));
    }
    setJoinEnabled(mList->getSelectedIndex() >= 0);
}

bool WindowJoinGame::onConnectResult(uint32_t result)
{
    mJoining = 0;
    switch (result)
    {
    case 0:
    {
        auto* waiting = new WindowPrepareGame(mNetwork, mServices);
        waiting->open();
        mDone = true;
        close();
        return true;
    }
    case 1:
        showError(getLangText(LANG_WINDOWJOINGAME_BANISHED));
        break;
    case 2:
        showError(getLangText(LANG_WINDOWJOINGAME_GAME_FULL));
        break;
    case 4:
        showError(getLangText(LANG_WINDOWJOINGAME_UNABLE_TO_CONNECT));
        break;
    default:
        break;
    }
    // The listing was cancelled for the attempt: list again.
    mEnumerating = 0;
    return false;
}

void WindowJoinGame::update()
{
    if (mDone)
        return;
    std::scoped_lock guard(mNetwork);
    if (mEnumerating == 0 && mJoining == 0)
    {
        ErrorCode code = mNetwork.enumHosts(std::string(), 0);
        if (code != ERROR_OK)
        {
            showError(code == ERROR_NETWORK_INVALID_HOST_ADRESS
                          ? getLangText(LANG_ERROR_NETWORK_INVALID_HOST_ADRESS)
                          : getLangText(LANG_WINDOWJOINGAME_UNABLE_TO_LIST_GAME));
        }
        // Set even on failure, so that the failure is shown once.
        mEnumerating = 1;
        mUnreachableShown = false;
    }
    // Without this the list would stay empty forever without a word.
    if (mEnumerating != 0 && mJoining == 0 && !mUnreachableShown && mNetwork.isListingUnreachable())
    {
        mUnreachableShown = true;
        showError(getLangText(LANG_WINDOWJOINGAME_UNABLE_TO_LIST_GAME));
    }
    // However many answers came in since the last frame, the list is built
    // once.
    bool changed = false;
    while (auto event = mNetwork.popEvent())
    {
        if (event->getKind() == NETWORK_EVENT_SESSIONS_CHANGED)
        {
            changed = true;
        }
        else if (event->getKind() == NETWORK_EVENT_CONNECT_RESULT && mJoining != 0)
        {
            if (onConnectResult(static_cast<NetworkDataEvent&>(*event).getData()))
                return;
        }
    }
    if (changed)
        rebuildList();
}

void WindowJoinGame::onResult(uint32_t buttonBits)
{
    if (buttonBits == 1)
    {
        int32_t index = mList->getSelectedIndex();
        std::scoped_lock guard(mNetwork);
        const auto& sessions = mNetwork.getSessions();
        // The list may be older than the sessions; a stale or missing
        // selection, or a join already under way, does nothing.
        if (!mJoinEnabled || mJoining != 0 || index < 0 || static_cast<size_t>(index) >= sessions.size())
            return;
        NetworkSessionInfo session = *sessions[static_cast<size_t>(index)];
        mNetwork.cancelEnumeration();
        mJoining = 1;
        if (mNetwork.connect(session) != ERROR_OK)
        {
            mJoining = 0;
            mEnumerating = 0;
            showError(getLangText(LANG_WINDOWJOINGAME_UNABLE_TO_CONNECT));
        }
        return;
    }
    if (buttonBits == 8)
    {
        mDone = true;
        close();
        mServices.openNetworkMenu();
    }
}
