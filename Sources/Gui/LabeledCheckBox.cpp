#include "Gui/LabeledCheckBox.h"

namespace
{
const Margins kNoMargins;

void alignLeft(TextButton* button, bool wrap)
{
    if (Text2D* caption = button->getCaption())
    {
        caption->setAlignment(TEXT_ALIGN_LEFT);
        if (!wrap)
            caption->setWordWrap(false);
    }
}
} // namespace

LabeledCheckBox::LabeledCheckBox(int32_t x, int32_t y, int32_t width, int32_t height,
                                 const std::string& caption, const std::string& infotipText, bool checked,
                                 uint32_t boxLookId, uint32_t captionLookId, Font* captionFont,
                                 int32_t captionHeight, int32_t boxSize, const std::string& leadingCaption)
    : Container(x, y, width, height, LOOK_EMPTY, &kNoMargins), mInfotipText(infotipText)
{
    int32_t side = boxSize != 0 ? boxSize : height;
    mBox = new CheckBox(0, 0, side, side, boxLookId);
    mBox->setChecked(checked);
    mBox->onClick.mFunction = [this](Component* sender, uint32_t) { onClick(sender); };
    addChild(mBox);
    if (!leadingCaption.empty())
    {
        mLeadingCaption =
            new TextButton(side, 0, width, height, leadingCaption, captionLookId, std::string(), captionFont);
        alignLeft(mLeadingCaption, false);
        int32_t leadingWidth = mLeadingCaption->getCaptionWidth();
        mLeadingCaption->resize(leadingWidth, height, false);
        mLeadingCaption->onClick.mFunction = [this](Component* sender, uint32_t) { onClick(sender); };
        addChild(mLeadingCaption);
        side += leadingWidth;
    }
    int32_t captionH = captionHeight != 0 ? captionHeight : height;
    mCaption = new TextButton(side, (height - captionH) / 2, width - side, captionH, caption, captionLookId,
                              std::string(), captionFont);
    alignLeft(mCaption, false);
    mCaption->onClick.mFunction = [this](Component* sender, uint32_t) { onClick(sender); };
    addChild(mCaption);
    mBox->updateLayout();
}

void LabeledCheckBox::onClick(Component* sender)
{
    // A click on the box has flipped it already; while disabled it is undone.
    if (sender == mCaption || !mCaption->isEnabled())
    {
        mBox->setChecked(!mBox->isChecked());
        mBox->updateLayout();
    }
    if (mCaption->isEnabled())
        onChange.invoke(this);
}

void LabeledCheckBox::setChecked(bool checked)
{
    mBox->setChecked(checked);
    mBox->updateLayout();
}

void LabeledCheckBox::setEnabled(bool enabled)
{
    mCaption->setEnabled(enabled);
    mCaption->updateLayout();
    if (mLeadingCaption != nullptr)
    {
        mLeadingCaption->setEnabled(enabled);
        mLeadingCaption->updateLayout();
    }
}

int32_t LabeledCheckBox::getNaturalWidth() const
{
    return mBox->getWidth() + mCaption->getCaptionWidth() +
           (mLeadingCaption != nullptr ? mLeadingCaption->getWidth() : 0);
}

void LabeledCheckBox::resize(int32_t width, int32_t height, bool update)
{
    mWidth = width;
    mHeight = height;
    mCaption->resize(mX + width - mCaption->getX(), mCaption->getHeight(), false);
    if (update)
        updateLayout();
}
