#pragma once
// The tool-tip of the toolkit: a small bordered container, owned by the GUI
// manager, that shows a text (and optionally a widget under it) beside the
// widget under the cursor once the request's delay has passed, then fades in.
// It is placed by one of nine placement codes, with fall-backs when the tip
// would leave the screen.
#include "Framework/Timer.h"
#include "Gui/Container.h"
#include "Gui/GuiManager.h"
#include "Gui/Text.h"

#include <memory>

enum InfotipPlacement : uint32_t
{
    INFOTIP_ABOVE = 0,
    INFOTIP_LEFT = 1,
    INFOTIP_RIGHT = 2,
    INFOTIP_BELOW = 3,
    INFOTIP_ABOVE_LEFT = 4,
    INFOTIP_ABOVE_RIGHT = 5,
    INFOTIP_BELOW_LEFT = 6,
    INFOTIP_BELOW_RIGHT = 7,
    INFOTIP_AT_CURSOR = 8
};

class Infotip final : public Container, public InfotipPopup
{
public:
    static constexpr uint32_t LOOK_ID = 7;
    static constexpr uint32_t FADE_MS = 250;

    Infotip();
    ~Infotip() override;

    // Makes the GUI manager build this infotip.
    static void install();

    ErrorCode render() override;
    void animate() override;
    ErrorCode onDeviceLost() override;
    ErrorCode onDeviceReset() override;
    void setRequest(const InfotipRequest& request) override;
    void forgetComponent(Component* component) override;

    // The same request as setRequest.
    void show(const InfotipRequest& request) { setRequest(request); }
    void setFont(Font* font);
    // Where a tip of that size goes for the current request.
    void place(int32_t width, int32_t height, int32_t& x, int32_t& y) const;

    bool isShown() const { return mShown; }
    Text2D* getTextObject() const { return mText.get(); }
    uint32_t getAlpha() const { return mAlpha; }

private:
    void makeText(Font* font);

    std::unique_ptr<Text2D> mText;
    // The extra widget added to this tip, if any.
    Component* mShownComponent = nullptr;
    uint32_t mLastTick = 0;
    uint32_t mWaited = 0;
    bool mShown = false;
    uint32_t mAlpha = 0;
    Timer mFadeTimer;
};
