#pragma once
// Bitmap fonts: every character is a small texture, and a text object places
// one 2D image per character. The game's fonts come from .fnt files, a table
// of 8-bit glyph bitmaps (all integers u32 little-endian): table size (always
// 256), line spacing, letter spacing, glyph count N, glyph height H, then N
// records {code, width W, W x H bytes}. A code given twice keeps its last
// record. Glyph 0 stands for every code without a glyph of its own.
#include "Framework/BinaryStream.h"
#include "Gui/GlyphAtlas.h"
#include "Gui/Text.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Engine2D;
class Image2D;

class GlyphTable
{
public:
    static constexpr uint32_t kTableSize = 256;
    // A file is not trusted: larger glyphs than this are refused.
    static constexpr uint32_t kMaxGlyphSide = 1024;

    struct Glyph
    {
        uint32_t width = 0;
        // Empty: no glyph for the code.
        std::vector<uint8_t> pixels;
    };

    // 13 (ERROR_FILEIO_INVALIDFILE) for a table size other than 256, a code
    // of 256 or more, a glyph too large or bytes missing; the table is then
    // left empty.
    ErrorCode read(InputStream& stream);
    // The records in code order, every code that has bytes.
    ErrorCode write(OutputStream& stream) const;

    // pixels: width x height bytes; a glyph set where there was none counts.
    void setGlyph(uint8_t code, uint32_t width, std::vector<uint8_t> pixels);
    const Glyph& getGlyph(uint8_t code) const { return mGlyphs[code]; }
    bool hasGlyph(uint8_t code) const { return !mGlyphs[code].pixels.empty(); }

    uint32_t height = 0;
    int32_t lineSpacing = 0;
    int32_t letterSpacing = 0;
    uint32_t glyphCount = 0;

private:
    std::array<Glyph, kTableSize> mGlyphs;
};

class BitmapFont final : public Font
{
public:
    // What ends the program when a font cannot be had; tests replace it.
    using FatalHandler = std::function<void(int exitCode)>;
    static void setFatalHandler(FatalHandler handler);
    // Off: fonts loaded from then on give every glyph a texture of its own
    // instead of a part of one atlas (to compare the two; on by default).
    static void setGlyphAtlasUsed(bool used);

    // Reads the .fnt file through the application's file lookup; a failure
    // shows "Police introuvable" and ends the program.
    BitmapFont(const std::string& fileName, Texture* caretTexture);
    // One picture per character code: the pattern is a printf pattern given
    // the code. With loadAsIs the pictures are taken as they are, else their
    // brightness becomes the alpha and the picture is made negative.
    BitmapFont(const std::string& pattern, int32_t lineSpacing, int32_t letterSpacing, Texture* caretTexture,
               bool loadAsIs);
    ~BitmapFont() override;

    // Makes the glyph textures.
    ErrorCode load() override;
    // Loads the font first when needed; a font that cannot be loaded ends
    // the program.
    std::unique_ptr<Text2D> createText(int32_t x, int32_t y, int32_t width, const std::string& text,
                                       uint32_t color, int32_t size, uint32_t flags) override;
    bool hasChar(uint8_t code) override;

    // Draws code with the glyph of glyphCode.
    void setCharMap(uint8_t code, uint8_t glyphCode) { mCharMap[code] = glyphCode; }
    // Accented letters without a glyph fall back to their plain letter.
    void setAccentFallbacks();
    // The glyph table back in the .fnt layout.
    ErrorCode writeGlyphs(OutputStream& stream) const;

    // The texture that draws code: its mapped glyph's, else glyph 0's.
    Texture* getGlyphTexture(uint8_t code) const;
    // The size in pixels of the glyph that draws code (at the font's size).
    int32_t getGlyphWidth(uint8_t code) const;
    int32_t getGlyph0Height() const;
    const GlyphTable& getGlyphTable() const { return mGlyphTable; }
    const std::string& getFileName() const { return mFileName; }

private:
    uint8_t drawnGlyph(uint8_t code) const;
    // The glyphs as parts of one atlas texture. `made` stays false when the
    // engine makes no such parts (or they do not fit on one texture): the
    // glyphs then get textures of their own.
    ErrorCode loadAtlas(Engine2D& engine, bool& made);
    ErrorCode loadGlyphTextures(Engine2D& engine);
    ErrorCode loadPictures(Engine2D& engine);
    void releaseTextures();

    std::array<uint8_t, GlyphTable::kTableSize> mCharMap{};
    std::array<Texture*, GlyphTable::kTableSize> mGlyphTextures{};
    GlyphTable mGlyphTable;
    GlyphAtlas mAtlas;
    std::string mFileName;
    bool mPictureMode = false;
    bool mLoadAsIs = true;
};

// The text object of a bitmap font: one 2D image per character.
class Text2DView final : public Text2D
{
public:
    // size: the drawn line height, 0 for the font's own.
    Text2DView(int32_t x, int32_t y, int32_t width, const std::string& text, BitmapFont* font, uint32_t color,
               int32_t size, uint32_t flags);
    ~Text2DView() override;

    ErrorCode render() override;
    int32_t getCharWidth(uint8_t code) const override;
    int32_t getLineHeight() const override;
    int32_t getLineSpacing() const override;
    int32_t getLetterSpacing() const override;
    void recolor() override;
    void setRenderList(RenderList* list) override;
    int32_t getSize() const override { return mSize; }
    // 0 or less: the font's own line height.
    void setSize(int32_t size) override;

    // The image of the character at index (null before it was laid out).
    Image2D* getGlyphImage(int32_t index) const;
    // The box drawn behind a selected character (null when none is drawn).
    Image2D* getSelectionBox(int32_t index) const;

protected:
    void beginLayout() override;
    void placeChar(int32_t index, int32_t x, int32_t y, int32_t width, int32_t height) override;
    void moveLaidOut(int32_t dx, int32_t dy) override;
    std::unique_ptr<Image2D> createCaretImage() override;

private:
    // Brings the characters' images up to the last layout, move and colours.
    void syncImages();

    // value x size / the font's line height.
    int32_t scaled(int32_t value) const;

    // Lays a box under each selected character that shows.
    ErrorCode renderSelection();

    BitmapFont* mBitmapFont;
    std::vector<std::unique_ptr<Image2D>> mImages;
    // Behind the selected characters, in the caret's picture: the inverted
    // text of a selection stands out on the pale fields and lists.
    std::vector<std::unique_ptr<Image2D>> mSelectionBoxes;
    // 1 for every character the last layout placed.
    std::vector<uint8_t> mPlaced;
    bool mImagesStale = true;
    int32_t mSize;
};
