#pragma once
// An application with recording services, run under SDL's headless driver and
// the manual clock. Every loop it runs ends: the fake GUI quits after a set
// number of frames, and gives up after a bound in any case.
#include "Framework/AppWindow.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/NullServices.h"
#include "Platform/System/Clock.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

struct ServiceLog
{
    std::vector<std::string> entries;
    void add(const std::string& what, uint32_t id) { entries.push_back(what + " " + std::to_string(id)); }
};

class RecordingService final : public AppService
{
public:
    RecordingService(uint32_t id, ServiceLog& log, ErrorCode initCode = 0)
        : mId(id), mLog(log), mInitCode(initCode)
    {
        mLog.add("create", mId);
    }
    ~RecordingService() override { mLog.add("delete", mId); }
    ErrorCode init() override
    {
        mLog.add("init", mId);
        return mInitCode;
    }
    uint32_t getServiceId() override { return mId; }

private:
    uint32_t mId;
    ServiceLog& mLog;
    ErrorCode mInitCode;
};

class RecordingFont final : public BitmapFontBase
{
public:
    RecordingFont(uint32_t index, ServiceLog& log, ErrorCode loadCode = 0)
        : mIndex(index), mLog(log), mLoadCode(loadCode)
    {
    }
    ~RecordingFont() override { mLog.add("delete font", mIndex); }
    bool isLoaded() const override { return mLoaded; }
    ErrorCode load() override
    {
        mLog.add("load font", mIndex);
        mLoaded = mLoadCode == 0;
        return mLoadCode;
    }

private:
    uint32_t mIndex;
    ServiceLog& mLog;
    ErrorCode mLoadCode;
    bool mLoaded = false;
};

class FakeCursor final : public CursorManagerBase
{
public:
    void update() override { ++updates; }
    void placeSprites() override { ++placements; }
    ErrorCode render() override { return 0; }
    void setImage(Texture* image) override { this->image = image; }
    int updates = 0;
    int placements = 0;
    Texture* image = nullptr;
};

class FakeInputManager final : public InputManagerBase
{
public:
    explicit FakeInputManager(ServiceLog* log) : mLog(log)
    {
        if (mLog)
            mLog->add("create", 7);
    }
    ~FakeInputManager() override
    {
        if (mLog)
            mLog->add("delete", 7);
    }
    ErrorCode init() override
    {
        if (mLog)
            mLog->add("init", 7);
        return 0;
    }
    CursorManagerBase& getCursorManager() override { return cursor; }
    FakeCursor cursor;

private:
    ServiceLog* mLog;
};

class RecordingOverlay final : public OverlayTextBase
{
public:
    void setText(const std::string& text) override { texts.push_back(text); }
    ErrorCode render() override
    {
        ++renders;
        return 0;
    }
    std::vector<std::string> texts;
    int renders = 0;
};

class FakeGuiManager final : public GuiManagerBase
{
public:
    explicit FakeGuiManager(ServiceLog* log) : mLog(log)
    {
        if (mLog)
            mLog->add("create", 6);
    }
    ~FakeGuiManager() override
    {
        if (mLog)
            mLog->add("delete", 6);
    }
    ErrorCode init() override
    {
        if (mLog)
            mLog->add("init", 6);
        return 0;
    }
    void animate() override
    {
        ++frames;
        animateTimes.push_back(Platform::clockNanoseconds() / 1000000);
        if (onAnimate)
            onAnimate(frames);
        // A loop that was not told to end still ends.
        if (frames >= 1000)
            getApplication()->quitApplication(false);
    }
    ErrorCode render() override
    {
        ++renders;
        if (onRender)
            onRender(renders);
        if (renders >= 1000)
            getApplication()->quitApplication(false);
        return renderCode;
    }
    void dispatchMouseEvent(const MouseEvent& event) override { mouseEvents.push_back(event); }
    void dispatchKeyEvent(const KeyEvent& event) override { keyEvents.push_back(event); }
    void broadcastWindowMessage(uint32_t message, uint64_t, int64_t) override
    {
        broadcasts.push_back(message);
    }
    void openIntroScreen(const IntroScreen& screen, std::function<void()> onEnd) override
    {
        introsOpened.push_back(screen.mDisplayMs);
        pendingIntroEnd = std::move(onEnd);
    }
    std::unique_ptr<OverlayTextBase> createOverlayText(BitmapFontBase*, int32_t, int32_t, int32_t) override
    {
        auto overlay = std::make_unique<RecordingOverlay>();
        this->overlay = overlay.get();
        return overlay;
    }

    RecordingOverlay* overlay = nullptr;
    int frames = 0;
    int renders = 0;
    ErrorCode renderCode = 0;
    std::vector<int64_t> animateTimes;
    std::function<void(int)> onAnimate;
    std::function<void(int)> onRender;
    std::vector<MouseEvent> mouseEvents;
    std::vector<KeyEvent> keyEvents;
    std::vector<uint32_t> broadcasts;
    std::vector<uint32_t> introsOpened;
    std::function<void()> pendingIntroEnd;

private:
    ServiceLog* mLog;
};

class LoopApplication final : public ApplicationGeneric
{
public:
    using ApplicationGeneric::ApplicationGeneric;
    void createFirstWindow() override { ++firstWindows; }
    void onActivate() override { ++activations; }
    void onDeactivate() override { ++deactivations; }
    // As once run has begun, without running.
    void markRunning() { mNotYetRunning = false; }
    FakeGuiManager& gui() { return *static_cast<FakeGuiManager*>(getGuiManager()); }
    FakeInputManager& input() { return *static_cast<FakeInputManager*>(getInputManager()); }

    int firstWindows = 0;
    int activations = 0;
    int deactivations = 0;
};

class ApplicationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Headless: no display either, so that nothing (the desktop bus among
        // others) reaches for the X server the suite may run under.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        resetTimeBase();
        // The language table writes its file here.
        Platform::setProgramDirectory(folder.path());
        settings.mTitle = "Velmorique";
        settings.mLanguageFile = "lang.ini";
        setServiceCreator(SERVICE_SOUND_MANAGER,
                          [](const ApplicationSettings&) { return std::make_unique<NullSoundManager>(); });
        setServiceCreator(SERVICE_GUI_MANAGER, [this](const ApplicationSettings&)
                          { return std::make_unique<FakeGuiManager>(logPointer); });
        setServiceCreator(SERVICE_INPUT_MANAGER, [this](const ApplicationSettings&)
                          { return std::make_unique<FakeInputManager>(logPointer); });
    }
    void TearDown() override
    {
        application.reset();
        for (uint32_t id = 0; id < SERVICE_COUNT; ++id)
            setServiceCreator(id, nullptr);
    }

    // Every service records into the log.
    void recordAllServices(uint32_t failingId = SERVICE_COUNT, ErrorCode code = 0)
    {
        logPointer = &log;
        for (uint32_t id : {0u, 2u, 3u, 4u, 5u, 8u})
            setServiceCreator(
                id, [this, id, failingId, code](const ApplicationSettings&)
                { return std::make_unique<RecordingService>(id, log, id == failingId ? code : 0); });
    }

    LoopApplication& make()
    {
        application = std::make_unique<LoopApplication>(settings);
        return *application;
    }

    Platform::ManualClock clock;
    Platform::TemporaryDirectory folder;
    ApplicationSettings settings;
    ServiceLog log;
    ServiceLog* logPointer = nullptr;
    std::unique_ptr<LoopApplication> application;
};
