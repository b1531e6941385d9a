#include "Tarnaveli/WindowLightEdit.h"

#include "Engine/Light.h"
#include "Gui/ComboBox.h"
#include "Gui/Label.h"

namespace
{
constexpr int32_t kClientWidth = 500;
constexpr int32_t kClientHeight = 264;
constexpr uint32_t kButtonsOkCancel = 9;
constexpr int32_t kRowHeight = 24;
constexpr int32_t kLabelWidth = 140;
constexpr int32_t kComboWidth = 200;
constexpr uint32_t kBlack = 0xFF000000;
constexpr float kFalloffLimit = 1e30f;

void toBytes(uint32_t argb, std::array<uint8_t, 4>& rgba)
{
    rgba = {static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8), static_cast<uint8_t>(argb),
            static_cast<uint8_t>(argb >> 24)};
}

uint32_t toArgb(const std::array<uint8_t, 4>& rgba)
{
    return uint32_t{rgba[3]} << 24 | uint32_t{rgba[0]} << 16 | uint32_t{rgba[1]} << 8 | rgba[2];
}
} // namespace

WindowLightEdit::WindowLightEdit(Light& sceneLight, const LightMaker& makeLight)
    : Dialog(kClientWidth, kClientHeight, "Edition lumiere", kButtonsOkCancel, true, false, LOOK_DIALOG),
      mSceneLight(sceneLight), mCopy(makeLight())
{
    setButtonCaption(0, "OK");
    setButtonCaption(3, "Annuler");
    if (mCopy)
    {
        mCopy->copyFrom(sceneLight);
        mCopy->disable();
    }
    readCopy();

    const int32_t left = getContentLeft();
    int32_t y = getContentTop();
    addChild(std::make_unique<Label>(left, y, kLabelWidth, kRowHeight, "Type", kBlack, 0));
    mType = new ComboBox(left + kLabelWidth, y, kComboWidth, kRowHeight, 0);
    mType->addItem("Point");
    mType->addItem("Spot");
    mType->addItem("Directionnelle");
    mType->setSelectedIndex(mCopy ? static_cast<int32_t>(std::min<uint32_t>(mCopy->getType(), 2)) : 0);
    addChild(mType);
    mCursorY = y + kRowHeight;

    addRow("Ambient Color", NumericFieldRow::Kind::Byte, mAmbient.data(), 4);
    addRow("Diffuse Color", NumericFieldRow::Kind::Byte, mDiffuse.data(), 4);
    addRow("Specular Color", NumericFieldRow::Kind::Byte, mSpecular.data(), 4);
    addRow("Position", NumericFieldRow::Kind::Float, mPosition.data(), 3);
    addRow("Direction", NumericFieldRow::Kind::Float, mDirection.data(), 3);
    addRow("Attenuation", NumericFieldRow::Kind::Float, mAttenuation.data(), 3);
    addRow("Range", NumericFieldRow::Kind::Float, &mRange, 1);
    addRow("Falloff", NumericFieldRow::Kind::Float, &mFalloff, 1)->setLimits(-kFalloffLimit, kFalloffLimit);
    addRow("Theta", NumericFieldRow::Kind::Float, &mTheta, 1);
    addRow("Phi", NumericFieldRow::Kind::Float, &mPhi, 1);
}

WindowLightEdit::~WindowLightEdit()
{
    if (onClosed)
        onClosed();
}

NumericFieldRow* WindowLightEdit::addRow(const char* label, NumericFieldRow::Kind kind, void* values,
                                         uint32_t count)
{
    auto* row = new NumericFieldRow(getContentLeft(), mCursorY, getContentWidth(), kRowHeight, label, kind,
                                    values, count);
    addChild(row);
    mCursorY += kRowHeight;
    mRows.at(mRowCount++) = row;
    return row;
}

void WindowLightEdit::readCopy()
{
    if (!mCopy)
        return;
    uint32_t color = 0;
    mCopy->getAmbient(&color);
    toBytes(color, mAmbient);
    mCopy->getDiffuse(&color);
    toBytes(color, mDiffuse);
    mCopy->getSpecular(&color);
    toBytes(color, mSpecular);
    Platform::Vector3 vector;
    mCopy->getPosition(&vector);
    mPosition = {vector.x, vector.y, vector.z};
    mCopy->getDirection(&vector);
    mDirection = {vector.x, vector.y, vector.z};
    mCopy->getAttenuation(&mAttenuation[0], &mAttenuation[1], &mAttenuation[2]);
    mRange = mCopy->getRange();
    mFalloff = mCopy->getFalloff();
    mTheta = mCopy->getTheta();
    mPhi = mCopy->getPhi();
}

void WindowLightEdit::writeCopy()
{
    for (uint32_t i = 0; i < mRowCount; ++i)
        mRows[i]->apply();
    if (mType->getSelectedIndex() >= 0)
        mCopy->setType(static_cast<uint32_t>(mType->getSelectedIndex()));
    mCopy->setAmbient(toArgb(mAmbient));
    mCopy->setDiffuse(toArgb(mDiffuse));
    mCopy->setSpecular(toArgb(mSpecular));
    mCopy->setPosition(Platform::Vector3{mPosition[0], mPosition[1], mPosition[2]});
    mCopy->setDirection(Platform::Vector3{mDirection[0], mDirection[1], mDirection[2]});
    mCopy->setAttenuation(mAttenuation[0], mAttenuation[1], mAttenuation[2]);
    mCopy->setRange(mRange);
    mCopy->setFalloff(mFalloff);
    mCopy->setTheta(mTheta);
    mCopy->setPhi(mPhi);
}

void WindowLightEdit::onResult(uint32_t buttonBits)
{
    if (buttonBits == 1 && mCopy)
    {
        writeCopy();
        // The copy takes the scene light's switch, so that applying an edit
        // neither lights nor puts out the scene light.
        if (mSceneLight.isEnabled())
            mCopy->enable();
        mSceneLight.copyFrom(*mCopy);
        mCopy->disable();
    }
    close();
}
