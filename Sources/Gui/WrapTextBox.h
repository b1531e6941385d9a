#pragma once
// A container that lays words, buttons, text fields and other widgets out
// left to right, starting a new line when the next one would pass the inner
// width. The dialogs build their content with it.
#include "Gui/Container.h"
#include "Gui/Label.h"
#include "Gui/TextButton.h"
#include "Gui/TextField.h"

#include <string>

// How the box's words, buttons and fields look.
struct WrapTextStyle
{
    // Index into the application's font table.
    uint32_t fontId = 0;
    uint32_t color = 0xFF000000;
    // Text flags (Gui/Text.h): the alignment of a word or a button caption.
    uint32_t alignment = 0;
    uint32_t lookId = 0;
};

enum WrapPlacement : int32_t
{
    // After what stands on the line.
    WRAP_FLOW = 0,
    // Centred in the rest of the line, which then ends.
    WRAP_CENTER = 1,
    // Against the right edge; the line then ends.
    WRAP_RIGHT = 2
};

class WrapTextBox : public Container
{
public:
    WrapTextBox(const Rect& rect, uint32_t lookId);

    void newLine();
    // Takes ownership; the widget's size is kept.
    void placeComponent(Component* widget, int32_t mode);
    // A label of the text, as wide as its text (at most the line); a word that
    // does not fit the room left starts a new line. With TEXT_WORD_WRAP in the
    // style the text wraps in the room and the label takes all its lines.
    Label* addWord(const std::string& text, const WrapTextStyle& style, int32_t mode);
    // A text button of the style's look and font, shrunk to its caption.
    TextButton* addButton(const std::string& caption, const WrapTextStyle& style, int32_t mode);
    // An optional caption, then a field filling the rest of the line, cut to
    // width (or, with width 0, to maxLength characters of the font).
    TextField* addLabeledTextField(const WrapTextStyle& style, const std::string& caption, uint32_t maxLength,
                                   int32_t indent, int32_t width, int32_t mode);
    // Closes a pending line and takes the height of the content.
    void fitHeight();

    void setLineSpacing(int32_t spacing) { mLineSpacing = spacing; }
    void setItemSpacing(int32_t spacing) { mItemSpacing = spacing; }
    // 0: each line is as high as its tallest item.
    void setFixedLineHeight(int32_t height) { mFixedLineHeight = height; }
    int32_t getLineTop() const { return mLineTop; }
    int32_t getRunningX() const { return mRunningX; }
    int32_t getLineHeight() const { return mLineHeight; }
    int32_t getInnerWidth() const { return mWidth - mMarginLeft - mMarginRight; }

private:
    int32_t mLineTop = 0;
    int32_t mRunningX = 0;
    int32_t mLineHeight = 0;
    int32_t mLineSpacing = 0;
    int32_t mItemSpacing = 0;
    int32_t mFixedLineHeight = 0;
};
