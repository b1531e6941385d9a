#pragma once
// A skinned two-state box: a click (press and release over it) flips it and
// calls its owner.
#include "Gui/Component.h"
#include "Gui/Look.h"

#include <memory>

class CheckBox : public Component
{
public:
    CheckBox(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t lookId);
    CheckBox(const Rect& rect, uint32_t lookId);
    ~CheckBox() override;

    ErrorCode render() override { return mRenderer->render(); }
    void updateLayout() override { mRenderer->update(); }
    void setRenderList(RenderList* list) override;
    // Reports every release as not handled, so that the containers around it
    // see the click too.
    uint32_t onMouseEvent(const MouseEvent& event) override;
    void onLosePressed() override { updateLayout(); }
    void onMouseEnter() override { updateLayout(); }
    void onMouseLeave() override { updateLayout(); }

    bool isChecked() const { return mChecked; }
    // Owners lay the box out afterwards.
    void setChecked(bool checked) { mChecked = checked; }
    bool isEnabled() const { return mEnabled; }
    void setEnabled(bool enabled) { mEnabled = enabled; }
    // Which of the look's six textures shows now: 2 x group + checked, the
    // groups being pressed, released and rolled over.
    uint32_t getTextureIndex();
    uint32_t getClickSoundId() const { return mLook != nullptr ? mLook->getValue() : 0; }
    LookRenderer* getRenderer() const { return mRenderer.get(); }

    WidgetCallback onClick;

private:
    Look* mLook = nullptr;
    std::unique_ptr<LookRenderer> mRenderer;
    bool mChecked = false;
    bool mEnabled = true;
};
