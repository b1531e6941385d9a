#include "Gui/Text.h"

#include "Engine/Image2D.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/Color.h"

#include <algorithm>

namespace
{
// French sets a space before these marks (0xBB is the closing guillemet in
// Windows-1252). The space before one is no place to break a line: the mark
// stays with the word before it.
bool isSpacedMark(uint8_t code)
{
    return code == '?' || code == '!' || code == ':' || code == ';' || code == 0xBB;
}
} // namespace

Font* findFont(uint32_t index)
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? dynamic_cast<Font*>(application->getFont(index)) : nullptr;
}

Text2D::Text2D(int32_t x, int32_t y, int32_t width, const std::string& text, Font* font, uint32_t color,
               uint32_t flags)
    : mX(x), mY(y), mWidth(width), mFont(font), mText(text), mMaxLineWidth(width), mFlags(flags),
      mColor(color)
{
}

Text2D::~Text2D() = default;

int32_t Text2D::getCharWidth(uint8_t) const
{
    return mFont != nullptr ? mFont->getMaxGlyphWidth() : 0;
}

int32_t Text2D::getLineHeight() const
{
    return mFont != nullptr ? mFont->getLineHeight() : 0;
}

int32_t Text2D::getLineSpacing() const
{
    return mFont != nullptr ? mFont->getLineSpacing() : 0;
}

int32_t Text2D::getLetterSpacing() const
{
    return mFont != nullptr ? mFont->getLetterSpacing() : 0;
}

void Text2D::setFlag(uint32_t flag, bool on)
{
    uint32_t flags = on ? (mFlags | flag) : (mFlags & ~flag);
    if (flags == mFlags)
        return;
    mFlags = flags;
    relayout();
}

void Text2D::setPosition(int32_t x, int32_t y)
{
    if (x == mX && y == mY)
        return;
    const int32_t dx = x - mX;
    const int32_t dy = y - mY;
    mX = x;
    mY = y;
    // A moved text keeps its lines: a list that scrolls moves every row, and
    // breaking each row's text again would cost the whole list every time.
    if (mCharX.size() != mText.size())
    {
        relayout();
        return;
    }
    for (int32_t& charX : mCharX)
        charX += dx;
    for (int32_t& charY : mCharY)
        charY += dy;
    mLastLineY += dy;
    moveLaidOut(dx, dy);
    placeCaret();
}

void Text2D::setWidth(int32_t width)
{
    if (width == mWidth)
        return;
    mWidth = width;
    relayout();
}

void Text2D::setRenderList(RenderList* list)
{
    if (list == mRenderList)
        return;
    mRenderList = list;
    if (mCaretImage)
        mCaretImage->setRenderList(list);
    relayout();
}

void Text2D::setAlignment(uint32_t alignment)
{
    uint32_t flags = (mFlags & ~TEXT_ALIGN_MASK) | (alignment & TEXT_ALIGN_MASK);
    if (flags == mFlags)
        return;
    mFlags = flags;
    relayout();
}

void Text2D::setWordWrap(bool wrap)
{
    setFlag(TEXT_WORD_WRAP, wrap);
}

void Text2D::showCaret(bool show)
{
    setFlag(TEXT_SHOW_CARET, show);
}

void Text2D::showSelection(bool show)
{
    setFlag(TEXT_SHOW_SELECTION, show);
}

void Text2D::dropColors()
{
    mColoredText.clear();
    mCharColors.clear();
}

void Text2D::setText(const std::string& text, bool clearColors)
{
    if (text == mText)
        return;
    if (clearColors)
        dropColors();
    mText = text;
    int32_t length = static_cast<int32_t>(mText.size());
    mCaret = std::min(mCaret, length);
    mSelectionEnd = std::min(mSelectionEnd, length);
    if (mSelectionEnd < mSelectionStart)
        mSelectionStart = mSelectionEnd = 0;
    relayout();
}

void Text2D::setColoredText(const std::string& source)
{
    std::string plain;
    std::vector<uint32_t> colors;
    uint32_t color = mColor;
    for (size_t i = 0; i < source.size(); ++i)
    {
        if (source[i] == kTextColorCode)
        {
            // A code cut short by the end of the text reads its missing
            // digits as 0.
            std::string_view digits(source.data() + i + 1, std::min<size_t>(8, source.size() - i - 1));
            color = Color::fromHexText(digits);
            i += digits.size();
            continue;
        }
        plain.push_back(source[i]);
        colors.push_back(color);
    }
    mText.clear();
    setText(plain, true);
    mColoredText = source;
    mCharColors = std::move(colors);
    relayout();
}

void Text2D::setCharColors(std::vector<uint32_t> colors)
{
    mCharColors = std::move(colors);
    recolor();
}

void Text2D::setColor(uint32_t argb)
{
    mColor = argb;
    dropColors();
    recolor();
}

void Text2D::setAlpha(uint8_t alpha)
{
    auto withAlpha = [alpha](uint32_t color) { return (color & 0x00FFFFFFu) | (uint32_t{alpha} << 24); };
    if (!mCharColors.empty())
        std::transform(mCharColors.begin(), mCharColors.end(), mCharColors.begin(), withAlpha);
    else
        mColor = withAlpha(mColor);
    recolor();
}

void Text2D::setCaret(int32_t index, bool extend)
{
    index = std::clamp(index, 0, static_cast<int32_t>(mText.size()));
    int32_t start = index;
    int32_t end = index;
    if (extend)
    {
        int32_t anchor = mCaret == mSelectionStart ? mSelectionEnd : mSelectionStart;
        start = std::min(anchor, index);
        end = std::max(anchor, index);
    }
    if (index == mCaret && start == mSelectionStart && end == mSelectionEnd)
        return;
    mCaret = index;
    mSelectionStart = start;
    mSelectionEnd = end;
    relayout();
}

uint32_t Text2D::charColor(int32_t index) const
{
    // The colours may be shorter than a text set without clearing them.
    if (index >= 0 && static_cast<size_t>(index) < mCharColors.size())
        return mCharColors[index];
    return mColor;
}

int32_t Text2D::lineStartX(int32_t lineWidth) const
{
    switch (mFlags & TEXT_ALIGN_MASK)
    {
    case TEXT_ALIGN_LEFT:
        return mX;
    case TEXT_ALIGN_CENTER:
        return mX + (mWidth - lineWidth) / 2;
    default:
        return mX + mWidth - lineWidth;
    }
}

void Text2D::relayout()
{
    beginLayout();
    const int32_t count = static_cast<int32_t>(mText.size());
    mCharLines.assign(count, -1);
    mCharX.assign(count, mX);
    mCharY.assign(count, mY);
    mLineCount = 0;

    const int32_t lineAdvance = getLineHeight() + getLineSpacing();
    const int32_t letterSpacing = getLetterSpacing();
    const bool wrap = (mFlags & TEXT_WORD_WRAP) != 0;
    int32_t y = mY;
    int32_t lineWidth = 0;
    int32_t lastSpace = -1;
    // The last space before a mark: a break only for a word that with its
    // mark is wider than the whole line.
    int32_t lastHeldSpace = -1;
    int32_t lineStart = 0;
    mMaxLineWidth = 0;

    auto endLine = [&](int32_t last, int32_t width)
    {
        layoutRange(lineStart, last, width, y);
        mMaxLineWidth = std::max(mMaxLineWidth, width);
        ++mLineCount;
        y += lineAdvance;
        lastSpace = -1;
        lastHeldSpace = -1;
    };

    for (int32_t i = 0; i < count; ++i)
    {
        const uint8_t code = static_cast<uint8_t>(mText[i]);
        if (code == '\n')
        {
            // The line feed stands at the end of the line it ends.
            endLine(i - 1, lineWidth);
            mCharLines[i] = mLineCount - 1;
            mCharX[i] = lineStartX(lineWidth) + lineWidth;
            mCharY[i] = y - lineAdvance;
            lineStart = i + 1;
            lineWidth = 0;
            continue;
        }
        if (code == ' ')
        {
            if (i + 1 < count && isSpacedMark(static_cast<uint8_t>(mText[i + 1])))
                lastHeldSpace = i;
            else
                lastSpace = i;
        }
        const int32_t advance = getCharWidth(code) + letterSpacing;
        lineWidth += advance;
        // A character alone on its line stays there however wide it is.
        if (!wrap || lineWidth <= mWidth || i == lineStart)
            continue;
        const int32_t breakSpace = lastSpace >= lineStart ? lastSpace : lastHeldSpace;
        if (breakSpace < lineStart)
        {
            endLine(i - 1, lineWidth - advance);
            lineStart = i;
            lineWidth = advance;
        }
        else
        {
            int32_t movedWidth = 0;
            for (int32_t k = breakSpace + 1; k <= i; ++k)
                movedWidth += getCharWidth(static_cast<uint8_t>(mText[k])) + letterSpacing;
            int32_t width = lineWidth - movedWidth;
            if (breakSpace == i)
                width -= advance;
            const int32_t space = breakSpace;
            endLine(space, width);
            lineStart = space + 1;
            lineWidth = movedWidth;
        }
    }
    endLine(count - 1, lineWidth);
    mLastLineY = y - lineAdvance;
    mHeight = y - lineAdvance + getLineSpacing() + getLineHeight() - mY;
    placeCaret();
    recolor();
}

void Text2D::layoutRange(int32_t first, int32_t last, int32_t lineWidth, int32_t y)
{
    int32_t x = lineStartX(lineWidth);
    const int32_t letterSpacing = getLetterSpacing();
    for (int32_t i = std::max(first, 0); i <= last && i < static_cast<int32_t>(mText.size()); ++i)
    {
        const int32_t width = getCharWidth(static_cast<uint8_t>(mText[i]));
        mCharX[i] = x;
        mCharY[i] = y;
        mCharLines[i] = mLineCount;
        placeChar(i, x, y, width, getLineHeight());
        x += width + letterSpacing;
    }
}

void Text2D::getCharPosition(int32_t index, int32_t& x, int32_t& y) const
{
    const int32_t count = static_cast<int32_t>(mText.size());
    if (count == 0 || static_cast<int32_t>(mCharX.size()) != count)
    {
        switch (mFlags & TEXT_ALIGN_MASK)
        {
        case TEXT_ALIGN_LEFT:
            x = mX;
            break;
        case TEXT_ALIGN_CENTER:
            x = mX + mWidth / 2;
            break;
        default:
            x = mX + mWidth - 1;
            break;
        }
        y = mY;
        return;
    }
    if (index >= 0 && index < count)
    {
        x = mCharX[index];
        y = mCharY[index];
        return;
    }
    if (mText[count - 1] == '\n')
    {
        // After a final line feed the caret begins the empty last line.
        x = lineStartX(0);
        y = mLastLineY;
        return;
    }
    x = mCharX[count - 1] + getCharWidth(static_cast<uint8_t>(mText[count - 1]));
    y = mCharY[count - 1];
}

void Text2D::getCharExtent(int32_t index, int32_t& width, int32_t& lineHeight) const
{
    width = index >= 0 && index < static_cast<int32_t>(mText.size())
                ? getCharWidth(static_cast<uint8_t>(mText[index]))
                : 0;
    lineHeight = getLineHeight();
}

int32_t Text2D::hitTestChar(int32_t x, int32_t y) const
{
    const int32_t count = static_cast<int32_t>(mText.size());
    if (count == 0 || static_cast<int32_t>(mCharX.size()) != count)
        return 0;
    auto middle = [this](int32_t i) { return mCharX[i] + getCharWidth(static_cast<uint8_t>(mText[i])) / 2; };
    if (mLineCount <= 1)
    {
        for (int32_t i = 0; i < count; ++i)
        {
            if (middle(i) >= x)
                return i;
        }
        return count;
    }
    const int32_t lineHeight = getLineHeight();
    for (int32_t i = 0; i < count; ++i)
    {
        if (mCharY[i] + lineHeight < y)
            continue;
        const int32_t line = mCharLines[i];
        int32_t j = i;
        for (; j < count && mCharLines[j] == line; ++j)
        {
            if (middle(j) >= x)
                return j;
        }
        return j - 1;
    }
    return count - 1;
}

void Text2D::placeCaret()
{
    if ((mFlags & TEXT_SHOW_CARET) == 0)
        return;
    if (!mCaretImage)
        mCaretImage = createCaretImage();
    if (!mCaretImage)
        return;
    int32_t x = 0;
    int32_t y = 0;
    getCharPosition(mCaret, x, y);
    if (!mText.empty() && mCaret >= static_cast<int32_t>(mText.size()) && mText.back() != '\n')
        x -= 2;
    Texture* texture = mFont != nullptr ? mFont->getCaretTexture() : nullptr;
    if (mCaretImage->getTexture() != texture)
        mCaretImage->setTexture(texture);
    mCaretImage->setRenderList(mRenderList);
    mCaretImage->setSize(2.0f, static_cast<float>(getCaretHeight()), Image2D::SIZE_STRETCHED);
    mCaretImage->setPosition(static_cast<float>(x), static_cast<float>(y));
    mCaretImage->update();
}
