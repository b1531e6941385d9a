#include "Tarnaveli/ChatPanel.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/InputEvents.h"
#include "Framework/LangTable.h"
#include "Gui/ContainerLift.h"
#include "Gui/GuiManager.h"
#include "Gui/Label.h"
#include "Gui/Text.h"
#include "Gui/TextButton.h"
#include "Gui/TextField.h"
#include "Network/GameMessages.h"
#include "Network/NetworkPeer.h"
#include "Network/NetworkPlayerInfo.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/StartupTables.h"

#include <mutex>

namespace
{
// A text button whose caption greys out while it is disabled.
constexpr uint32_t kButtonLook = 0;
constexpr uint32_t kFieldTextColor = 0xFF000000;
// A long line breaks at its spaces onto as many rows as it needs, once,
// when it arrives.
constexpr uint32_t kLineFlags = TEXT_ALIGN_LEFT | TEXT_WORD_WRAP;

NetworkPeer* currentNetwork()
{
    if (ChatPanel::networkSource())
        return ChatPanel::networkSource()();
    GameApplication* game = GameApplication::current();
    return game != nullptr ? game->getNetwork() : nullptr;
}

Font* textFont()
{
    Font* font = findFont(FONT_TEXT);
    return font != nullptr ? font : findFont(0);
}
} // namespace

std::function<NetworkPeer*()>& ChatPanel::networkSource()
{
    static std::function<NetworkPeer*()> source;
    return source;
}

WaitingChatPanel ChatPanel::makeWaitingPanel(int32_t x, int32_t y, int32_t width, int32_t height)
{
    auto* panel = new ChatPanel(x, y, width, height);
    WaitingChatPanel parts;
    parts.widget = panel;
    parts.receiver = panel;
    parts.append = [panel](const std::string& text, uint32_t color) { panel->append(text, color); };
    return parts;
}

ChatPanel::ChatPanel(int32_t x, int32_t y, int32_t width, int32_t height)
    : Container(x, y, width, height, kLookId)
{
    const int32_t listHeight = height > kBarHeight ? height - kBarHeight : 0;
    mList = new ContainerLift(0, 0, width, listHeight, kLookId, 0);
    mList->setScrollStep(kRowHeight);
    mList->setSelectable(false);
    if (mList->getContent() != nullptr)
        mList->getContent()->setColor(kListTint);
    addChild(mList);

    const int32_t fieldWidth = width > kButtonWidth ? width - kButtonWidth : 0;
    mField = new TextField(0, height - kBarHeight, fieldWidth, kBarHeight, std::string(), kMaxLength,
                           kFieldTextColor);
    mField->onChange.mFunction = [this](Component*, uint32_t) { updateSendButton(); };
    addChild(mField);

    mSendButton = new TextButton(width - kButtonWidth, height - kBarHeight, kButtonWidth, kBarHeight,
                                 getLangText(LANG_CHATCOMPONENT_SEND), kButtonLook,
                                 getLangText(LANG_CHATCOMPONENT_SEND_INFOTIP), textFont());
    mSendButton->onClick.mFunction = [this](Component*, uint32_t) { send(); };
    addChild(mSendButton);
    updateSendButton();
}

ChatPanel::~ChatPanel() = default;

void ChatPanel::updateSendButton()
{
    mSendButton->setEnabled(!mField->getText().empty());
    mSendButton->updateLayout();
}

uint32_t ChatPanel::onKeyEvent(const KeyEvent& event)
{
    if (uint32_t handled = Container::onKeyEvent(event))
        return handled;
    if (event.mKeyId == kSendKey && event.mType == KEY_EVENT_PRESSED && !mField->getText().empty())
    {
        send();
        return 1;
    }
    return 0;
}

void ChatPanel::append(const std::string& text, uint32_t color)
{
    // The line may be the widget under the mouse of this very dispatch: the
    // list deletes it once the dispatch is over.
    if (mList->getRowCount() >= kMaxLines)
        mList->removeFirstRows(mList->getRowCount() - (kMaxLines - 1));
    // Wrapped to where the rows show, left of the lift: a word longer than
    // that breaks between its characters.
    const int32_t width = mList->getRowWidth();
    auto* label =
        new Label(0, 0, width, kRowHeight, text.substr(0, kMaxLineLength), color, kLineFlags, textFont());
    if (Text2D* shown = label->getTextObject())
        if (shown->getHeight() > 0)
            label->resize(width, shown->getHeight(), false);
    mList->addRow(label);
    mList->setScrollPercent(100);
}

void ChatPanel::appendMessage(const ChatMessage& message, const NetworkPlayerInfo* sender)
{
    NetworkPeer* network = currentNetwork();
    std::string name;
    bool local = false;
    if (network != nullptr)
    {
        std::scoped_lock guard(*network);
        local = sender != nullptr && sender == network->getLocalPlayer();
        if (sender != nullptr)
            name = sender->getName();
    }
    else if (sender != nullptr)
        name = sender->getName();
    append(name + " : " + message.getText(), local ? kLocalColor : kRemoteColor);
}

void ChatPanel::send()
{
    const std::string text = mField->getText();
    if (text.empty())
        return;
    NetworkPeer* network = currentNetwork();
    // Without a network object the line stays in the field.
    if (network == nullptr)
        return;
    {
        std::scoped_lock guard(*network);
        const NetworkPlayerInfo* local = network->getLocalPlayer();
        std::string name = local != nullptr ? local->getName() : network->getNickname();
        append(name + " : " + text, kLocalColor);
        network->send(std::make_unique<ChatMessage>(text), nullptr);
    }
    mField->setText(std::string());
    updateSendButton();
}
