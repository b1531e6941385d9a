#include "Engine2DD3D/IntroVideoPlayer.h"

#include "Engine2DD3D/TextureRendererFilter.h"
#include "Engine2DD3D/VideoVMR9Texture.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/Messages.h"
#include "Platform/Media/MediaPlayer.h"
#include "Platform/System/Clock.h"
#include "Sound/SoundManager.h"

#include <memory>

namespace
{

// The state of the one call in progress, which the window hook reaches.
struct IntroState
{
    Platform::MediaPlayer* player = nullptr;
    bool stopRequested = false;
    bool playing = false;
};

IntroState gIntro;

// Between two looks at the player: short enough for smooth pictures, since
// the frame is drawn here rather than by a video window.
constexpr uint32_t kPollMs = 10;

// A result as printed with %lx: its 32 bits, not sign-extended.
unsigned long hresultText(int32_t result)
{
    return static_cast<uint32_t>(result);
}

void interrupt()
{
    gIntro.stopRequested = true;
    if (gIntro.player != nullptr)
        gIntro.player->stop();
    gIntro.playing = false;
}

Platform::LParam introWindowProc(AppWindow& window, const Platform::WindowMessage& message)
{
    switch (message.message)
    {
    case Platform::WM_CLOSE:
        // The window stays open.
        interrupt();
        return 0;
    case Platform::WM_KEYDOWN:
    case Platform::WM_LBUTTONDOWN:
        interrupt();
        return window.defaultProcedure(message);
    default:
        return window.defaultProcedure(message);
    }
}

class TextureHolder
{
public:
    explicit TextureHolder(Texture* texture) : mTexture(texture) {}
    ~TextureHolder()
    {
        if (mTexture != nullptr)
        {
            mTexture->unload();
            mTexture->release();
        }
    }
    Texture* get() const { return mTexture; }

private:
    Texture* mTexture;
};

int32_t playback(const char* fileName, AppWindow& window, Engine2D& engine, int32_t clientWidth,
                 int32_t clientHeight, bool fit, Platform::MediaPlayer& player)
{
    // The sound track plays through the effects' mixer, at the effects' level.
    player.setAudioDevice(VideoVMR9Texture::audioDevice());
    Platform::PlatformResult result = player.openFile(fileName);
    if (Platform::resultFailed(result))
    {
        showMessage("Failed(0x%08lx) in RenderFile(%s)!\r\n", hresultText(result), fileName);
        return result;
    }
    player.setVolume(SoundManager::levelToVolume(static_cast<int32_t>(EngineComponent::soundLevel())));
    int32_t videoWidth = static_cast<int32_t>(player.videoWidth());
    int32_t videoHeight = static_cast<int32_t>(player.videoHeight());
    if (videoWidth <= 0 || videoHeight <= 0)
    {
        showMessage(
            "Failed(0x%08lx) to set message drain for %s.\r\n\r\nThis sample is designed to play videos, "
            "but the file selected has no video component.",
            hresultText(Platform::kMediaNoVideo), fileName);
        return Platform::kMediaNoVideo;
    }

    TextureHolder texture(
        engine.createTexture(static_cast<uint32_t>(videoWidth), static_cast<uint32_t>(videoHeight), 0));
    if (texture.get() == nullptr || texture.get()->load() != 0)
    {
        showMessage("Failed(0x%08lx) in RenderFile(%s)!\r\n", hresultText(Platform::kResultFail), fileName);
        return Platform::kResultFail;
    }
    texture.get()->fillAll(0xFF000000, true);

    IntroVideoPlacement place = placeIntroVideo(clientWidth, clientHeight, videoWidth, videoHeight, fit);
    std::unique_ptr<Image2D> image = engine.createImage(
        static_cast<float>(place.left), static_cast<float>(place.top), texture.get(), Image2D::SIZE_STRETCHED,
        static_cast<float>(place.width), static_cast<float>(place.height), 0xFFFFFFFF, nullptr);

    TextureRendererFilter renderer;
    renderer.setTarget(texture.get(), static_cast<uint32_t>(videoWidth), static_cast<uint32_t>(videoHeight));
    player.setFrameSink(&renderer);

    // The frame around the video is black while it plays.
    uint32_t previousClear = engine.getClearColor();
    engine.setClearColor(0xFF000000);

    result = player.pause();
    if (Platform::resultFailed(result))
        showMessage("Failed(%08lx) in Pause()!\r\n", hresultText(result));
    else if (result = player.play(); Platform::resultFailed(result))
        showMessage("Failed(%08lx) in Run()!\r\n", hresultText(result));

    while (!Platform::resultFailed(result) && !gIntro.stopRequested)
    {
        uint32_t event = 0;
        if (player.getEvent(event) && event == Platform::kMediaEventComplete)
            break;
        if (engine.beginFrame() == 0)
        {
            if (engine.begin2DPass() == 0)
            {
                image->draw();
                engine.end2DPass();
            }
            engine.endFrame();
        }
        Platform::sleepMs(kPollMs);
        Platform::WindowMessage message;
        while (window.peekMessage(message))
        {
            if (message.message == Platform::WM_QUIT)
            {
                // The program is ending: stop here and leave the quit
                // request for the main loop.
                gIntro.stopRequested = true;
                window.postQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            window.dispatchMessage(message);
        }
    }

    player.setFrameSink(nullptr);
    player.close();
    engine.setClearColor(previousClear);
    image.reset();
    return Platform::resultFailed(result) ? result : 0;
}

} // namespace

IntroVideoPlacement placeIntroVideo(int32_t clientWidth, int32_t clientHeight, int32_t videoWidth,
                                    int32_t videoHeight, bool fit)
{
    IntroVideoPlacement place;
    if (videoWidth <= 0 || videoHeight <= 0 || clientWidth <= 0 || clientHeight <= 0)
        return place;
    int64_t w = clientWidth;
    int64_t h = clientHeight;
    int64_t width = videoWidth;
    int64_t height = videoHeight;
    if (fit)
    {
        if (w * videoHeight > h * videoWidth)
        {
            height = h;
            width = h * videoWidth / videoHeight;
        }
        else
        {
            width = w;
            height = w * videoHeight / videoWidth;
        }
    }
    else
    {
        if (width > w)
        {
            height = height * w / width;
            width = w;
        }
        if (height > h)
        {
            width = width * h / height;
            height = h;
        }
    }
    place.width = static_cast<int32_t>(width);
    place.height = static_cast<int32_t>(height);
    place.left = static_cast<int32_t>((w - width) / 2);
    place.top = static_cast<int32_t>((h - height) / 2);
    return place;
}

int32_t playIntroVideoOn(const char* fileName, AppWindow& window, Engine2D& engine, int32_t clientWidth,
                         int32_t clientHeight, bool fit)
{
    if (fileName == nullptr)
        return kIntroVideoNullName;
    Platform::MediaPlayer player;
    gIntro = IntroState{&player, false, true};
    window.setMessageHook([&window](const Platform::WindowMessage& message)
                          { return introWindowProc(window, message); });

    int32_t result = playback(fileName, window, engine, clientWidth, clientHeight, fit, player);
    if (result == 0 && gIntro.stopRequested)
        result = kIntroVideoStopped;
    // The caller clears the hook once it takes the window back; until then
    // it must not reach a player that is gone.
    gIntro = IntroState{};
    return result;
}

int32_t playIntroVideo(const char* fileName, void* /*window*/, bool fit)
{
    if (fileName == nullptr)
        return kIntroVideoNullName;
    ApplicationGeneric* application = getApplication();
    AppWindow* window = application != nullptr ? application->getAppWindow() : nullptr;
    Engine2D* engine = application != nullptr ? dynamic_cast<Engine2D*>(application->getEngine2D()) : nullptr;
    if (window == nullptr || engine == nullptr)
        return Platform::kResultFail;
    const ApplicationSettings& settings = application->getSettings();
    return playIntroVideoOn(fileName, *window, *engine, static_cast<int32_t>(settings.mClientWidth),
                            static_cast<int32_t>(settings.mClientHeight), fit);
}
