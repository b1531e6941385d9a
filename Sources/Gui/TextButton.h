#pragma once
// The toolkit's push button: a caption over a skinned look, an infotip, a
// click sound and, when asked, an auto-repeat while it is held. It fires on
// release, or at the press and then every interval while auto-repeating.
#include "Framework/Timer.h"
#include "Gui/Component.h"
#include "Gui/Look.h"
#include "Gui/Text.h"

#include <memory>
#include <string>

// The renderer of the look at lookId for the widget, updated once; a failing
// update is reported in an error box and the renderer is kept. An empty look
// entry gives a renderer that draws nothing. look receives the look or null.
std::unique_ptr<LookRenderer> createWidgetRenderer(uint32_t lookId, Component* widget, Look*& look);
// Plays a sound of the sound manager's table once at the default level; id 0
// is no sound.
void playWidgetSound(uint32_t soundId);
// The cursor position of the running application.
bool getCursorPosition(int32_t& x, int32_t& y);

class TextButton : public Component, public LookStateSource
{
public:
    // A null font is the application's first font.
    TextButton(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& caption,
               uint32_t lookId, const std::string& infotipText, Font* font = nullptr);
    TextButton(const Rect& rect, const std::string& caption, uint32_t lookId, const std::string& infotipText,
               Font* font = nullptr);
    ~TextButton() override;

    ErrorCode render() override;
    void updateLayout() override;
    void animate() override;
    void setRenderList(RenderList* list) override;
    uint32_t onMouseEvent(const MouseEvent& event) override;
    void onLosePressed() override { updateLayout(); }
    void onMouseEnter() override { updateLayout(); }
    void onMouseLeave() override { updateLayout(); }
    std::string getInfotipText() override { return mInfotipText; }

    uint32_t getLookState() override;
    void setCaption(const std::string& text);
    // Null when no font could make one.
    Text2D* getCaption() const override { return mCaption.get(); }
    // The caption's laid-out width.
    int32_t getCaptionWidth() const { return mCaption ? mCaption->getMaxLineWidth() : 0; }
    bool isEnabled() const { return mEnabled; }
    // A change shows at once: the look takes the new state.
    void setEnabled(bool enabled);
    void setInfotipText(const std::string& text) { mInfotipText = text; }
    // 0 or less: no auto-repeat.
    void setAutoRepeat(int32_t intervalMs) { mRepeatInterval = intervalMs; }
    int32_t getAutoRepeat() const { return mRepeatInterval; }
    uint32_t getClickSoundId() const { return mLook != nullptr ? mLook->getValue() : 0; }
    LookRenderer* getRenderer() const { return mRenderer.get(); }

    WidgetCallback onClick;

private:
    void init(const std::string& caption, uint32_t lookId, Font* font);

    Look* mLook = nullptr;
    std::unique_ptr<LookRenderer> mRenderer;
    std::unique_ptr<Text2D> mCaption;
    std::string mInfotipText;
    bool mEnabled = true;
    int32_t mRepeatInterval = 0;
    Timer mRepeatTimer;
    uint32_t mRepeatCount = 0;
};

// Makes the dialogs' buttons text buttons.
void installTextButtonDialogKit();
