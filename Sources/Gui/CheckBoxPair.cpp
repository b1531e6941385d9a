#include "Gui/CheckBoxPair.h"

namespace
{
const Margins kNoMargins;
// The game's check-box look.
constexpr uint32_t kPairBoxLook = 5;
} // namespace

CheckBoxPair::CheckBoxPair(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text,
                           const std::string& infotipText, bool firstChecked)
    : Container(x, y, width, height, LOOK_EMPTY, &kNoMargins), mInfotipText(infotipText)
{
    mFirst = new CheckBox(0, 0, height, height, kPairBoxLook);
    mSecond = new CheckBox(height * 3 / 2, 0, height, height, kPairBoxLook);
    mFirst->setChecked(firstChecked);
    mSecond->setChecked(!firstChecked);
    mFirst->onClick.mFunction = [this](Component* sender, uint32_t) { onClick(sender); };
    mSecond->onClick.mFunction = [this](Component* sender, uint32_t) { onClick(sender); };
    addChild(mFirst);
    addChild(mSecond);
    mLabel = new Label(height * 3, 0, width - height * 3, height, text, 0xFF000000, TEXT_WORD_WRAP);
    addChild(mLabel);
}

void CheckBoxPair::onClick(Component* sender)
{
    CheckBox* other = sender == mFirst ? mSecond : mFirst;
    CheckBox* clicked = sender == mFirst ? mFirst : mSecond;
    other->setChecked(!clicked->isChecked());
    other->updateLayout();
    onChange.invoke(this);
}

void CheckBoxPair::setFirstChecked(bool checked)
{
    mFirst->setChecked(checked);
    mSecond->setChecked(!checked);
    mFirst->updateLayout();
    mSecond->updateLayout();
}
