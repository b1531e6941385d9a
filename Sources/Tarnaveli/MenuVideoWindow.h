#pragma once
// The video that plays, looping, behind the menus, with the publisher's logo
// in the bottom-left corner. A video that cannot be opened ends the program.
#include "Gui/Layer.h"
#include "Tarnaveli/MenuServices.h"

#include <memory>

class EngineComponent;
class Image;

class MenuVideoWindow : public Layer
{
public:
    static constexpr const char* VIDEO_FILE = "data\\Video\\menu.wmv";
    static constexpr uint32_t IMAGE_STILL = 31;
    static constexpr uint32_t IMAGE_LOGO = 33;

    explicit MenuVideoWindow(MenuServices& services);
    // Stops the video.
    ~MenuVideoWindow() override;

    // Makes and opens the window; the one open now, or null.
    static MenuVideoWindow* openNew(MenuServices& services);
    static MenuVideoWindow* current();

    ErrorCode render() override;
    void animate() override;

    // Null from an engine that plays no videos, or after a failed open.
    EngineComponent* getVideo() const { return mVideo.get(); }
    Image* getLogo() const { return mLogo; }

    // "%s" markers of a text filled in order with the two texts.
    static std::string fillTexts(const std::string& format, const std::string& first,
                                 const std::string& second);

private:
    static void onVideoEnd(uint32_t code, void* window);

    MenuServices& mServices;
    std::unique_ptr<EngineComponent> mVideo;
    Image* mLogo = nullptr;
};
