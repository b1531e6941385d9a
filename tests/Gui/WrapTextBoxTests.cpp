#include "GuiTestSupport.h"

#include "Gui/WrapTextBox.h"

namespace
{

struct BoxFixture
{
    BoxFixture() : box({10, 20, 200, 100}, LOOK_EMPTY)
    {
        box.setItemSpacing(5);
        box.setLineSpacing(2);
    }
    GuiTestApplication app;
    WrapTextBox box;
    WrapTextStyle style;
};

Rect rectOf(const Component* c)
{
    return {c->getX(), c->getY(), c->getWidth(), c->getHeight()};
}

} // namespace

TEST(WrapTextBox, WordsFlowAndAWordThatDoesNotFitStartsTheNextLine)
{
    BoxFixture f;
    Label* a = f.box.addWord("abcdefghij", f.style, WRAP_FLOW);
    Label* b = f.box.addWord("klmnopqrst", f.style, WRAP_FLOW);
    Label* c = f.box.addWord("xyzxyz", f.style, WRAP_FLOW);
    Label* d = f.box.addWord("ab", f.style, WRAP_FLOW);
    EXPECT_EQ(rectOf(a), (Rect{10, 20, 70, 11}));
    EXPECT_EQ(rectOf(b), (Rect{85, 20, 70, 11}));
    EXPECT_EQ(rectOf(c), (Rect{160, 20, 42, 11})) << "exactly fills the line";
    EXPECT_EQ(rectOf(d), (Rect{10, 33, 14, 11})) << "line top + spacing + line height";
    EXPECT_EQ(d->getTextObject()->getText(), "ab");
}

TEST(WrapTextBox, WordLongerThanTheLineTakesALineOfItsOwnCutToTheWidth)
{
    BoxFixture f;
    f.box.addWord("ab", f.style, WRAP_FLOW);
    Label* longWord = f.box.addWord(std::string(40, 'w'), f.style, WRAP_FLOW);
    EXPECT_EQ(rectOf(longWord), (Rect{10, 33, 200, 11}));
    Label* next = f.box.addWord("c", f.style, WRAP_FLOW);
    EXPECT_EQ(rectOf(next), (Rect{10, 46, 7, 11})) << "no room left: a new line";
    f.box.fitHeight();
    EXPECT_EQ(f.box.getHeight(), 13 * 3);
}

TEST(WrapTextBox, LineFeedWordKeepsItsTextAndTheLineKeepsTheFontHeight)
{
    BoxFixture f;
    Label* word = f.box.addWord("ab\ncd", f.style, WRAP_FLOW);
    EXPECT_EQ(word->getTextObject()->getText(), "ab\ncd");
    EXPECT_EQ(word->getHeight(), 11);
    f.box.newLine();
    EXPECT_EQ(f.box.getLineTop(), 13);
}

TEST(WrapTextBox, AWrappingTextTakesAllItsLinesAndThePlainStyleOne)
{
    BoxFixture f;
    WrapTextStyle wrapping = f.style;
    wrapping.alignment = TEXT_WORD_WRAP;
    Label* paragraph = f.box.addWord("un\ndeux\ntrois", wrapping, WRAP_FLOW);
    EXPECT_EQ(paragraph->getHeight(), 33);
    f.box.newLine();
    Label* next = f.box.addWord("quatre", wrapping, WRAP_FLOW);
    EXPECT_EQ(next->getY(), paragraph->getY() + 33 + 2) << "under the whole paragraph";
    EXPECT_EQ(next->getHeight(), 11);
    f.box.fitHeight();
    EXPECT_EQ(f.box.getHeight(), 33 + 2 + 11 + 2);
}

TEST(WrapTextBox, CentredAndRightPlacementsEndTheLine)
{
    BoxFixture f;
    f.box.addWord("ab", f.style, WRAP_FLOW);
    auto* centred = new Component(0, 0, 40, 20);
    f.box.placeComponent(centred, WRAP_CENTER);
    EXPECT_EQ(rectOf(centred), (Rect{10 + 19 + 70, 20, 40, 20})) << "centred in the rest of the line";
    EXPECT_EQ(f.box.getRunningX(), 0);
    EXPECT_EQ(f.box.getLineTop(), 22) << "the tallest item sets the line height";
    auto* right = new Component(0, 0, 30, 10);
    f.box.placeComponent(right, WRAP_RIGHT);
    EXPECT_EQ(rectOf(right), (Rect{180, 42, 30, 10}));
    EXPECT_EQ(f.box.getLineTop(), 34);
}

TEST(WrapTextBox, FixedLineHeightCentresItemsVertically)
{
    BoxFixture f;
    f.box.setFixedLineHeight(30);
    auto* item = new Component(0, 0, 40, 10);
    f.box.placeComponent(item, WRAP_FLOW);
    EXPECT_EQ(item->getY(), 20 + 10);
    f.box.newLine();
    EXPECT_EQ(f.box.getLineTop(), 32);
    f.box.fitHeight();
    EXPECT_EQ(f.box.getHeight(), 32) << "nothing pending: no extra line";
}

TEST(WrapTextBox, LabeledTextFieldIndentsAndIsOnlyEverNarrowed)
{
    BoxFixture f;
    f.style.color = 0xFF112233;
    TextField* field = f.box.addLabeledTextField(f.style, "Nom :", 4, 150, 0, WRAP_FLOW);
    EXPECT_EQ(rectOf(field), (Rect{10 + 150, 20, 28, 11})) << "four characters of the font, after the indent";
    EXPECT_EQ(field->getMaxLength(), 4u);

    f.box.newLine();
    EXPECT_EQ(f.box.addLabeledTextField(f.style, "Dossier :", 1024, 150, 0, WRAP_FLOW)->getWidth(), 50)
        << "the rest of the line";
    f.box.newLine();
    EXPECT_EQ(f.box.addLabeledTextField(f.style, "", 10, 0, 300, WRAP_FLOW)->getWidth(), 200)
        << "a given width never widens the field";
    f.box.newLine();
    EXPECT_EQ(f.box.addLabeledTextField(f.style, "", 10, 0, 120, WRAP_FLOW)->getWidth(), 120);
}

TEST(WrapTextBox, ButtonsTakeTheStyleAndShrinkToTheirCaption)
{
    BoxFixture f;
    f.style.alignment = TEXT_ALIGN_RIGHT;
    TextButton* ok = f.box.addButton("OK", f.style, WRAP_RIGHT);
    EXPECT_EQ(rectOf(ok), (Rect{10 + 186, 20, 14, 11}));
    ASSERT_NE(ok->getCaption(), nullptr);
    EXPECT_EQ(ok->getCaption()->getAlignment(), TEXT_ALIGN_RIGHT);
    EXPECT_EQ(ok->getCaption()->getText(), "OK");
}

TEST(WrapTextBox, ContentAddedUnderTheRootWaitsForTheQueue)
{
    Log log;
    GuiTestApplication app;
    auto* layer = openNow(app, new TestLayer(log, "layer", 0, 0, 300, 300));
    auto* box = new WrapTextBox({5, 5, 200, 100}, LOOK_EMPTY);
    layer->addChild(box);
    Label* word = box->addWord("abc", WrapTextStyle{}, WRAP_FLOW);
    EXPECT_EQ(word->getParent(), nullptr);
    app.gui().processDeferred();
    EXPECT_EQ(word->getParent(), box);
    EXPECT_EQ(rectOf(word), (Rect{5, 5, 21, 11}));
}
