// Line breaking, alignment, scaling, colours, caret and hit tests of the
// bitmap font's text object.
#include "Engine/RenderList.h"
#include "Gui/Infotip.h"
#include "SkinTestSupport.h"

namespace
{
class Text2DTest : public ::testing::Test
{
protected:
    // Glyph height 10, line spacing 2, letter spacing 1: 'a' advances 7,
    // ' ' 5, 'W' 11, every other code 5 (glyph 0, 4 wide).
    Text2DTest()
    {
        folder.write("data/fonts/test.fnt",
                     FntBuilder(10, 2, 1).glyph(0, 4).glyph('a', 6).glyph(' ', 4).glyph('W', 10).bytes());
        folder.write("data/fonts/flat.fnt", FntBuilder(20, 0, 0).glyph(0, 10).glyph('W', 10).bytes());
        font = std::make_unique<BitmapFont>("data\\fonts\\test.fnt", caret);
        flat = std::make_unique<BitmapFont>("data\\fonts\\flat.fnt", caret);
    }
    ~Text2DTest() override
    {
        font.reset();
        flat.reset();
        caret->release();
    }

    std::unique_ptr<Text2DView> make(const std::string& content, int32_t width, uint32_t flags = 0,
                                     BitmapFont* from = nullptr, int32_t size = 0)
    {
        std::unique_ptr<Text2D> text = (from != nullptr ? from : font.get())
                                           ->createText(100, 50, width, content, 0xFF112233, size, flags);
        return std::unique_ptr<Text2DView>(static_cast<Text2DView*>(text.release()));
    }
    static std::pair<int32_t, int32_t> at(const Text2D& text, int32_t index)
    {
        int32_t x = 0, y = 0;
        text.getCharPosition(index, x, y);
        return {x, y};
    }
    static RecordingImage& image(const Text2DView& text, int32_t index)
    {
        return *static_cast<RecordingImage*>(text.getGlyphImage(index));
    }

    ScratchProgramFolder folder;
    SkinTestApplication app;
    Texture* caret = app.engine().createTexture(2, 16, 0);
    std::unique_ptr<BitmapFont> font;
    std::unique_ptr<BitmapFont> flat;
};
using P = std::pair<int32_t, int32_t>;
} // namespace

TEST_F(Text2DTest, WordWrapBreaksAtTheLastSpaceOrInsideAWordTooLong)
{
    auto text = make("aa aa", 30, TEXT_WORD_WRAP);
    EXPECT_EQ(at(*text, 0), P(100, 50));
    EXPECT_EQ(at(*text, 2), P(114, 50));
    // The word that overflowed begins the next line.
    EXPECT_EQ(at(*text, 3), P(100, 62));
    EXPECT_EQ(at(*text, 4), P(107, 62));
    EXPECT_EQ(text->getLineCount(), 2);
    EXPECT_EQ(text->getHeight(), 12 + 2 + 10);
    EXPECT_EQ(text->getMaxLineWidth(), 19);

    // No space: broken between characters.
    text->setWidth(20);
    text->setText("aaaaa", true);
    EXPECT_EQ(at(*text, 1), P(107, 50));
    EXPECT_EQ(at(*text, 2), P(100, 62));
    EXPECT_EQ(at(*text, 3), P(107, 62));
    EXPECT_EQ(at(*text, 4), P(100, 74));

    // A single character wider than the width stays on its line.
    text->setWidth(3);
    EXPECT_EQ(at(*text, 0), P(100, 50));
    EXPECT_EQ(at(*text, 1), P(100, 62));
    EXPECT_EQ(text->getLineCount(), 5);

    // Without wrapping only line feeds break.
    text->setWordWrap(false);
    EXPECT_EQ(text->getLineCount(), 1);
    EXPECT_EQ(at(*text, 4), P(128, 50));
}

TEST_F(Text2DTest, AMarkSetAfterASpaceStaysOnTheLineOfItsWord)
{
    for (const char* mark : {"?", "!", ":", ";", "\xBB"})
    {
        // "aa aa" fills 33 of the 40: the space before the mark would leave
        // the mark alone on the next line; the word goes with it instead.
        auto text = make(std::string("aa aa ") + mark, 40, TEXT_WORD_WRAP);
        EXPECT_EQ(text->getLineCount(), 2) << mark;
        EXPECT_EQ(at(*text, 3), P(100, 62)) << mark;
        EXPECT_EQ(at(*text, 6), P(119, 62)) << mark;
        EXPECT_EQ(text->getText(), std::string("aa aa ") + mark) << "the text itself is kept";
    }
    // A word that with its mark is wider than the line still breaks at the
    // space before the mark.
    auto text = make("aaaa ?", 30, TEXT_WORD_WRAP);
    EXPECT_EQ(at(*text, 5), P(100, 62));
    EXPECT_EQ(text->getMaxLineWidth(), 28);
}

TEST_F(Text2DTest, LineFeedsAloneGiveOneLineEachPlusOne)
{
    auto text = make("\n\n", 100);
    EXPECT_EQ(text->getLineCount(), 3);
    EXPECT_EQ(text->getHeight(), 2 * 12 + 2 + 10);
    text->setText("a\na", true);
    EXPECT_EQ(at(*text, 2), P(100, 62));
    // The caret after a final line feed begins the empty last line.
    text->setText("a\n", true);
    EXPECT_EQ(at(*text, 2), P(100, 62));
}

TEST_F(Text2DTest, AlignmentPlacesEachLineInTheWidth)
{
    auto text = make("WWWW", 100, TEXT_ALIGN_RIGHT, flat.get());
    EXPECT_EQ(at(*text, 0), P(160, 50));
    text->setAlignment(TEXT_ALIGN_CENTER);
    EXPECT_EQ(at(*text, 0), P(130, 50));
    text->setAlignment(3);
    EXPECT_EQ(at(*text, 0), P(160, 50));
    text->setAlignment(TEXT_ALIGN_LEFT);
    EXPECT_EQ(at(*text, 0), P(100, 50));
    // An empty text stands where its alignment begins.
    text->setText("", true);
    EXPECT_EQ(at(*text, 0), P(100, 50));
    text->setAlignment(TEXT_ALIGN_CENTER);
    EXPECT_EQ(at(*text, 0), P(150, 50));
    text->setAlignment(TEXT_ALIGN_RIGHT);
    EXPECT_EQ(at(*text, 0), P(199, 50));
}

TEST_F(Text2DTest, DrawnSizeScalesEveryMetric)
{
    auto text = make("WW", 200, 0, flat.get(), 40);
    EXPECT_EQ(text->getCharWidth('W'), 20);
    EXPECT_EQ(text->getLineHeight(), 40);
    EXPECT_EQ(image(*text, 0).getWidth(), 20.0f);
    EXPECT_EQ(image(*text, 0).getHeight(), 40.0f);
    EXPECT_EQ(at(*text, 1), P(120, 50));
    // Size 0 goes back to the font's own.
    text->setSize(0);
    EXPECT_EQ(text->getSize(), 20);
    EXPECT_EQ(at(*text, 1), P(110, 50));
    auto small = make("a", 100, 0, nullptr, 5);
    EXPECT_EQ(small->getCharWidth('a'), 3);
    EXPECT_EQ(small->getLineSpacing(), 1);
    EXPECT_EQ(small->getLetterSpacing(), 0);
}

TEST_F(Text2DTest, GlyphImagesTakeTheirGlyphOrGlyphZeroAndDrawInOrder)
{
    auto text = make("a?", 100);
    EXPECT_EQ(image(*text, 0).getTexture(), font->getGlyphTexture('a'));
    EXPECT_EQ(image(*text, 1).getTexture(), font->getGlyphTexture(0));
    EXPECT_EQ(image(*text, 0).getSizeMode(), Image2D::SIZE_STRETCHED);
    EXPECT_EQ(image(*text, 0).getColor(), 0xFF112233u);
    ASSERT_EQ(text->render(), 0);
    EXPECT_EQ(image(*text, 0).draws, 1);
    EXPECT_EQ(image(*text, 1).draws, 1);
    image(*text, 0).drawResult = 7;
    EXPECT_EQ(text->render(), 7);
    EXPECT_EQ(image(*text, 1).draws, 1);

    // A shorter text keeps its images but shows only its own characters.
    image(*text, 0).drawResult = 0;
    text->setText("a", true);
    ASSERT_EQ(text->render(), 0);
    EXPECT_EQ(image(*text, 1).draws, 1);
    EXPECT_EQ(image(*text, 1).getTexture(), nullptr);

    RenderList list;
    text->setRenderList(&list);
    EXPECT_EQ(list.getImages().size(), 2u);
    EXPECT_EQ(image(*text, 0).getRenderList(), &list);
    text->setRenderList(nullptr);
    EXPECT_TRUE(list.getImages().empty());
}

TEST_F(Text2DTest, ColourCodesColourTheCharactersAfterThem)
{
    auto text = make("", 100);
    text->setColoredText("a\x03"
                         "FF0000FF"
                         "a?\x03"
                         "F");
    EXPECT_EQ(text->getText(), "aa?");
    EXPECT_EQ(text->getCharColors(), (std::vector<uint32_t>{0xFF112233, 0xFF0000FF, 0xFF0000FF}));
    EXPECT_EQ(image(*text, 1).getColor(), 0xFF0000FFu);
    text->setAlpha(0x40);
    EXPECT_EQ(image(*text, 0).getColor(), 0x40112233u);
    EXPECT_EQ(image(*text, 2).getColor(), 0x400000FFu);

    // The same text keeps its colours even when clearing was asked.
    text->setText("aa?", true);
    EXPECT_EQ(text->getCharColors().size(), 3u);
    EXPECT_FALSE(text->getColoredText().empty());
    text->setText("aa", false);
    EXPECT_EQ(text->getCharColors().size(), 3u);
    text->setText("a", true);
    EXPECT_TRUE(text->getCharColors().empty());
    EXPECT_TRUE(text->getColoredText().empty());

    text->setColor(0xFF00FF00);
    EXPECT_EQ(image(*text, 0).getColor(), 0xFF00FF00u);
    text->setAlpha(0x80);
    EXPECT_EQ(text->getColor(), 0x8000FF00u);
}

TEST_F(Text2DTest, CaretAndSelection)
{
    auto text = make("aaaa", 100, TEXT_SHOW_CARET | TEXT_SHOW_SELECTION);
    text->setCaret(1, false);
    Image2D* caretImage = text->getCaretImage();
    ASSERT_NE(caretImage, nullptr);
    EXPECT_EQ(caretImage->getX(), 107.0f);
    EXPECT_EQ(caretImage->getWidth(), 2.0f);
    EXPECT_EQ(caretImage->getHeight(), 10.0f);
    EXPECT_EQ(caretImage->getTexture(), caret);
    // After the last character the caret moves 2 pixels left.
    text->setCaret(4, false);
    EXPECT_EQ(caretImage->getX(), 100.0f + 4 * 7 - 1 - 2);

    // Extending runs from the anchor to the new caret, either way.
    text->setCaret(1, true);
    EXPECT_EQ(text->getSelectionStart(), 1);
    EXPECT_EQ(text->getSelectionEnd(), 4);
    EXPECT_EQ(image(*text, 1).getColor(), 0xFFEEDDCCu);
    EXPECT_EQ(image(*text, 0).getColor(), 0xFF112233u);
    text->setCaret(3, true);
    EXPECT_EQ(text->getSelectionStart(), 3);
    EXPECT_EQ(text->getSelectionEnd(), 4);
    text->setCaret(0, true);
    EXPECT_EQ(text->getSelectionStart(), 0);
    EXPECT_EQ(text->getSelectionEnd(), 4);
    text->setCaret(99, false);
    EXPECT_EQ(text->getCaret(), 4);

    // A shorter text clamps the caret and the selection.
    text->setCaret(0, false);
    text->setCaret(3, true);
    text->setText("a", true);
    EXPECT_EQ(text->getCaret(), 1);
    EXPECT_EQ(text->getSelectionStart(), 0);
    EXPECT_EQ(text->getSelectionEnd(), 1);

    RecordingImage& drawnCaret = static_cast<RecordingImage&>(*caretImage);
    ASSERT_EQ(text->render(), 0);
    EXPECT_EQ(drawnCaret.draws, 1);
    text->showCaret(false);
    ASSERT_EQ(text->render(), 0);
    EXPECT_EQ(drawnCaret.draws, 1);
}

TEST_F(Text2DTest, HitTestFindsTheCharacterUnderThePoint)
{
    auto text = make("aaa", 100);
    EXPECT_EQ(text->hitTestChar(90, 55), 0);
    EXPECT_EQ(text->hitTestChar(103, 55), 0);
    EXPECT_EQ(text->hitTestChar(104, 55), 1);
    EXPECT_EQ(text->hitTestChar(300, 55), 3);

    text->setText("aa\naa\naa", true);
    EXPECT_EQ(text->hitTestChar(100, 55), 0);
    EXPECT_EQ(text->hitTestChar(104, 65), 4);
    // Right of a line: its last character.
    EXPECT_EQ(text->hitTestChar(300, 65), 5);
    EXPECT_EQ(text->hitTestChar(100, 500), 7);

    text->setText("", true);
    EXPECT_EQ(text->hitTestChar(100, 55), 0);
    int32_t width = 0, height = 0;
    text->getCharExtent(0, width, height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 10);
}

TEST_F(Text2DTest, MovingTheTextMovesEveryGlyph)
{
    auto text = make("aa", 100, TEXT_SHOW_CARET);
    text->setPosition(10, 20);
    EXPECT_EQ(image(*text, 1).getX(), 17.0f);
    EXPECT_EQ(image(*text, 1).getY(), 20.0f);
    EXPECT_EQ(text->getCaretImage()->getX(), 10.0f);
}

// A long list scrolls by moving every row: a row's text keeps its lines, and
// its characters get images only once the row is drawn.
TEST_F(Text2DTest, AMovedTextKeepsItsLinesAndOnlyADrawnTextHasImages)
{
    const size_t before = app.engine().images.size();
    auto text = make("aa aa aa aa", 20, TEXT_WORD_WRAP);
    EXPECT_EQ(text->getLineCount(), 4);
    for (int32_t step = 1; step <= 50; ++step)
        text->setPosition(100, 50 - 24 * step);
    EXPECT_EQ(app.engine().images.size(), before) << "nothing drawn, nothing made";
    text->setPosition(100, 50);
    ASSERT_EQ(text->render(), 0);
    ASSERT_EQ(app.engine().images.size(), before + 11);
    EXPECT_EQ(at(*text, 10), P(107, 86));
    EXPECT_EQ(image(*text, 10).getX(), 107.0f);
    EXPECT_EQ(image(*text, 10).getY(), 86.0f);
    EXPECT_EQ(image(*text, 10).draws, 1);
    // Moved again, drawn again: the same images, in their new places.
    text->setPosition(0, 0);
    ASSERT_EQ(text->render(), 0);
    EXPECT_EQ(app.engine().images.size(), before + 11);
    EXPECT_EQ(image(*text, 10).getX(), 7.0f);
    EXPECT_EQ(image(*text, 10).getY(), 36.0f);
    EXPECT_EQ(image(*text, 10).draws, 2);
}

TEST_F(Text2DTest, InfotipKeepsEveryLineOfItsTextInsideItsBox)
{
    Infotip tip;
    tip.setFont(font.get());
    InfotipRequest request;
    request.x = 400;
    request.y = 300;
    request.delay = 0;
    request.text = "aaaa aa";
    request.placement = INFOTIP_BELOW;
    tip.setRequest(request);
    tip.animate();
    ASSERT_TRUE(tip.isShown());
    ASSERT_LT(tip.getWidth(), 200) << "narrower than the wrapping width";
    auto* text = static_cast<Text2DView*>(tip.getTextObject());
    for (int32_t i = 0; i < static_cast<int32_t>(request.text.size()); ++i)
    {
        const RecordingImage& glyph = image(*text, i);
        EXPECT_GE(glyph.getX(), tip.getX()) << i;
        EXPECT_LE(glyph.getX() + glyph.getWidth(), tip.getX() + tip.getWidth()) << i;
    }
}
