#pragma once
// What the widgets need of the bitmap fonts: a font makes text objects, and a
// text object draws one text at a place, wrapped to a width. The fonts of the
// application's font table implement Font.
//
// Text2D holds what every text object shares (text, position, width,
// alignment, colours, caret and selection) and the line breaking; how one
// character is measured and placed is left to the implementation (the bitmap
// font's Text2DView, Font.h).
#include "Engine/Image2D.h"
#include "Framework/ServiceInterfaces.h"
#include "Gui/GuiTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Font;

// Text flags: bits 0-1 horizontal alignment (0 left, 1 centred, 2 and 3
// right), 4 word wrap, 8 caret shown, 16 selection shown.
enum TextFlags : uint32_t
{
    TEXT_ALIGN_LEFT = 0,
    TEXT_ALIGN_CENTER = 1,
    TEXT_ALIGN_RIGHT = 2,
    TEXT_ALIGN_MASK = 3,
    TEXT_WORD_WRAP = 4,
    TEXT_SHOW_CARET = 8,
    TEXT_SHOW_SELECTION = 16
};

// Starts a colour code inside a text given to setColoredText: the byte is
// followed by the 8 digits of Color::fromHexText, and the characters after
// it take that colour.
inline constexpr char kTextColorCode = '\x03';

class Text2D
{
public:
    Text2D() = default;
    Text2D(int32_t x, int32_t y, int32_t width, const std::string& text, Font* font, uint32_t color,
           uint32_t flags);
    virtual ~Text2D();
    Text2D(const Text2D&) = delete;
    Text2D& operator=(const Text2D&) = delete;

    // Moves every laid-out character by the difference and re-places the
    // caret.
    virtual void setPosition(int32_t x, int32_t y);
    virtual ErrorCode render() = 0;
    // No effect when the text is the same. With clearColors the
    // per-character colours are dropped. Caret and selection are clamped to
    // the new length.
    virtual void setText(const std::string& text, bool clearColors);
    virtual const std::string& getText() const { return mText; }
    virtual void setWidth(int32_t width);
    // Sets the colour of the whole text, drops the per-character colours and
    // recolours the glyphs.
    virtual void setColor(uint32_t argb);
    virtual void setRenderList(RenderList* list);
    // The height of the laid-out text.
    virtual int32_t getHeight() const { return mHeight; }
    // The widest laid-out line.
    virtual int32_t getMaxLineWidth() const { return mMaxLineWidth; }

    // The characters' metrics at the drawn size.
    virtual int32_t getCharWidth(uint8_t code) const;
    virtual int32_t getLineHeight() const;
    virtual int32_t getLineSpacing() const;
    virtual int32_t getLetterSpacing() const;
    virtual int32_t getCaretHeight() const { return getLineHeight(); }
    // Where the character at index stands; at the end of the text, just
    // right of the last character.
    virtual void getCharPosition(int32_t index, int32_t& x, int32_t& y) const;
    virtual void getCharExtent(int32_t index, int32_t& width, int32_t& lineHeight) const;
    // The index of the character under the point (the caret position a
    // click there gives).
    virtual int32_t hitTestChar(int32_t x, int32_t y) const;
    // Breaks the text into lines and places every character again.
    virtual void relayout();
    // Gives every laid-out character its colour again.
    virtual void recolor() {}

    // The text where colour codes (kTextColorCode and 8 digits) set the
    // colour of the characters after them; the codes are not shown.
    void setColoredText(const std::string& source);
    const std::string& getColoredText() const { return mColoredText; }
    virtual void setAlignment(uint32_t alignment);
    uint32_t getAlignment() const { return mFlags & TEXT_ALIGN_MASK; }
    virtual void setWordWrap(bool wrap);
    bool isWordWrap() const { return (mFlags & TEXT_WORD_WRAP) != 0; }
    virtual void showCaret(bool show);
    virtual void showSelection(bool show);
    // Without extend the selection collapses at the caret; with extend it
    // runs from its anchor to the new caret.
    virtual void setCaret(int32_t index, bool extend);
    // Replaces the alpha of every per-character colour, or of the text's
    // colour when there are none.
    void setAlpha(uint8_t alpha);
    void setCharColors(std::vector<uint32_t> colors);

    int32_t getX() const { return mX; }
    int32_t getY() const { return mY; }
    int32_t getWidth() const { return mWidth; }
    Font* getFont() const { return mFont; }
    virtual uint32_t getFlags() const { return mFlags; }
    uint32_t getColor() const { return mColor; }
    RenderList* getRenderList() const { return mRenderList; }
    virtual int32_t getCaret() const { return mCaret; }
    virtual int32_t getSelectionStart() const { return mSelectionStart; }
    virtual int32_t getSelectionEnd() const { return mSelectionEnd; }
    const std::vector<uint32_t>& getCharColors() const { return mCharColors; }
    Image2D* getCaretImage() const { return mCaretImage.get(); }
    // The drawn line height; 0 for the font's own.
    virtual int32_t getSize() const { return 0; }
    virtual void setSize(int32_t) {}
    // Lines of the last layout.
    int32_t getLineCount() const { return mLineCount; }

protected:
    // Places the characters first..last (inclusive; an empty range when
    // last < first) of one line of lineWidth pixels at height y.
    virtual void layoutRange(int32_t first, int32_t last, int32_t lineWidth, int32_t y);
    // Called before a layout: nothing laid out stays shown.
    virtual void beginLayout() {}
    // The whole laid-out text moved by (dx, dy); the places above are moved
    // already.
    virtual void moveLaidOut(int32_t, int32_t) {}
    // Shows the character at index at (x, y), that wide and high.
    virtual void placeChar(int32_t, int32_t, int32_t, int32_t, int32_t) {}
    // The caret image; null when nothing can draw it.
    virtual std::unique_ptr<Image2D> createCaretImage() { return nullptr; }
    // The x where a line of that width starts, by the alignment.
    int32_t lineStartX(int32_t lineWidth) const;
    uint32_t charColor(int32_t index) const;
    void placeCaret();
    void dropColors();
    void setFlag(uint32_t flag, bool on);

    int32_t mX = 0;
    int32_t mY = 0;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    Font* mFont = nullptr;
    std::string mText;
    // The text with its colour codes, while the per-character colours stand.
    std::string mColoredText;
    int32_t mMaxLineWidth = 0;
    std::unique_ptr<Image2D> mCaretImage;
    uint32_t mFlags = 0;
    RenderList* mRenderList = nullptr;
    uint32_t mColor = 0xFF000000;
    int32_t mCaret = 0;
    int32_t mSelectionStart = 0;
    int32_t mSelectionEnd = 0;
    // The line and place of every character after the last layout (line -1:
    // not laid out).
    std::vector<int32_t> mCharLines;
    std::vector<int32_t> mCharX;
    std::vector<int32_t> mCharY;
    int32_t mLineCount = 0;
    int32_t mLastLineY = 0;
    std::vector<uint32_t> mCharColors;
};

class Font : public BitmapFontBase
{
public:
    Font() = default;
    Font(int32_t lineSpacing, int32_t letterSpacing, Texture* caretTexture)
        : mLineSpacing(lineSpacing), mLetterSpacing(letterSpacing), mCaretTexture(caretTexture)
    {
    }

    // size: the drawn line height, 0 for the font's own.
    virtual std::unique_ptr<Text2D> createText(int32_t x, int32_t y, int32_t width, const std::string& text,
                                               uint32_t color, int32_t size, uint32_t flags) = 0;
    virtual bool hasChar(uint8_t code) = 0;
    virtual int32_t getLineHeight() const { return mLineHeight; }
    bool isLoaded() const override { return mLoaded; }

    int32_t getLineSpacing() const { return mLineSpacing; }
    // Virtual and not const, as the clock's picture source asks it.
    virtual int32_t getLetterSpacing() { return mLetterSpacing; }
    int32_t getMaxGlyphWidth() const { return mMaxGlyphWidth; }
    // The texture of every text's caret.
    Texture* getCaretTexture() const { return mCaretTexture; }

protected:
    int32_t mLineSpacing = 0;
    int32_t mLetterSpacing = 0;
    Texture* mCaretTexture = nullptr;
    int32_t mMaxGlyphWidth = 0;
    int32_t mLineHeight = 0;
    bool mLoaded = false;
};

// Entry index of the application's font table, or null.
Font* findFont(uint32_t index);
