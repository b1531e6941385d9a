#include "Gui/Dialog.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/FrameworkTexts.h"
#include "Framework/Keys.h"
#include "Framework/LangTable.h"
#include "Gui/GuiManager.h"
#include "Gui/LabeledCheckBox.h"
#include "Gui/TextField.h"
#include "Gui/WrapTextBox.h"
#include "Sound/SoundManager.h"

#include <algorithm>

namespace
{
constexpr uint32_t kCheckBoxLook = 5;
// The look of the captions beside check boxes.
constexpr uint32_t kCheckCaptionLook = 3;

// The push button dialogs use until the widget set installs its text button:
// a click is a left press and release over it; it draws nothing.
class PlainDialogButton final : public Component
{
public:
    explicit PlainDialogButton(const DialogButtonSpec& request)
        : Component(0, 0, request.width, request.height), mCaption(request.caption), mOnClick(request.onClick)
    {
    }

    uint32_t onMouseEvent(const MouseEvent& event) override
    {
        Component::onMouseEvent(event);
        GuiManager* manager = GuiManager::current();
        if (manager == nullptr || event.mButton != MOUSE_BUTTON_LEFT)
            return 0;
        if (event.mType == MOUSE_EVENT_BUTTON_DOWN && containsPoint(event))
        {
            manager->setPressed(this);
            return 1;
        }
        if (event.mType == MOUSE_EVENT_BUTTON_UP && manager->getPressed() == this)
        {
            manager->clearPressed(this);
            if (containsPoint(event))
                mOnClick.invoke(this);
            return 1;
        }
        return 0;
    }

    std::string mCaption;
    WidgetCallback mOnClick;
};

class PlainDialogButtonKit final : public DialogButtonKit
{
public:
    Component* createButton(const DialogButtonSpec& request) override
    {
        return new PlainDialogButton(request);
    }
    void setCaption(Component* button, const std::string& caption) override
    {
        if (auto* plain = dynamic_cast<PlainDialogButton*>(button))
            plain->mCaption = caption;
    }
    int32_t getCaptionWidth(Component*) override { return 0; }
};

std::unique_ptr<DialogButtonKit>& buttonKit()
{
    static std::unique_ptr<DialogButtonKit> kit;
    return kit;
}

void windowSize(int32_t& width, int32_t& height)
{
    ApplicationGeneric* application = getApplication();
    width = application != nullptr ? static_cast<int32_t>(application->getSettings().mClientWidth) : 1024;
    height = application != nullptr ? static_cast<int32_t>(application->getSettings().mClientHeight) : 768;
}

// Button bits are 32 wide.
constexpr uint32_t kMaxButtons = 32;
} // namespace

void setDialogButtonKit(std::unique_ptr<DialogButtonKit> kit)
{
    buttonKit() = std::move(kit);
}

DialogButtonKit& getDialogButtonKit()
{
    std::unique_ptr<DialogButtonKit>& kit = buttonKit();
    if (!kit)
        kit = std::make_unique<PlainDialogButtonKit>();
    return *kit;
}

DialogLook::DialogLook() : Look(0, 0, nullptr, nullptr)
{
    const uint32_t captions[] = {LANG_BUTTON_CAPTION_OK, LANG_BUTTON_CAPTION_YES, LANG_BUTTON_CAPTION_NO,
                                 LANG_BUTTON_CAPTION_CANCEL};
    for (uint32_t i = 0; i < 4; ++i)
    {
        DialogButton record;
        record.captionTextId = static_cast<int32_t>(captions[i]);
        record.orderIndex = i;
        buttonRecords.push_back(record);
    }
}

DialogLook* findDialogLook(uint32_t lookId)
{
    if (auto* look = dynamic_cast<DialogLook*>(findLook(lookId)))
        return look;
    static DialogLook builtIn;
    return &builtIn;
}

DialogTitleRenderer::DialogTitleRenderer(DialogLook* look, Dialog* dialog) : mLook(look), mDialog(dialog)
{
    Font* font = findFont(look->titleFont);
    mLabel = new Label(look->insetLeft, look->insetTop, titleWidth(), look->titleGap, std::string(),
                       look->titleColor, TEXT_ALIGN_CENTER, font);
    dialog->addChild(mLabel);
}

int32_t DialogTitleRenderer::titleWidth() const
{
    return mDialog->getWidth() - mDialog->getMarginLeft() - mDialog->getMarginRight() - mLook->insetLeft -
           mLook->insetRight;
}

void DialogTitleRenderer::setTitle(const std::string& title)
{
    mLabel->setText(title);
}

void DialogTitleRenderer::update()
{
    mLabel->resize(titleWidth(), mLook->titleGap, true);
}

Dialog::Dialog(int32_t clientWidth, int32_t clientHeight, const std::string& title, uint32_t buttonMask,
               bool movable, bool modal, uint32_t lookId)
    : Window(0, 0, clientWidth, clientHeight, movable, findDialogLook(lookId)->frameLook, modal, true),
      mLook(findDialogLook(lookId))
{
    mLookRenderer = mLook->createTitleRenderer(this);
    if (mLookRenderer)
        mLookRenderer->setTitle(title);
    mButtons.assign(std::min<size_t>(mLook->buttonRecords.size(), kMaxButtons), nullptr);
    for (uint32_t i = 0; i < mButtons.size(); ++i)
    {
        if (buttonMask & (1u << i))
            addButton(i);
    }
    fitAndCenter(clientWidth, clientHeight);
    mCursorY = getContentTop();
}

Dialog::~Dialog()
{
    mLookRenderer.reset();
    mButtons.clear();
}

int32_t Dialog::getContentTop()
{
    return mLook->insetTop + mLook->spacing + mLook->titleGap;
}

int32_t Dialog::getContentHeight()
{
    return mHeight - mMarginTop - mMarginBottom - mLook->insetTop - mLook->insetBottom - mLook->buttonHeight -
           mLook->titleGap - 2 * mLook->spacing;
}

int32_t Dialog::getContentLeft()
{
    return mLook->insetLeft;
}

int32_t Dialog::getContentWidth()
{
    return mWidth - mLook->insetRight - mLook->insetLeft - mMarginLeft - mMarginRight;
}

void Dialog::addButton(uint32_t index)
{
    if (index >= mButtons.size() || mButtons[index] != nullptr)
        return;
    const DialogButton& record = mLook->buttonRecords[index];
    DialogButtonSpec request;
    request.caption =
        record.captionTextId >= 0 ? getLangText(static_cast<uint32_t>(record.captionTextId)) : record.caption;
    request.lookId = record.lookId;
    request.font = mLook->buttonFont;
    request.width = mLook->buttonWidth;
    request.height = mLook->buttonHeight;
    request.onClick.mFunction = [this, index](Component*, uint32_t) { onResult(1u << index); };
    DialogButtonKit& kit = getDialogButtonKit();
    Component* button = kit.createButton(request);
    if (button == nullptr)
        return;
    if (mLook->fitButtons)
        button->resize(kit.getCaptionWidth(button) + mLook->buttonExtraWidth, button->getHeight(), true);
    mButtons[index] = button;
    ++mButtonCount;
    if (!isAttachedToRoot())
    {
        addChild(button);
        return;
    }
    add(button);
    fitAndCenter(getContentWidth(), getContentHeight());
}

void Dialog::removeButton(uint32_t index)
{
    Component* button = getButton(index);
    if (button == nullptr)
        return;
    --mButtonCount;
    mButtons[index] = nullptr;
    deleteChild(button);
    fitAndCenter(getContentWidth(), getContentHeight());
}

void Dialog::setButtonCaption(uint32_t index, const std::string& caption)
{
    Component* button = getButton(index);
    if (button == nullptr)
        return;
    DialogButtonKit& kit = getDialogButtonKit();
    kit.setCaption(button, caption);
    if (!mLook->fitButtons)
        return;
    int32_t width = kit.getCaptionWidth(button) + mLook->buttonExtraWidth;
    button->resize(width, button->getHeight(), true);
    // Its slot in the row: the buttons before it.
    int32_t slot = 0;
    for (uint32_t i = 0; i < index; ++i)
        slot += mButtons[i] != nullptr ? 1 : 0;
    int32_t rowWidth = static_cast<int32_t>(mButtonCount) * mLook->buttonWidth;
    int32_t x = mX + mMarginLeft + (mWidth - mMarginLeft - mMarginRight - rowWidth) / 2 +
                slot * mLook->buttonWidth + (mLook->buttonWidth - width) / 2;
    int32_t y = mY + mHeight - mLook->buttonHeight - mMarginBottom;
    if (button->getParent() == this)
        button->moveTo(x, y, true);
    else
        button->moveTo(x - mX - mMarginLeft, y - mY - mMarginTop, true);
}

Label* Dialog::addTextLine(const std::string& text)
{
    auto* label = new Label(getContentLeft(), mCursorY, getContentWidth(), 32, text, mLook->textColor,
                            TEXT_WORD_WRAP, findFont(mLook->textFont));
    label->resize(label->getWidth(), label->getTextHeight(), true);
    addChild(label);
    mCursorY += label->getHeight();
    return label;
}

void Dialog::addTextBox(WrapTextBox* box)
{
    box->fitHeight();
    box->moveTo(getContentLeft(), mCursorY, false);
    addChild(box);
    mCursorY += box->getHeight();
    recenter();
}

LabeledCheckBox* Dialog::addCheckBox(const std::string& text, const std::string& infotip, bool checked,
                                     int32_t width)
{
    auto* box =
        new LabeledCheckBox(getContentLeft(), mCursorY, width != 0 ? width : getContentWidth(),
                            mLook->fieldHeight, text, infotip, checked, kCheckBoxLook, kCheckCaptionLook);
    addChild(box);
    mCursorY += mLook->fieldHeight;
    return box;
}

TextField* Dialog::addTextField(const std::string& caption, const std::string& text, uint32_t maxLength,
                                int32_t captionWidth)
{
    const int32_t rowHeight = mLook->fieldHeight;
    int32_t x = getContentLeft();
    int32_t room = getContentWidth();
    if (!caption.empty())
    {
        auto* label = new Label(x, mCursorY, room, rowHeight, caption, mLook->textColor, TEXT_ALIGN_LEFT,
                                findFont(mLook->textFont));
        label->setAlignment(LABEL_ALIGN_CENTER);
        int32_t width = captionWidth;
        if (width == 0)
            width = label->getTextObject() != nullptr ? label->getTextObject()->getMaxLineWidth() : 0;
        width = std::clamp(width, 0, room);
        label->resize(width, rowHeight, true);
        addChild(label);
        x += width;
        room -= width;
    }
    auto* field = new TextField(x, mCursorY, room, rowHeight, text, maxLength, mLook->textColor);
    addChild(field);
    mCursorY += rowHeight;
    return field;
}

void Dialog::recenter()
{
    fitAndCenter(getContentWidth(), mCursorY - getContentTop());
}

void Dialog::fitAndCenter(int32_t contentWidth, int32_t contentHeight)
{
    const DialogLook& look = *mLook;
    // 1. The size around the content.
    int32_t width = contentWidth + look.insetLeft + look.insetRight + mMarginLeft + mMarginRight;
    int32_t height = contentHeight + mMarginTop + mMarginBottom + look.insetTop + look.insetBottom +
                     look.buttonHeight + look.titleGap + 2 * look.spacing;
    resize(width, height, true);
    // 2. Centred on the client area.
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    windowSize(windowWidth, windowHeight);
    moveTo((windowWidth - width) / 2, (windowHeight - height) / 2, true);
    // 3. The title follows the width.
    if (mLookRenderer)
        mLookRenderer->update();
    // 4. The button row.
    int32_t innerWidth = width - mMarginLeft - mMarginRight - look.insetLeft - look.insetRight;
    int32_t innerHeight = height - mMarginTop - mMarginBottom - look.insetTop - look.insetBottom;
    int32_t rowWidth =
        (look.buttonWidth + look.buttonGap) * static_cast<int32_t>(mButtonCount) - look.buttonGap;
    int32_t x = look.insetLeft;
    if (look.buttonAlign == 1)
        x = (innerWidth - rowWidth) / 2 + look.insetLeft;
    else if (look.buttonAlign == 2)
        x = innerWidth - rowWidth + look.insetLeft;
    int32_t y = innerHeight - look.buttonHeight + look.insetTop;
    // 5. Each record shows the button at its order index.
    for (const DialogButton& record : look.buttonRecords)
    {
        Component* button = getButton(record.orderIndex);
        if (button == nullptr)
            continue;
        int32_t buttonX = x + (look.buttonWidth - button->getWidth()) / 2;
        // A button still waiting to be added is placed relative to the client
        // origin: adding it offsets it.
        if (button->getParent() == this)
            button->moveTo(mX + mMarginLeft + buttonX, mY + mMarginTop + y, true);
        else
            button->moveTo(buttonX, y, true);
        x += look.buttonWidth + look.buttonGap;
    }
}

uint32_t Dialog::onKeyEvent(const KeyEvent& event)
{
    if (uint32_t result = Container::onKeyEvent(event))
        return result;
    // A key without an id (KEY_NONE) is nobody's shortcut.
    if (event.mType == KEY_EVENT_PRESSED && event.mKeyId != KEY_NONE)
    {
        for (uint32_t i = 0; i < mButtons.size(); ++i)
        {
            if (mButtons[i] != nullptr && mLook->buttonRecords[i].shortcutKey == event.mKeyId &&
                getDialogButtonKit().isEnabled(mButtons[i]))
            {
                onResult(1u << i);
                return 1;
            }
        }
    }
    return isModal() ? 1 : 0;
}

MessageDialog::MessageDialog(const std::string& title, const std::string& text, uint32_t buttonMask,
                             Callback callback, void* callbackObject)
    : Dialog(450, 32, title, buttonMask, false, true, LOOK_DIALOG), mCallbackObject(callbackObject),
      mCallback(std::move(callback))
{
    if (title == getLangText(LANG_ERROR))
    {
        ApplicationGeneric* application = getApplication();
        if (SoundManager* sound = application != nullptr ? application->getSoundManager() : nullptr)
            sound->playSound(1, -1, false);
    }
    addTextLine(text);
    recenter();
}

void MessageDialog::onResult(uint32_t buttonBits)
{
    mResult = buttonBits;
    if (mCallback)
        mCallback(this, mCallbackObject);
    close();
}
