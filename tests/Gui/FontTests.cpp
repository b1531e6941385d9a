// .fnt glyph tables and the bitmap fonts made from them.
#include "SkinTestSupport.h"

namespace
{
ErrorCode readTable(const std::string& bytes, GlyphTable& table)
{
    MemoryInputStream stream(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return table.read(stream);
}

class BitmapFontTest : public ::testing::Test
{
protected:
    std::unique_ptr<BitmapFont> makeFont(const FntBuilder& builder)
    {
        folder.write("data/Ressources/images/test.fnt", builder.bytes());
        return std::make_unique<BitmapFont>("data\\Ressources\\images\\test.fnt", nullptr);
    }

    ScratchProgramFolder folder;
    SkinTestApplication app;
};
} // namespace

TEST(GlyphTableTest, ReadsHeaderAndRecordsAndWritesThemBack)
{
    FntBuilder builder(3, 2, 1);
    builder.glyph(0, 2, 0x10).glyph('a', 4, 0x20).glyph('a', 5, 0x30).glyph(255, 1, 0x40);
    GlyphTable table;
    ASSERT_EQ(readTable(builder.bytes(), table), 0);
    EXPECT_EQ(table.height, 3u);
    EXPECT_EQ(table.lineSpacing, 2);
    EXPECT_EQ(table.letterSpacing, 1);
    // A code given twice keeps its last record and counts once.
    EXPECT_EQ(table.glyphCount, 3u);
    EXPECT_EQ(table.getGlyph('a').width, 5u);
    EXPECT_EQ(table.getGlyph('a').pixels, std::vector<uint8_t>(15, 0x30));
    EXPECT_FALSE(table.hasGlyph('b'));

    struct Sink final : OutputStream
    {
        ErrorCode transferString(std::string&) override { return 1; }
        ErrorCode transfer(void* address, uint32_t count) override
        {
            bytes.append(static_cast<const char*>(address), count);
            return 0;
        }
        ErrorCode seek(uint32_t) override { return 1; }
        uint32_t tell() override { return static_cast<uint32_t>(bytes.size()); }
        bool isAtEnd() override { return true; }
        std::string bytes;
    } sink;
    ASSERT_EQ(table.write(sink), 0);
    FntBuilder expected(3, 2, 1);
    expected.glyph(0, 2, 0x10).glyph('a', 5, 0x30).glyph(255, 1, 0x40);
    EXPECT_EQ(sink.bytes, expected.bytes());
}

TEST(GlyphTableTest, RefusesMalformedFilesWithoutTrustingTheirCounts)
{
    GlyphTable table;
    EXPECT_EQ(readTable(FntBuilder(3, 0, 0, 255).glyph(0, 1).bytes(), table), ERROR_FILEIO_INVALIDFILE);
    EXPECT_EQ(readTable(FntBuilder(3, 0, 0).glyph(256, 1).bytes(), table), ERROR_FILEIO_INVALIDFILE);
    // More glyphs announced than present, bytes cut short, a huge glyph.
    EXPECT_EQ(readTable(FntBuilder(3, 0, 0).glyph(0, 1).count(1000000).bytes(), table),
              ERROR_FILEIO_INVALIDFILE);
    std::string cut = FntBuilder(3, 0, 0).glyph('x', 4).bytes();
    cut.pop_back();
    EXPECT_EQ(readTable(cut, table), ERROR_FILEIO_INVALIDFILE);
    EXPECT_EQ(readTable(FntBuilder(3, 0, 0).count(1).recordHeader('x', 0xFFFFFFFF).bytes(), table),
              ERROR_FILEIO_INVALIDFILE);
    EXPECT_EQ(readTable(FntBuilder(0x40000000, 0, 0).bytes(), table), ERROR_FILEIO_INVALIDFILE);
    EXPECT_EQ(readTable(std::string("\0\1\0", 3), table), ERROR_FILEIO_INVALIDFILE);
    // A refused file leaves nothing half read.
    EXPECT_EQ(table.glyphCount, 0u);
    EXPECT_EQ(table.height, 0u);
}

TEST_F(BitmapFontTest, TakesItsMetricsFromTheFileAndMakesOneWhiteTexturePerGlyph)
{
    auto font = makeFont(FntBuilder(10, 2, 1).glyph(0, 5).glyph('a', 6, 0x80).glyph('W', 12));
    EXPECT_EQ(font->getLineHeight(), 10);
    EXPECT_EQ(font->getLineSpacing(), 2);
    EXPECT_EQ(font->getLetterSpacing(), 1);
    EXPECT_EQ(font->getMaxGlyphWidth(), 12);
    EXPECT_FALSE(font->isLoaded());

    ASSERT_EQ(font->load(), 0);
    EXPECT_TRUE(font->isLoaded());
    EXPECT_TRUE(font->hasChar('a'));
    EXPECT_FALSE(font->hasChar('b'));
    Texture* a = font->getGlyphTexture('a');
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->getWidth(), 6u);
    EXPECT_EQ(a->getHeight(), 10u);
    EXPECT_EQ(a->getFlags() & Texture::FLAG_PIXELS_ALPHA8, Texture::FLAG_PIXELS_ALPHA8);
    EXPECT_EQ(a->getParam(), 0xFFFFFFFFu);
    EXPECT_EQ(static_cast<const uint8_t*>(a->getPixels())[0], 0x80);
    EXPECT_EQ(a->getLoadCount(), 1);
    // A code without a glyph is drawn with glyph 0.
    EXPECT_EQ(font->getGlyphTexture('b'), font->getGlyphTexture(0));
    EXPECT_EQ(font->getGlyphWidth('b'), 5);
    // Accented letters may fall back to their plain letter.
    EXPECT_EQ(font->getGlyphTexture('\xE0'), font->getGlyphTexture(0));
    font->setAccentFallbacks();
    EXPECT_EQ(font->getGlyphTexture('\xE0'), a);
    EXPECT_TRUE(font->hasChar('\xE4'));
}

TEST_F(BitmapFontTest, MissingOrBrokenFileEndsTheProgramWithItsMessage)
{
    std::vector<int> exits;
    BitmapFont::setFatalHandler([&](int code) { exits.push_back(code); });
    BitmapFont missing("data\\Ressources\\images\\absent.fnt", nullptr);
    makeFont(FntBuilder(10, 0, 0, 128).glyph(0, 1));
    BitmapFont::setFatalHandler(nullptr);

    EXPECT_EQ(exits, (std::vector<int>{1, 1}));
    ASSERT_EQ(app.messages.messages().size(), 2u);
    EXPECT_NE(app.messages.messages()[0].text.find("Police introuvable"), std::string::npos);
    EXPECT_NE(app.messages.messages()[1].text.find("Police introuvable"), std::string::npos);
}

TEST_F(BitmapFontTest, PicturesWithoutCharacterZeroEndTheProgramWithAWindows1252Message)
{
    std::vector<int> exits;
    BitmapFont::setFatalHandler([&](int code) { exits.push_back(code); });
    BitmapFont pictures("data\\Ressources\\images\\absent%03d.png", 0, 0, nullptr, true);
    EXPECT_EQ(pictures.load(), ERROR_INVALID);
    BitmapFont::setFatalHandler(nullptr);

    EXPECT_EQ(exits, std::vector<int>{1});
    ASSERT_EQ(app.messages.messages().size(), 1u);
    EXPECT_EQ(app.messages.messages()[0].text, "Le caract\xE8re 0 de la police doit etre pr\xE9sent. Il est "
                                               "utilis\xE9 comme caract\xE8re par d\xE9"
                                               "faut.");
}

TEST_F(BitmapFontTest, CreatingTheFirstTextLoadsTheGlyphs)
{
    auto font = makeFont(FntBuilder(10, 0, 0).glyph(0, 5).glyph('a', 6));
    std::unique_ptr<Text2D> text = font->createText(0, 0, 100, "a", 0xFF000000, 0, 0);
    EXPECT_TRUE(font->isLoaded());
    EXPECT_EQ(text->getFont(), font.get());
    EXPECT_EQ(text->getSize(), 10);
}

// The four fonts the build generates read whole and draw the French letters.
TEST(BitmapFontDataTest, GeneratedFontsLoad)
{
    const std::string data = VELMORIQUE_DATA_DIR;
    if (!std::filesystem::exists(data + "/Ressources/images/Arial Narrow 20.fnt"))
        GTEST_SKIP() << "no generated data in " << data;
    SkinTestApplication app;
    for (const char* name :
         {"Arial Narrow 20.fnt", "Arial Narrow 24.fnt", "Arial Narrow 32.fnt", "Eras Demi ITC 40.fnt"})
    {
        BitmapFont font(data + "/Ressources/images/" + name, nullptr);
        ASSERT_EQ(font.load(), 0) << name;
        EXPECT_GT(font.getLineHeight(), 10) << name;
        EXPECT_GT(font.getGlyphTable().glyphCount, 90u) << name;
        for (char c : std::string("Az09 .\xE9\xE8\xE0\xE7"))
            EXPECT_TRUE(font.hasChar(static_cast<uint8_t>(c))) << name << " " << int(static_cast<uint8_t>(c));
        EXPECT_GT(font.getGlyphWidth('W'), font.getGlyphWidth('i')) << name;
    }
    EXPECT_TRUE(app.messages.messages().empty());
}
