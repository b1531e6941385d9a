#pragma once
// Edits one light of the board scene through a copy: the copy takes the
// scene light's values and stays switched off while the rows change it; OK
// puts the edited values on the scene light (whose on/off state stays as it
// was), Annuler leaves the scene light untouched.
#include "Gui/Dialog.h"
#include "Tarnaveli/NumericFieldRow.h"

#include <array>
#include <functional>
#include <memory>

class ComboBox;
class Light;

class WindowLightEdit : public Dialog
{
public:
    using LightMaker = std::function<std::unique_ptr<Light>()>;

    // The scene light must outlive the window.
    WindowLightEdit(Light& sceneLight, const LightMaker& makeLight);
    ~WindowLightEdit() override;

    void onResult(uint32_t buttonBits) override;

    ComboBox* getTypeCombo() const { return mType; }
    // Rows in order: ambient, diffuse, specular, position, direction,
    // attenuation, range, falloff, theta, phi.
    NumericFieldRow* getRow(uint32_t index) const { return mRows.at(index); }
    Light* getCopy() const { return mCopy.get(); }
    Light& getSceneLight() const { return mSceneLight; }

    // Called when the window goes away.
    std::function<void()> onClosed;

private:
    void readCopy();
    void writeCopy();
    NumericFieldRow* addRow(const char* label, NumericFieldRow::Kind kind, void* values, uint32_t count);

    Light& mSceneLight;
    std::unique_ptr<Light> mCopy;
    ComboBox* mType = nullptr;
    std::array<NumericFieldRow*, 10> mRows{};
    uint32_t mRowCount = 0;
    // The values the rows are bound to; colours as red, green, blue, alpha.
    std::array<uint8_t, 4> mAmbient{};
    std::array<uint8_t, 4> mDiffuse{};
    std::array<uint8_t, 4> mSpecular{};
    std::array<float, 3> mPosition{};
    std::array<float, 3> mDirection{};
    std::array<float, 3> mAttenuation{};
    float mRange = 0.0f;
    float mFalloff = 0.0f;
    float mTheta = 0.0f;
    float mPhi = 0.0f;
};
