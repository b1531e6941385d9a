#pragma once
// Services that do nothing and succeed, standing in for the layers not built
// yet (and for tests): the program starts, opens its window, runs its loop and
// quits with them in place.
#include "Framework/ServiceInterfaces.h"
#include "Sound/SoundManager.h"

// A service with nothing to do but answer its id.
class NullService final : public AppService
{
public:
    explicit NullService(uint32_t id) : mId(id) {}
    ErrorCode init() override { return 0; }
    uint32_t getServiceId() override { return mId; }

private:
    uint32_t mId;
};

// Draws nothing, so it leaves the system's arrow on.
class NullCursorManager final : public CursorManagerBase
{
public:
    void update() override;
    void placeSprites() override {}
    ErrorCode render() override { return 0; }
    void setImage(Texture* image) override { mImage = image; }
    Texture* getImage() const { return mImage; }

private:
    Texture* mImage = nullptr;
};

class NullInputManager final : public InputManagerBase
{
public:
    ErrorCode init() override;
    CursorManagerBase& getCursorManager() override { return mCursor; }

private:
    NullCursorManager mCursor;
};

// No widgets: intro screens end at once.
class NullGuiManager final : public GuiManagerBase
{
public:
    ErrorCode init() override { return 0; }
    void animate() override {}
    ErrorCode render() override { return 0; }
    void dispatchMouseEvent(const MouseEvent&) override {}
    void dispatchKeyEvent(const KeyEvent&) override {}
    void broadcastWindowMessage(uint32_t, uint64_t, int64_t) override {}
    void openIntroScreen(const IntroScreen&, std::function<void()> onEnd) override;
    std::unique_ptr<OverlayTextBase> createOverlayText(BitmapFontBase*, int32_t, int32_t, int32_t) override
    {
        return nullptr;
    }
};

class NullEngine2D : public Engine2DBase
{
public:
    ErrorCode init() override { return 0; }
    ErrorCode beginFrame() override { return 0; }
    ErrorCode begin2DPass() override { return 0; }
    ErrorCode end2DPass() override { return 0; }
    ErrorCode endFrame() override { return 0; }
    uint64_t getTextureMemoryUsed() override { return 0; }
    uint64_t getTextureMemoryAvailable() override { return 0; }
    Texture* findOrLoadTexture(const std::string&) override { return nullptr; }
    void releaseTexture(Texture*) override {}
};

class NullEngine3D final : public Engine3DBase
{
public:
    ErrorCode init() override { return 0; }
    ErrorCode beginPass3D() override { return 0; }
    ErrorCode endPass3D() override { return 0; }
    ErrorCode render() override { return 0; }
};

// Plays nothing and succeeds; configured like any sound manager.
class NullSoundManager final : public SoundManager
{
public:
    ~NullSoundManager() override { mChannels.clear(); }
    using SoundManager::playSound;
    ErrorCode playSound(uint32_t, int32_t, bool) override { return 0; }
    void stopChannel(uint32_t) override {}
    void setChannelLevel(uint32_t, int32_t) override {}
    uint32_t getMinSampleRate() override { return 0; }
    uint32_t getMaxSampleRate() override { return 0; }
    uint32_t getCapability() override { return 0; }
    SoundChannel* createChannel() override;
};
