#pragma once
// What the widgets need of the bitmap fonts: a font makes text objects, and a
// text object draws one text at a place, wrapped to a width. The fonts of the
// application's font table implement Font.
#include "Framework/ServiceInterfaces.h"
#include "Gui/GuiTypes.h"

#include <cstdint>
#include <memory>
#include <string>

// Text flags: bits 0-1 horizontal alignment (0 left, 1 centred, 2 and 3
// right), 4 word wrap, 8 caret shown, 16 selection shown.
enum TextFlags : uint32_t
{
    TEXT_ALIGN_LEFT = 0,
    TEXT_ALIGN_CENTER = 1,
    TEXT_ALIGN_RIGHT = 2,
    TEXT_WORD_WRAP = 4,
    TEXT_SHOW_CARET = 8,
    TEXT_SHOW_SELECTION = 16
};

class Text2D
{
public:
    virtual ~Text2D() = default;
    virtual void setPosition(int32_t x, int32_t y) = 0;
    virtual ErrorCode render() = 0;
    // With clearColors the per-character colours are dropped.
    virtual void setText(const std::string& text, bool clearColors) = 0;
    virtual const std::string& getText() const = 0;
    virtual void setWidth(int32_t width) = 0;
    // Sets the colour of the whole text, drops the per-character colours and
    // recolours the glyphs.
    virtual void setColor(uint32_t argb) = 0;
    virtual void setRenderList(RenderList* list) = 0;
    // The height of the laid-out text.
    virtual int32_t getHeight() const = 0;
    // The widest laid-out line.
    virtual int32_t getMaxLineWidth() const = 0;

    // Editing and highlighting. The defaults keep no caret and no selection,
    // for text objects that only ever show a caption.
    // Without extend, caret and both ends of the selection go to index; with
    // extend the selection runs from its anchor to index.
    virtual void setCaret(int32_t, bool) {}
    virtual int32_t getCaret() const { return 0; }
    virtual int32_t getSelectionStart() const { return 0; }
    virtual int32_t getSelectionEnd() const { return 0; }
    virtual void showCaret(bool) {}
    virtual void showSelection(bool) {}
    virtual uint32_t getFlags() const { return 0; }
    // Bits 0-1 of the flags.
    virtual void setAlignment(uint32_t) {}
    virtual void setWordWrap(bool) {}
    // Where the character at index is drawn; the end of the text is the last
    // character's right edge.
    virtual void getCharPosition(int32_t, int32_t& x, int32_t& y) const
    {
        x = 0;
        y = 0;
    }
    // The character index nearest to a point.
    virtual int32_t hitTestChar(int32_t, int32_t) const { return 0; }
};

class Font : public BitmapFontBase
{
public:
    // size: the drawn line height, 0 for the font's own.
    virtual std::unique_ptr<Text2D> createText(int32_t x, int32_t y, int32_t width, const std::string& text,
                                               uint32_t color, int32_t size, uint32_t flags) = 0;
    virtual bool hasChar(uint8_t code) = 0;
    virtual int32_t getLineHeight() const = 0;
};

// Entry index of the application's font table, or null.
Font* findFont(uint32_t index);
