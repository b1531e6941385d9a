#include "Gui/TextButton.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/ErrorText.h"
#include "Framework/FrameworkTexts.h"
#include "Framework/LangTable.h"
#include "Framework/Messages.h"
#include "Gui/Dialog.h"
#include "Gui/GuiManager.h"
#include "Sound/SoundManager.h"

std::unique_ptr<LookRenderer> createWidgetRenderer(uint32_t lookId, Component* widget, Look*& look)
{
    look = findLook(lookId);
    std::unique_ptr<LookRenderer> renderer = look != nullptr ? look->createRenderer(widget) : nullptr;
    if (!renderer)
        renderer = std::make_unique<EmptyRenderer>(look, widget);
    // The widget stays usable; it draws what its renderer can.
    if (ErrorCode code = renderer->update())
        showMessage(getLangText(LANG_ERROR_STRING).c_str(), errorCodeToText(code).c_str());
    return renderer;
}

void playWidgetSound(uint32_t soundId)
{
    if (soundId == 0)
        return;
    ApplicationGeneric* application = getApplication();
    if (SoundManager* sound = application != nullptr ? application->getSoundManager() : nullptr)
        sound->playSound(soundId, -1, false);
}

bool getCursorPosition(int32_t& x, int32_t& y)
{
    ApplicationGeneric* application = getApplication();
    CursorManagerBase* cursor = application != nullptr ? application->getCursorManager() : nullptr;
    if (cursor == nullptr)
        return false;
    x = cursor->mMouseX;
    y = cursor->mMouseY;
    return true;
}

TextButton::TextButton(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& caption,
                       uint32_t lookId, const std::string& infotipText, Font* font)
    : Component(x, y, width, height), mInfotipText(infotipText)
{
    init(caption, lookId, font);
}

TextButton::TextButton(const Rect& rect, const std::string& caption, uint32_t lookId,
                       const std::string& infotipText, Font* font)
    : Component(rect), mInfotipText(infotipText)
{
    init(caption, lookId, font);
}

void TextButton::init(const std::string& caption, uint32_t lookId, Font* font)
{
    if (font == nullptr)
        font = findFont(0);
    if (font != nullptr)
        mCaption = font->createText(mX, mY, mWidth, caption, 0xFF000000, font->getLineHeight(),
                                    TEXT_ALIGN_CENTER | TEXT_WORD_WRAP);
    mRepeatTimer.start();
    // The renderer may read the caption.
    mRenderer = createWidgetRenderer(lookId, this, mLook);
}

TextButton::~TextButton()
{
    mRenderer.reset();
    mCaption.reset();
}

ErrorCode TextButton::render()
{
    if (ErrorCode code = mRenderer->render())
        return code;
    return mCaption ? mCaption->render() : 0;
}

void TextButton::updateLayout()
{
    if (mCaption)
    {
        mCaption->setWidth(mWidth);
        if ((mCaption->getFlags() & 3) == TEXT_ALIGN_CENTER)
            mCaption->setPosition(mX, mY + (mHeight - mCaption->getHeight()) / 2);
        else
            mCaption->setPosition(mX, mY);
    }
    mRenderer->update();
}

void TextButton::animate()
{
    GuiManager* manager = GuiManager::current();
    if (mRepeatInterval > 0 && mEnabled && manager != nullptr && manager->getPressed() == this)
    {
        int32_t x = 0;
        int32_t y = 0;
        if (!getCursorPosition(x, y) || !containsPoint(x, y))
        {
            // Counting starts again when the cursor comes back.
            mRepeatTimer.start();
        }
        else
        {
            uint32_t interval = static_cast<uint32_t>(mRepeatInterval);
            uint32_t elapsed = mRepeatTimer.getElapsed();
            mRepeatCount = elapsed / interval;
            // A late frame fires once, not once per missed interval.
            if (mRepeatCount != 0)
            {
                mRepeatTimer.setElapsed(elapsed - mRepeatCount * interval);
                onClick.invoke(this);
            }
        }
    }
    if (auto* renderer = dynamic_cast<ButtonRenderer*>(mRenderer.get()))
        renderer->animate();
}

void TextButton::setRenderList(RenderList* list)
{
    Component::setRenderList(list);
    mRenderer->setRenderList(list);
    if (mCaption)
        mCaption->setRenderList(list);
}

uint32_t TextButton::onMouseEvent(const MouseEvent& event)
{
    if (uint32_t result = Component::onMouseEvent(event))
        return result;
    GuiManager* manager = GuiManager::current();
    if (manager == nullptr || event.mButton != MOUSE_BUTTON_LEFT)
        return 0;
    if (event.mType == MOUSE_EVENT_BUTTON_DOWN)
    {
        if (!mEnabled)
            return 0;
        if (manager->getPressed() == this && !containsPoint(event))
            return 0;
        manager->setPressed(this);
        updateLayout();
        if (mRepeatInterval > 0)
        {
            mRepeatTimer.start();
            mRepeatCount = 0;
            onClick.invoke(this);
        }
        return 1;
    }
    if (event.mType == MOUSE_EVENT_BUTTON_UP && manager->getPressed() == this)
    {
        bool fire = mEnabled && containsPoint(event);
        // Released before the callback runs: the callback may open a window
        // that takes the press.
        manager->clearPressed(this);
        if (fire)
        {
            playWidgetSound(getClickSoundId());
            if (mRepeatInterval <= 0)
                onClick.invoke(this);
        }
        return 1;
    }
    return 0;
}

void TextButton::setEnabled(bool enabled)
{
    if (enabled == mEnabled)
        return;
    mEnabled = enabled;
    updateLayout();
}

uint32_t TextButton::getLookState()
{
    if (!mEnabled)
        return LOOK_STATE_DISABLED;
    if (!mHovered)
        return LOOK_STATE_RELEASED;
    GuiManager* manager = GuiManager::current();
    return manager != nullptr && manager->getPressed() == this ? LOOK_STATE_PRESSED : LOOK_STATE_ROLLED_OVER;
}

void TextButton::setCaption(const std::string& text)
{
    if (mCaption)
        mCaption->setText(text, true);
    updateLayout();
}

namespace
{
class TextButtonKit final : public DialogButtonKit
{
public:
    Component* createButton(const DialogButtonSpec& request) override
    {
        auto* button = new TextButton(0, 0, request.width, request.height, request.caption, request.lookId,
                                      std::string(), findFont(request.font));
        button->onClick = request.onClick;
        return button;
    }
    void setCaption(Component* button, const std::string& caption) override
    {
        if (auto* textButton = dynamic_cast<TextButton*>(button))
            textButton->setCaption(caption);
    }
    bool isEnabled(Component* button) override
    {
        auto* textButton = dynamic_cast<TextButton*>(button);
        return textButton == nullptr || textButton->isEnabled();
    }
    int32_t getCaptionWidth(Component* button) override
    {
        auto* textButton = dynamic_cast<TextButton*>(button);
        return textButton != nullptr ? textButton->getCaptionWidth() : 0;
    }
};
} // namespace

void installTextButtonDialogKit()
{
    setDialogButtonKit(std::make_unique<TextButtonKit>());
}
