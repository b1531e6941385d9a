#include "Tarnaveli/WindowPrepareGame.h"

#include "Engine/RenderList.h"
#include "Framework/LangTable.h"
#include "Framework/Utilities.h"
#include "Gui/Container.h"
#include "Gui/Label.h"
#include "Gui/TextButton.h"
#include "Network/GameMessages.h"
#include "Network/NetworkPeer.h"
#include "Tarnaveli/Board/NetworkPlayer.h"
#include "Tarnaveli/Board/Player.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameLang.h"

#include <algorithm>
#include <mutex>

namespace
{
constexpr int32_t kClientSize = 400;
constexpr uint32_t kButtonsOkCancel = 9;
constexpr int32_t kPanelWidth = 256;
constexpr int32_t kPanelHeight = 64;
constexpr uint32_t kPanelLook = 9;
constexpr int32_t kRowHeight = 32;
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kGrey = 0xFF808080;
constexpr uint32_t kNoticeColor = 0xFF808000;
constexpr size_t kMaxNotice = 256;

WindowPrepareGame* gCurrent = nullptr;

SlotTable* slotsOf(NetworkPeer& network)
{
    NetworkPlayerSet* set = network.getPlayerSet();
    return set != nullptr && set->isPlayerTable() ? static_cast<SlotTable*>(set) : nullptr;
}

bool isHost(NetworkPeer& network)
{
    auto* session = dynamic_cast<NetworkSession*>(network.getPlayerSet());
    return session != nullptr && session->isHost();
}

// The player's name in a language text of one "%s"; the name is the peer's
// and may hold anything, so it never serves as a format.
std::string formatNotice(uint32_t textId, const std::string& name)
{
    std::string format = getLangText(textId);
    std::string text;
    size_t at = format.find("%s");
    if (at == std::string::npos)
        text = format;
    else
        text = format.substr(0, at) + name + format.substr(at + 2);
    if (text.size() > kMaxNotice)
        text.resize(kMaxNotice);
    return text;
}
} // namespace

WindowPrepareGame::WindowPrepareGame(NetworkPeer& network, NetworkWindowServices& services)
    : Dialog(kClientSize, kClientSize, getLangText(LANG_WINDOWPREPAREGAME_TITLE), kButtonsOkCancel, true,
             true, LOOK_DIALOG),
      mNetwork(network), mServices(services)
{
    setButtonCaption(0, getLangText(LANG_WINDOWPREPAREGAME_LAUNCH));
    setLaunchEnabled(false);
    const int32_t left = getContentLeft();
    const int32_t top = getContentTop();
    mPanel = new Container(left, top, kPanelWidth, kPanelHeight, kPanelLook);
    addChild(mPanel);
    {
        std::scoped_lock guard(mNetwork);
        SlotTable* slots = slotsOf(mNetwork);
        uint32_t count = slots != nullptr ? slots->getCapacity() : 0;
        for (uint32_t i = 0; i < count; ++i)
        {
            // Inside the slot panel, relative to it.
            auto* row = new Label(0, static_cast<int32_t>(i) * kRowHeight, kPanelWidth, kRowHeight,
                                  std::string(), kGrey, TEXT_ALIGN_LEFT);
            mPanel->addChild(row);
            mRows.push_back(row);
            mRowClips.push_back(std::make_unique<RenderList>());
            row->setRenderList(mRowClips.back().get());
        }
    }
    clipRows();
    const int32_t chatTop = top + kPanelHeight;
    const int32_t chatHeight = getContentHeight() - kPanelHeight;
    mChat = mServices.createChatPanel(left, chatTop, getContentWidth(), chatHeight);
    if (mChat.widget != nullptr)
        addChild(mChat.widget);
    gCurrent = this;
    refreshRows();
}

WindowPrepareGame::~WindowPrepareGame()
{
    for (Label* row : mRows)
        row->setRenderList(nullptr);
    if (gCurrent == this)
        gCurrent = nullptr;
}

void WindowPrepareGame::updateLayout()
{
    Dialog::updateLayout();
    clipRows();
}

// Each row shows inside its own rectangle, within the panel's frame.
void WindowPrepareGame::clipRows()
{
    const int32_t left = mPanel->getX() + mPanel->getMarginLeft();
    const int32_t top = mPanel->getY() + mPanel->getMarginTop();
    const int32_t right = mPanel->getX() + mPanel->getWidth() - mPanel->getMarginRight();
    const int32_t bottom = mPanel->getY() + mPanel->getHeight() - mPanel->getMarginBottom();
    for (size_t i = 0; i < mRows.size(); ++i)
    {
        const Rect row = mRows[i]->getRect();
        const int32_t x = std::max(row.x, left);
        const int32_t y = std::max(row.y, top);
        mRowClips[i]->setRect(x, y, std::max(0, std::min(row.x + row.width, right) - x),
                              std::max(0, std::min(row.y + row.height, bottom) - y));
    }
}

WindowPrepareGame* WindowPrepareGame::current()
{
    return gCurrent;
}

void WindowPrepareGame::setLaunchEnabled(bool enabled)
{
    mLaunchEnabled = enabled;
    if (auto* button = dynamic_cast<TextButton*>(getButton(0)))
        button->setEnabled(enabled);
}

void WindowPrepareGame::refreshRows()
{
    std::scoped_lock guard(mNetwork);
    SlotTable* slots = slotsOf(mNetwork);
    mShown.assign(mRows.size(), nullptr);
    for (size_t i = 0; i < mRows.size(); ++i)
    {
        const NetworkPlayerInfo* player = slots != nullptr && i < slots->getCapacity()
                                              ? slots->getSlot(static_cast<uint32_t>(i)).get()
                                              : nullptr;
        mShown[i] = player;
        Label* row = mRows[i];
        if (player != nullptr)
        {
            row->setText(player->getName());
            row->setColor(kBlack);
        }
        else
        {
            row->setText(getLangText(LANG_WINDOWPREPAREGAME_NOPLAYER));
            row->setColor(kGrey);
        }
    }
    if (isHost(mNetwork))
        setLaunchEnabled(slots != nullptr && slots->getCount() >= 2);
}

void WindowPrepareGame::appendNotice(const std::string& text, uint32_t color)
{
    mNotices.push_back(text);
    if (mChat.append)
        mChat.append(text, color);
}

void WindowPrepareGame::animate()
{
    Dialog::animate();
    update();
}

void WindowPrepareGame::update()
{
    if (mGameStarted || !isOpened())
        return;
    std::scoped_lock guard(mNetwork);
    // The local player enters its own slot without an event; so does a
    // player whose name has not arrived yet.
    if (SlotTable* slots = slotsOf(mNetwork))
    {
        for (size_t i = 0; i < mShown.size() && i < slots->getCapacity(); ++i)
        {
            if (slots->getSlot(static_cast<uint32_t>(i)).get() != mShown[i])
            {
                refreshRows();
                break;
            }
        }
    }
    for (uint32_t handled = 0; handled < NetworkEndpoint::kEventsPerFrame; ++handled)
    {
        std::unique_ptr<NetworkEvent> event = mNetwork.popEvent();
        if (!event)
            break;
        switch (event->getKind())
        {
        case NETWORK_EVENT_PLAYER_NAMED:
        case NETWORK_EVENT_PLAYER_LEFT:
        {
            NetworkPlayerInfo* player = static_cast<NetworkPlayerEvent&>(*event).getPlayer();
            uint32_t textId = event->getKind() == NETWORK_EVENT_PLAYER_NAMED ? LANG_NETWORK_PLAYER_JOINED_GAME
                                                                             : LANG_NETWORK_PLAYER_LEFT_GAME;
            appendNotice(formatNotice(textId, player != nullptr ? player->getName() : std::string()),
                         kNoticeColor);
            refreshRows();
            break;
        }
        case NETWORK_EVENT_SESSION_ENDED:
        {
            mServices.openNetworkMenu();
            auto* dialog = new MessageDialog(getLangText(LANG_NETWORK_DISCONNECTED),
                                             static_cast<NetworkDataEvent&>(*event).getDisconnectText(), 1,
                                             nullptr, nullptr);
            dialog->open();
            close();
            // Nothing after the end of the session belongs to this window.
            return;
        }
        case NETWORK_EVENT_MESSAGE:
        {
            auto& received = static_cast<NetworkMessageEvent&>(*event);
            NetworkMessage* message = received.getMessage();
            if (message == nullptr)
                break;
            message->execute(&mNetwork, received.getSender());
            if (message->getKind() == MESSAGE_PLAYER_NAME)
            {
                refreshRows();
            }
            else if (message->getKind() == MESSAGE_START_GAME)
            {
                // Only the host starts a game; a start sent by anyone else,
                // or received by the host, is not followed.
                if (isHost(mNetwork))
                    break;
                startGame();
                return;
            }
            break;
        }
        default:
            break;
        }
    }
}

void WindowPrepareGame::startGame()
{
    std::scoped_lock guard(mNetwork);
    SlotTable* slots = slotsOf(mNetwork);
    NetworkPlayerInfo* local = mNetwork.getLocalPlayer();
    if (slots == nullptr || local == nullptr || slots->indexOf(local) < 0)
        return;
    NetworkPlayerInfo* other = nullptr;
    for (uint32_t i = 0; i < slots->getCapacity(); ++i)
    {
        NetworkPlayerInfo* player = slots->getSlot(i).get();
        if (player != nullptr && player != local)
            other = player;
    }
    const uint32_t localSide = isHost(mNetwork) ? 0 : 1;
    auto localPlayer = std::make_unique<NetworkPlayer>(PLAYER_NETWORK_LOCAL, localSide, local);
    auto remotePlayer = std::make_unique<NetworkPlayer>(PLAYER_NETWORK_REMOTE, 1 - localSide, other);
    mGameStarted = true;
    if (localSide == 0)
        mServices.startNetworkGame(std::move(localPlayer), std::move(remotePlayer));
    else
        mServices.startNetworkGame(std::move(remotePlayer), std::move(localPlayer));
    close();
}

void WindowPrepareGame::onResult(uint32_t buttonBits)
{
    if (buttonBits == 1)
    {
        std::scoped_lock guard(mNetwork);
        SlotTable* slots = slotsOf(mNetwork);
        if (mGameStarted || !isHost(mNetwork) || slots == nullptr || slots->getCount() != 2)
            return;
        mNetwork.send(std::make_unique<StartGameMessage>(), nullptr);
        startGame();
        return;
    }
    if (buttonBits == 8)
    {
        {
            std::scoped_lock guard(mNetwork);
            if (mNetwork.getPlayerSet() != nullptr)
                mNetwork.closeSession();
        }
        close();
        mServices.openNetworkMenu();
    }
}
