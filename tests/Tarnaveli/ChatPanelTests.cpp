// The chat panel: lines received and sent, the send button's state, and
// where a received chat line is routed.
#include "GameScreenFixture.h"

#include "Gui/ContainerLift.h"
#include "Gui/Label.h"
#include "Gui/TextButton.h"
#include "Gui/TextField.h"

namespace
{
std::string lineText(ChatPanel* panel, uint32_t index)
{
    auto* label = dynamic_cast<Label*>(panel->getList()->getRow(index));
    return label != nullptr && label->getTextObject() != nullptr ? label->getTextObject()->getText() : "?";
}

uint32_t lineColor(ChatPanel* panel, uint32_t index)
{
    auto* label = dynamic_cast<Label*>(panel->getList()->getRow(index));
    auto* text = label != nullptr ? dynamic_cast<FakeText*>(label->getTextObject()) : nullptr;
    return text != nullptr ? text->color : 0;
}

struct WaitingWindow final : NetworkWaitingWindow
{
    NetworkChatPanel* getChatPanel() override { return panel; }
    ChatPanel* panel = nullptr;
};
} // namespace

TEST(ChatPanel, ReceivedLinesAreGreenFromThisMachineAndWhiteFromTheOpponent)
{
    GameScreenFixture f;
    auto* panel = new ChatPanel(0, 0, 300, 168);
    f.app.root().addChild(panel);
    panel->appendMessage(ChatMessage("salut"), f.peer.remote.get());
    panel->appendMessage(ChatMessage("bonjour"), f.peer.local.get());
    ASSERT_EQ(panel->getList()->getRowCount(), 2u);
    EXPECT_EQ(lineText(panel, 0), "Bruno : salut");
    EXPECT_EQ(lineColor(panel, 0), ChatPanel::kRemoteColor);
    EXPECT_EQ(lineText(panel, 1), "Ana : bonjour");
    EXPECT_EQ(lineColor(panel, 1), ChatPanel::kLocalColor);
}

TEST(ChatPanel, KeepsTheNewestLinesEachCutToItsLength)
{
    GameScreenFixture f;
    auto* panel = new ChatPanel(0, 0, 300, 168);
    f.app.root().addChild(panel);
    panel->append(std::string(100000, 'a'), ChatPanel::kRemoteColor);
    EXPECT_EQ(lineText(panel, 0), std::string(ChatPanel::kMaxLineLength, 'a'));
    for (uint32_t i = 1; i < ChatPanel::kMaxLines + 50; ++i)
        panel->append("ligne " + std::to_string(i), ChatPanel::kRemoteColor);
    f.app.gui().processDeferred();
    ASSERT_EQ(panel->getList()->getRowCount(), ChatPanel::kMaxLines);
    EXPECT_EQ(lineText(panel, 0), "ligne 50");
    EXPECT_EQ(lineText(panel, ChatPanel::kMaxLines - 1),
              "ligne " + std::to_string(ChatPanel::kMaxLines + 49));
    EXPECT_EQ(panel->getList()->getRow(1)->getY(),
              panel->getList()->getRow(0)->getY() + panel->getList()->getRow(0)->getHeight())
        << "the rows close up";
}

TEST(ChatPanel, SendingPostsTheLineToEveryPlayerAndEmptiesTheField)
{
    GameScreenFixture f;
    auto* panel = new ChatPanel(0, 0, 300, 168);
    f.app.root().addChild(panel);
    EXPECT_FALSE(panel->getSendButton()->isEnabled());
    f.app.gui().setFocus(panel->getField());
    f.app.key(ChatPanel::kSendKey);
    EXPECT_TRUE(f.peer.sent.empty()) << "an empty field sends nothing";

    panel->getField()->setText("on y va");
    panel->getField()->onChange.invoke(panel->getField());
    EXPECT_TRUE(panel->getSendButton()->isEnabled());
    panel->send();
    ASSERT_EQ(f.peer.sent.size(), 1u);
    EXPECT_EQ(f.peer.targets[0], nullptr);
    auto* message = dynamic_cast<ChatMessage*>(f.peer.sent[0].get());
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->getText(), "on y va");
    EXPECT_EQ(lineText(panel, 0), "Ana : on y va");
    EXPECT_EQ(lineColor(panel, 0), ChatPanel::kLocalColor);
    EXPECT_TRUE(panel->getField()->getText().empty());
    EXPECT_FALSE(panel->getSendButton()->isEnabled());
}

TEST(ChatPanel, ReceivedChatGoesToTheGameScreenElseTheWaitingWindowElseNowhere)
{
    GameScreenFixture f;
    WaitingWindow waiting;
    waiting.panel = new ChatPanel(0, 0, 300, 168);
    f.app.root().addChild(waiting.panel);
    WaitingWindowLinks links;
    links.window = &waiting;
    setNetworkGameLinks(&links);

    ChatMessage("avant").execute(&f.peer, f.peer.remote.get());
    ASSERT_EQ(waiting.panel->getList()->getRowCount(), 1u);

    GameScreen* screen = f.openScreen();
    f.startNetworkGame();
    ChatMessage("pendant").execute(&f.peer, f.peer.remote.get());
    ASSERT_NE(screen->getChatPanelWidget(), nullptr);
    EXPECT_EQ(lineText(screen->getChatPanelWidget(), 0), "Bruno : pendant");
    EXPECT_EQ(waiting.panel->getList()->getRowCount(), 1u);

    links.window = nullptr;
    screen->leaveToMainMenu(std::string());
    ChatMessage("apres").execute(&f.peer, f.peer.remote.get());
    EXPECT_EQ(waiting.panel->getList()->getRowCount(), 1u);
}
