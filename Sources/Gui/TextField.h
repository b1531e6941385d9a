#pragma once
// The one-line text entry: a bordered box showing a text with a caret and a
// selection, scrolled sideways to keep the caret in view, clipped to its inner
// area. It takes the focus when made, blinks its caret while focused, edits
// with the keyboard, copies and pastes through the clipboard and tells its
// owner of every change. Texts are Windows-1252.
#include "Engine/RenderList.h"
#include "Framework/Timer.h"
#include "Gui/Container.h"
#include "Gui/Text.h"

#include <memory>
#include <string>

class TextField : public Container
{
public:
    TextField(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text,
              uint32_t maxLength, uint32_t textColor);
    ~TextField() override;

    ErrorCode render() override;
    void animate() override;
    uint32_t onMouseEvent(const MouseEvent& event) override;
    uint32_t onKeyEvent(const KeyEvent& event) override;
    void onLoseFocus() override;
    void onGainFocus() override;
    void moveTo(int32_t x, int32_t y, bool update) override;
    void resize(int32_t width, int32_t height, bool update) override;

    // Calls nobody.
    void setText(const std::string& text);
    const std::string& getText() const;
    void setCaret(int32_t index, bool extendSelection);
    // Replaces the selection; false, with nothing changed, when the result
    // would pass the maximum length.
    bool insertText(const std::string& text);
    std::string getSelectedText() const;
    uint32_t getMaxLength() const { return mMaxLength; }
    bool hasFocus() const;
    int32_t getScroll() const { return mScroll; }
    // Null when no font could make one.
    Text2D* getTextObject() const { return mText.get(); }
    RenderList* getClipList() const { return mClipList.get(); }
    // Whether the blinking caret is in its visible half.
    bool isCaretShown() const { return mCaretShown; }

    // Called with the field after a change by the user (and after a copy).
    WidgetCallback onChange;

private:
    int32_t margin() const { return mHeight / 5; }
    void makeText(const std::string& text);
    void scrollToCaret();
    void placeText();
    void restartBlink();
    void blinkStep();
    // Removes the selection, or the character at index when there is none.
    bool removeAt(int32_t index);

    Timer mBlinkTimer;
    // Declared before the text: the text's images leave it first.
    std::unique_ptr<RenderList> mClipList;
    std::unique_ptr<Text2D> mText;
    Font* mFont = nullptr;
    int32_t mScroll = 0;
    uint32_t mMaxLength;
    uint32_t mTextColor;
    int32_t mPressCaret = 0;
    bool mCaretShown = true;
};
