#include "Gui/TextField.h"

#include "WidgetTestSupport.h"

namespace
{
struct FieldFixture : ::testing::Test
{
    // The inner area is inset by 20 / 5 = 4: it spans 104 to 296.
    TextField* makeField(const std::string& text, uint32_t maxLength, int32_t width = 200)
    {
        auto* made = new TextField(100, 50, width, 20, text, maxLength, 0xFF000000);
        layer->addChild(made);
        made->onChange.mFunction = [this](Component* sender, uint32_t)
        {
            EXPECT_EQ(sender, field);
            ++changes;
        };
        field = made;
        return made;
    }
    EditText& text() { return *static_cast<EditText*>(field->getTextObject()); }

    WidgetTestApplication app;
    TestLayer* layer = app.screen();
    TextField* field = nullptr;
    int changes = 0;
};

TEST_F(FieldFixture, TakesTheFocusAndDrawsThroughItsClipList)
{
    makeField("abc", 10);
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(text().renderList, field->getClipList());
    EXPECT_EQ(field->getClipList()->getRect(), (Rect{104, 50, 192, 20}));
    EXPECT_EQ(text().x, 104);
    EXPECT_EQ(text().size, 20);
    field->moveTo(200, 60, true);
    EXPECT_EQ(field->getClipList()->getRect(), (Rect{204, 60, 192, 20}));
    EXPECT_EQ(text().x, 204);
}

TEST_F(FieldFixture, TypingInsertsDrawableCharactersWithinTheMaximumLength)
{
    makeField("abcd", 5);
    field->setCaret(4, false);
    app.key(KEY_A + 1, "xy"); // two characters at once do not fit
    EXPECT_EQ(field->getText(), "abcd");
    EXPECT_EQ(changes, 0);
    app.key(KEY_A + 1, "x");
    EXPECT_EQ(field->getText(), "abcdx");
    EXPECT_EQ(text().caret, 5);
    EXPECT_EQ(changes, 1);

    // A full field takes a replacement of a longer selection.
    field->setCaret(1, false);
    field->setCaret(4, true);
    app.key(KEY_A, "pq");
    EXPECT_EQ(field->getText(), "apqx");
    EXPECT_EQ(text().caret, 3);
    EXPECT_EQ(changes, 2);
}

TEST_F(FieldFixture, UndrawableAndControlCharactersAreDroppedAndLeaveTheKey)
{
    makeField("", 10);
    app.font->missing.insert('#');
    uint32_t handled = 0;
    KeyEvent event;
    event.mKeyId = KEY_ENTER;
    event.mChars[0] = '\r';
    handled = field->onKeyEvent(event);
    EXPECT_EQ(handled, 0u);
    event.mKeyId = KEY_NUMBER_0 + 3;
    event.mChars[0] = '#';
    event.mChars[1] = '3';
    handled = field->onKeyEvent(event);
    EXPECT_EQ(handled, 1u);
    EXPECT_EQ(field->getText(), "3");
    // Releases are left to others.
    event.mType = KEY_EVENT_RELEASED;
    EXPECT_EQ(field->onKeyEvent(event), 0u);
    EXPECT_EQ(field->getText(), "3");
}

TEST_F(FieldFixture, DeleteAndBackspaceRemoveAroundTheCaretOrTheSelection)
{
    makeField("abcdef", 10);
    field->setCaret(0, false);
    app.key(KEY_BACKSPACE);
    field->setCaret(6, false);
    app.key(KEY_DELETE);
    EXPECT_EQ(field->getText(), "abcdef");
    EXPECT_EQ(changes, 0);

    field->setCaret(3, false);
    app.key(KEY_BACKSPACE);
    EXPECT_EQ(field->getText(), "abdef");
    EXPECT_EQ(text().caret, 2);
    app.key(KEY_DELETE);
    EXPECT_EQ(field->getText(), "abef");
    EXPECT_EQ(text().caret, 2);
    EXPECT_EQ(changes, 2);

    field->setCaret(1, false);
    field->setCaret(3, true);
    app.key(KEY_BACKSPACE);
    EXPECT_EQ(field->getText(), "af");
    EXPECT_EQ(text().caret, 1);
    EXPECT_EQ(changes, 3);
}

TEST_F(FieldFixture, ArrowsHomeAndEndMoveTheCaret)
{
    makeField("abcdef", 10);
    field->setCaret(2, false);
    field->setCaret(4, true);
    app.key(KEY_LEFT);
    EXPECT_EQ(text().caret, 2);
    EXPECT_EQ(text().selectionEnd, 2);
    app.key(KEY_LEFT, "", KEY_EVENT_REPEATED);
    EXPECT_EQ(text().caret, 1);
    field->setCaret(5, true);
    app.key(KEY_RIGHT);
    EXPECT_EQ(text().caret, 5);
    app.key(KEY_END);
    app.key(KEY_RIGHT);
    EXPECT_EQ(text().caret, 6);
    app.key(KEY_HOME);
    app.key(KEY_LEFT);
    EXPECT_EQ(text().caret, 0);
    EXPECT_EQ(changes, 0);
}

TEST_F(FieldFixture, CopyAndPasteGoThroughTheClipboard)
{
    makeField("bonjour", 10);
    field->setCaret(0, false);
    field->setCaret(3, true);
    app.setControl(true);
    app.key(KEY_C, "c");
    EXPECT_EQ(changes, 1); // even though nothing changed
    std::string clip;
    getClipboardText(clip);
    EXPECT_EQ(clip, "bon");
    EXPECT_EQ(field->getText(), "bonjour");

    field->setCaret(7, false);
    app.key(KEY_V, "v");
    EXPECT_EQ(field->getText(), "bonjourbon");
    EXPECT_EQ(changes, 2);
    // No room left: the paste is refused whole.
    app.key(KEY_V, "v");
    EXPECT_EQ(field->getText(), "bonjourbon");
    EXPECT_EQ(changes, 2);

    // A copied line break never enters the field.
    setClipboardText("a\r\nb");
    field->setText("x");
    field->setCaret(1, false);
    app.key(KEY_V, "v");
    EXPECT_EQ(field->getText(), "xab");

    // Without control the letters are typed.
    app.setControl(false);
    app.key(KEY_V, "v");
    EXPECT_EQ(field->getText(), "xabv");
}

TEST_F(FieldFixture, MouseSetsTheCaretAndDragsASelection)
{
    makeField("abcdefgh", 20);
    // Characters are 7 wide from x = 104.
    app.moveMouse(126, 55);
    app.press(126, 55); // nearest index 3
    EXPECT_EQ(app.gui().getPressed(), field);
    EXPECT_EQ(text().caret, 3);
    app.moveMouse(140, 55);
    EXPECT_EQ(text().selectionStart, 3);
    EXPECT_EQ(text().selectionEnd, 5);
    app.moveMouse(105, 55);
    EXPECT_EQ(text().selectionStart, 0);
    EXPECT_EQ(text().selectionEnd, 3);
    app.release(105, 55);
    EXPECT_EQ(app.gui().getPressed(), nullptr);
    EXPECT_EQ(field->getSelectedText(), "abc");
}

TEST_F(FieldFixture, FocusShowsAndHidesCaretAndSelection)
{
    makeField("abc", 10);
    auto* other = new TextField(100, 100, 200, 20, "", 10, 0xFF000000);
    layer->addChild(other);
    EXPECT_FALSE(field->hasFocus());
    EXPECT_FALSE(text().caretShown());
    EXPECT_FALSE(text().selectionShown());
    app.click(110, 55);
    EXPECT_TRUE(field->hasFocus());
    EXPECT_TRUE(text().caretShown());
    EXPECT_TRUE(text().selectionShown());
}

TEST_F(FieldFixture, CaretBlinksEightHundredMillisecondsAndShowsAfterEachKey)
{
    makeField("abc", 10);
    app.frame(0);
    EXPECT_TRUE(text().caretShown());
    app.frame(799);
    EXPECT_TRUE(text().caretShown());
    app.frame(1);
    EXPECT_FALSE(text().caretShown());
    app.key(KEY_LEFT);
    EXPECT_TRUE(text().caretShown());
    app.frame(800);
    EXPECT_FALSE(text().caretShown());
    app.frame(800);
    EXPECT_TRUE(text().caretShown());
}

TEST_F(FieldFixture, CaretNearTheRightEdgeScrollsByHalfTheInnerWidth)
{
    // Inner area 104 to 196, 92 wide; the caret may go up to 16 pixels of
    // the edge (180) before the text moves.
    makeField("", 100, 100);
    for (int i = 0; i < 10; ++i)
        app.key(KEY_A, "a");
    EXPECT_EQ(field->getScroll(), 0);
    app.key(KEY_A, "a"); // caret at 181: brought to the middle (150)
    EXPECT_EQ(field->getScroll(), 31);
    EXPECT_EQ(text().x, 73);
    for (int i = 0; i < 4; ++i)
        app.key(KEY_A, "a");
    EXPECT_EQ(field->getScroll(), 31);
    app.key(KEY_A, "a"); // 185
    EXPECT_EQ(field->getScroll(), 66);
    app.key(KEY_HOME); // back at the start, the scroll stops at 0
    EXPECT_EQ(field->getScroll(), 0);
    EXPECT_EQ(text().x, 104);
}

TEST_F(FieldFixture, ResizeRemakesTheTextAtTheNewHeightKeepingCaretAndSelection)
{
    makeField("abcdef", 10);
    field->setCaret(4, false);
    field->setCaret(1, true);
    field->resize(300, 30, true);
    EXPECT_EQ(text().size, 30);
    EXPECT_EQ(text().x, 106);
    EXPECT_EQ(text().renderList, field->getClipList());
    EXPECT_EQ(field->getClipList()->getRect(), (Rect{106, 50, 288, 30}));
    EXPECT_EQ(text().caret, 1);
    EXPECT_EQ(field->getSelectedText(), "bcd");
    app.key(KEY_A + 25, "z");
    EXPECT_EQ(field->getText(), "azef");
}

TEST_F(FieldFixture, InsertTextRefusesAnOverflowWhole)
{
    makeField("abc", 4);
    field->setCaret(3, false);
    EXPECT_FALSE(field->insertText("de"));
    EXPECT_EQ(field->getText(), "abc");
    EXPECT_TRUE(field->insertText("d"));
    EXPECT_EQ(field->getText(), "abcd");
    EXPECT_EQ(changes, 0);
}
} // namespace
