#include "Gui/Label.h"

#include "Gui/Container.h"
#include "Gui/GuiManager.h"

Label::Label(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text, uint32_t color,
             uint32_t flags, Font* font)
    : Component(x, y, width, height)
{
    makeText(text, color, flags, font != nullptr ? font : findFont(0));
}

Label::Label(const Rect& rect, const std::string& text, uint32_t color, uint32_t flags, Font* font)
    : Label(rect.x, rect.y, rect.width, rect.height, text, color, flags, font)
{
}

Label::Label(const Rect& rect, const std::string& text, const LabelStyle& style) : Component(rect)
{
    Font* font = style.fontIndex >= 0 ? findFont(static_cast<uint32_t>(style.fontIndex)) : nullptr;
    makeText(text, style.color, style.flags, font != nullptr ? font : findFont(0));
}

void Label::makeText(const std::string& text, uint32_t color, uint32_t flags, Font* font)
{
    mColor = color;
    // Without a font (the table not filled yet) the label shows nothing.
    if (font != nullptr)
        mTextObject = font->createText(mX, mY, mWidth, text, color, font->getLineHeight(), flags);
    applyAlignment();
}

Label::~Label()
{
    mTextObject.reset();
    dropInfotipComponent();
}

void Label::dropInfotipComponent()
{
    // It may be showing in the infotip right now: the queue takes it out of
    // there and deletes it after the dispatch.
    GuiManager* manager = GuiManager::current();
    if (manager != nullptr && mInfotipComponent != nullptr)
        manager->postOperation(mInfotipComponent.release(), GUI_OP_REMOVE_AND_DELETE, nullptr);
    mInfotipComponent.reset();
}

ErrorCode Label::render()
{
    return mTextObject ? mTextObject->render() : 0;
}

void Label::applyAlignment()
{
    if (!mTextObject)
        return;
    int32_t textHeight = mTextObject->getHeight();
    switch (mAlignment)
    {
    case LABEL_ALIGN_CENTER:
        mTextObject->setPosition(mX, mY + (mHeight - textHeight) / 2);
        break;
    case LABEL_ALIGN_BOTTOM:
        mTextObject->setPosition(mX, mY + mHeight - textHeight);
        break;
    default:
        mTextObject->setPosition(mX, mY);
        break;
    }
}

void Label::setTextSize(int32_t size)
{
    if (!mTextObject)
        return;
    mTextObject->setSize(size);
    applyAlignment();
}

void Label::updateLayout()
{
    applyAlignment();
    if (mTextObject)
        mTextObject->setWidth(mWidth);
}

void Label::setRenderList(RenderList* list)
{
    Component::setRenderList(list);
    if (mTextObject)
        mTextObject->setRenderList(list);
}

void Label::setColor(uint32_t argb)
{
    if (mTextObject)
        mTextObject->setColor(argb);
    Component::setColor(argb);
}

void Label::setText(const std::string& text)
{
    if (!mTextObject)
        return;
    mTextObject->setText(text, true);
    applyAlignment();
}

void Label::setAlignment(int32_t alignment)
{
    mAlignment = alignment;
    applyAlignment();
}

void Label::setInfotip(const std::string& text, Component* component)
{
    mInfotipText = text;
    if (mInfotipComponent.get() == component)
        return;
    dropInfotipComponent();
    mInfotipComponent.reset(component);
}
