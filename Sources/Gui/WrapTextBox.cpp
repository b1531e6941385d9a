#include "Gui/WrapTextBox.h"

#include <algorithm>

namespace
{

Font* styleFont(const WrapTextStyle& style)
{
    Font* font = findFont(style.fontId);
    return font != nullptr ? font : findFont(0);
}

} // namespace

WrapTextBox::WrapTextBox(const Rect& rect, uint32_t lookId) : Container(rect, lookId) {}

void WrapTextBox::newLine()
{
    mRunningX = 0;
    mLineTop += mLineSpacing + (mFixedLineHeight != 0 ? mFixedLineHeight : mLineHeight);
    mLineHeight = 0;
}

void WrapTextBox::placeComponent(Component* widget, int32_t mode)
{
    if (widget == nullptr)
        return;
    int32_t innerWidth = getInnerWidth();
    int32_t width = widget->getWidth();
    int32_t height = widget->getHeight();
    if (mRunningX > 0 && mRunningX + width > innerWidth)
        newLine();
    mLineHeight = std::max(mLineHeight, height);
    int32_t y = mFixedLineHeight != 0 ? mLineTop + (mFixedLineHeight - height) / 2 : mLineTop;
    int32_t x = mRunningX;
    bool endsLine = false;
    if (mode == WRAP_CENTER)
    {
        x = mRunningX + (innerWidth - width - mRunningX) / 2;
        endsLine = true;
    }
    else if (mode == WRAP_RIGHT)
    {
        x = innerWidth - width;
        endsLine = true;
    }
    else
    {
        mRunningX += width + mItemSpacing;
    }
    // Relative to the client origin until it is added.
    widget->moveTo(x, y, false);
    add(widget);
    if (endsLine)
        newLine();
}

Label* WrapTextBox::addWord(const std::string& text, const WrapTextStyle& style, int32_t mode)
{
    int32_t room = getInnerWidth() - mRunningX;
    if (room <= 0)
    {
        newLine();
        room = getInnerWidth();
    }
    Font* font = styleFont(style);
    int32_t height = font != nullptr ? font->getLineHeight() : 0;
    auto* label = new Label(0, 0, room, height, text, style.color, style.alignment, font);
    // A word wider than the room left goes to the next line as a whole; only
    // a word wider than the whole line is cut. A text that wraps is as high
    // as its lines, so that what follows stands under it.
    if (Text2D* textObject = label->getTextObject())
    {
        if ((style.alignment & TEXT_WORD_WRAP) != 0)
            height = std::max(height, textObject->getHeight());
        label->resize(std::min(textObject->getMaxLineWidth(), getInnerWidth()), height, true);
    }
    placeComponent(label, mode);
    return label;
}

TextButton* WrapTextBox::addButton(const std::string& caption, const WrapTextStyle& style, int32_t mode)
{
    Font* font = styleFont(style);
    int32_t height = font != nullptr ? font->getLineHeight() : 0;
    auto* button = new TextButton(0, 0, getInnerWidth(), height, caption, style.lookId, std::string(), font);
    if (Text2D* text = button->getCaption())
        text->setAlignment(style.alignment & TEXT_ALIGN_MASK);
    int32_t captionWidth = button->getCaptionWidth();
    if (captionWidth > 0 && captionWidth < button->getWidth())
        button->resize(captionWidth, height, true);
    placeComponent(button, mode);
    return button;
}

TextField* WrapTextBox::addLabeledTextField(const WrapTextStyle& style, const std::string& caption,
                                            uint32_t maxLength, int32_t indent, int32_t width, int32_t mode)
{
    if (!caption.empty())
    {
        Label* label = addWord(caption, style, WRAP_FLOW);
        // Where the word landed: it may have wrapped to a new line.
        int32_t captionStart = mRunningX - label->getWidth() - mItemSpacing;
        if (indent != 0)
            mRunningX = captionStart + indent;
    }
    Font* font = styleFont(style);
    int32_t height = font != nullptr ? font->getLineHeight() : 0;
    int32_t fieldWidth = std::max(getInnerWidth() - mRunningX, 0);
    int32_t cut = width;
    if (cut == 0 && font != nullptr)
    {
        // The width of maxLength characters, measured on one.
        std::unique_ptr<Text2D> sample = font->createText(0, 0, 1 << 20, "0", style.color, 0, 0);
        int64_t characterWidth = sample ? sample->getMaxLineWidth() : 0;
        cut = static_cast<int32_t>(std::min<int64_t>(characterWidth * maxLength, fieldWidth));
    }
    if (cut > 0)
        fieldWidth = std::min(fieldWidth, cut);
    auto* field = new TextField(0, 0, fieldWidth, height, std::string(), maxLength, style.color);
    placeComponent(field, mode);
    return field;
}

void WrapTextBox::fitHeight()
{
    if (mRunningX > 0 || mLineHeight > 0)
        newLine();
    resize(mWidth, mLineTop + mMarginTop + mMarginBottom, true);
}
