#include "Gui/TextField.h"

#include "Framework/Desktop.h"
#include "Framework/Keys.h"
#include "Gui/GuiManager.h"

#include <algorithm>

namespace
{
const Margins kNoMargins;
constexpr uint32_t kBordersLook = 9;
constexpr uint32_t kBlinkHalfPeriodMs = 800;
// The caret is kept this far from either edge of the inner area.
constexpr int32_t kScrollSlack = 16;

bool controlHeld()
{
    return isKeyDown(KEY_LCTRL) || isKeyDown(KEY_RCTRL);
}
} // namespace

TextField::TextField(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text,
                     uint32_t maxLength, uint32_t textColor)
    : Container(x, y, width, height, kBordersLook, &kNoMargins), mMaxLength(maxLength), mTextColor(textColor)
{
    int32_t m = margin();
    mClipList = std::make_unique<RenderList>(Rect{x + m, y, width - 2 * m, height});
    mFont = findFont(0);
    makeText(text);
    mBlinkTimer.start();
    if (GuiManager* manager = GuiManager::current())
        manager->setFocus(this);
}

TextField::~TextField()
{
    mText.reset();
    mClipList.reset();
}

ErrorCode TextField::render()
{
    if (ErrorCode code = Container::render())
        return code;
    return mText ? mText->render() : 0;
}

bool TextField::hasFocus() const
{
    GuiManager* manager = GuiManager::current();
    return manager != nullptr && manager->getFocused() == this;
}

void TextField::restartBlink()
{
    mBlinkTimer.start();
    blinkStep();
}

void TextField::blinkStep()
{
    uint32_t t = mBlinkTimer.getElapsed();
    if (t >= 2 * kBlinkHalfPeriodMs)
    {
        mBlinkTimer.start();
        t = 0;
    }
    mCaretShown = t < kBlinkHalfPeriodMs;
    if (mText)
        mText->showCaret(mCaretShown);
}

void TextField::animate()
{
    Container::animate();
    if (hasFocus())
        blinkStep();
}

void TextField::onLoseFocus()
{
    mCaretShown = false;
    if (mText)
    {
        mText->showCaret(false);
        mText->showSelection(false);
    }
}

void TextField::onGainFocus()
{
    if (mText)
        mText->showSelection(true);
    blinkStep();
}

void TextField::placeText()
{
    if (mText)
        mText->setPosition(mX + margin() - mScroll, mY);
}

void TextField::moveTo(int32_t x, int32_t y, bool update)
{
    Container::moveTo(x, y, update);
    int32_t m = margin();
    placeText();
    mClipList->setRect(x + m, y, mWidth - 2 * m, mHeight);
}

void TextField::makeText(const std::string& text)
{
    if (mFont == nullptr)
        return;
    int32_t m = margin();
    // The text is as high as the field.
    mText = mFont->createText(mX + m - mScroll, mY, mWidth - 2 * m, text, mTextColor, mHeight,
                              TEXT_SHOW_CARET | TEXT_SHOW_SELECTION);
    if (mText)
        mText->setRenderList(mClipList.get());
}

void TextField::resize(int32_t width, int32_t height, bool update)
{
    mWidth = width;
    mHeight = height;
    if (update)
        updateLayout();
    int32_t m = margin();
    mClipList->setRect(mX + m, mY, width - 2 * m, height);
    if (!mText)
        return;
    // A text object keeps the height it was made with: the field makes a new
    // one, with the same text, caret and selection.
    std::string text = mText->getText();
    int32_t caret = mText->getCaret();
    int32_t start = mText->getSelectionStart();
    int32_t end = mText->getSelectionEnd();
    uint32_t shown = mText->getFlags() & (TEXT_SHOW_CARET | TEXT_SHOW_SELECTION);
    makeText(text);
    if (!mText)
        return;
    mText->showCaret((shown & TEXT_SHOW_CARET) != 0);
    mText->showSelection((shown & TEXT_SHOW_SELECTION) != 0);
    mText->setCaret(caret == start ? end : start, false);
    mText->setCaret(caret, caret != start || start != end);
    scrollToCaret();
}

void TextField::scrollToCaret()
{
    if (!mText)
        return;
    int32_t caretX = 0;
    int32_t caretY = 0;
    mText->getCharPosition(mText->getCaret(), caretX, caretY);
    int32_t m = margin();
    if (caretX >= mX + m + kScrollSlack && caretX <= mX + mWidth - m - kScrollSlack)
        return;
    // The caret comes to the middle of the inner area.
    mScroll += caretX - mX - m - (mWidth - 2 * m) / 2;
    if (mScroll < 0)
        mScroll = 0;
    placeText();
}

void TextField::setText(const std::string& text)
{
    if (!mText)
        return;
    mText->setText(text, true);
    scrollToCaret();
}

const std::string& TextField::getText() const
{
    static const std::string empty;
    return mText ? mText->getText() : empty;
}

void TextField::setCaret(int32_t index, bool extendSelection)
{
    if (!mText)
        return;
    int32_t length = static_cast<int32_t>(mText->getText().size());
    mText->setCaret(std::clamp(index, 0, length), extendSelection);
    scrollToCaret();
}

bool TextField::insertText(const std::string& text)
{
    if (!mText)
        return false;
    const std::string& current = mText->getText();
    size_t length = current.size();
    size_t end = std::min(static_cast<size_t>(std::max(mText->getSelectionEnd(), 0)), length);
    size_t start = std::min(static_cast<size_t>(std::max(mText->getSelectionStart(), 0)), end);
    if (length - (end - start) + text.size() > mMaxLength)
        return false;
    std::string updated = current.substr(0, start) + text + current.substr(end);
    mText->setText(updated, true);
    mText->setCaret(static_cast<int32_t>(start + text.size()), false);
    scrollToCaret();
    return true;
}

std::string TextField::getSelectedText() const
{
    if (!mText)
        return std::string();
    const std::string& current = mText->getText();
    size_t end = std::min(static_cast<size_t>(std::max(mText->getSelectionEnd(), 0)), current.size());
    size_t start = std::min(static_cast<size_t>(std::max(mText->getSelectionStart(), 0)), end);
    return current.substr(start, end - start);
}

uint32_t TextField::onMouseEvent(const MouseEvent& event)
{
    if (uint32_t result = Container::onMouseEvent(event))
        return result;
    GuiManager* manager = GuiManager::current();
    int32_t x = 0;
    int32_t y = 0;
    if (manager == nullptr || !mText || !getEventPosition(event, x, y))
        return 0;
    bool pressed = manager->getPressed() == this;
    if (event.mType == MOUSE_EVENT_MOVE)
    {
        if (pressed)
        {
            restartBlink();
            setCaret(mText->hitTestChar(x, y), true);
        }
        return 0;
    }
    if (event.mButton != MOUSE_BUTTON_LEFT)
        return 0;
    if (event.mType == MOUSE_EVENT_BUTTON_DOWN)
    {
        if (pressed && !containsPoint(x, y))
            return 0;
        if (manager->getFocused() != this)
            manager->setFocus(this);
        restartBlink();
        mPressCaret = mText->hitTestChar(x, y);
        manager->setPressed(this);
        setCaret(mPressCaret, false);
        return 1;
    }
    if (event.mType == MOUSE_EVENT_BUTTON_UP && pressed)
    {
        restartBlink();
        manager->clearPressed(this);
    }
    return 0;
}

bool TextField::removeAt(int32_t index)
{
    if (mText->getSelectionEnd() > mText->getSelectionStart())
        return insertText(std::string());
    std::string text = mText->getText();
    if (index < 0 || index >= static_cast<int32_t>(text.size()))
        return false;
    text.erase(static_cast<size_t>(index), 1);
    mText->setText(text, true);
    mText->setCaret(index, false);
    scrollToCaret();
    return true;
}

uint32_t TextField::onKeyEvent(const KeyEvent& event)
{
    if (uint32_t result = Container::onKeyEvent(event))
        return result;
    if (event.mType != KEY_EVENT_PRESSED && event.mType != KEY_EVENT_REPEATED)
        return 0;
    if (!mText)
        return 0;
    restartBlink();
    int32_t caret = mText->getCaret();
    int32_t length = static_cast<int32_t>(mText->getText().size());
    bool selection = mText->getSelectionEnd() > mText->getSelectionStart();
    switch (event.mKeyId)
    {
    case KEY_LEFT:
        if (selection)
            setCaret(mText->getSelectionStart(), false);
        else if (caret > 0)
            setCaret(caret - 1, false);
        return 1;
    case KEY_RIGHT:
        if (selection)
            setCaret(mText->getSelectionEnd(), false);
        else if (caret < length)
            setCaret(caret + 1, false);
        return 1;
    case KEY_HOME:
        setCaret(0, false);
        return 1;
    case KEY_END:
        setCaret(length, false);
        return 1;
    case KEY_DELETE:
        if (removeAt(caret))
            onChange.invoke(this);
        return 1;
    case KEY_BACKSPACE:
        if (removeAt(selection ? caret : caret - 1))
            onChange.invoke(this);
        return 1;
    default:
        break;
    }
    if (controlHeld() && event.mKeyId == KEY_C)
    {
        setClipboardText(getSelectedText());
        onChange.invoke(this);
        return 1;
    }
    if (controlHeld() && event.mKeyId == KEY_V)
    {
        std::string pasted;
        getClipboardText(pasted);
        // Line breaks and other control codes of a copied text would break
        // the one line.
        std::erase_if(pasted, [](char c) { return static_cast<uint8_t>(c) < 32; });
        // A paste that does not fit is refused whole and tells nobody.
        if (insertText(pasted))
            onChange.invoke(this);
        return 1;
    }
    std::string typed;
    for (char c : event.mChars)
    {
        auto code = static_cast<uint8_t>(c);
        // Control codes (enter, tab, escape...) never enter a one-line text.
        if (code >= 32 && mFont != nullptr && mFont->hasChar(code))
            typed.push_back(c);
        if (c == 0)
            break;
    }
    if (typed.empty())
        return 0;
    if (insertText(typed))
        onChange.invoke(this);
    return 1;
}
