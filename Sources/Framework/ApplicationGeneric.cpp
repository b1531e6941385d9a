#include "Framework/ApplicationGeneric.h"

#include "Framework/AppWindow.h"
#include "Framework/ErrorText.h"
#include "Framework/FileUtilities.h"
#include "Framework/Keys.h"
#include "Framework/LangTable.h"
#include "Framework/Messages.h"
#include "Framework/NullServices.h"
#include "Platform/System/Clock.h"
#include "Platform/System/Memory.h"
#include "Platform/System/Paths.h"
#include "Platform/System/Random.h"
#include "Sound/SoundManager.h"

#include <cassert>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace
{
ApplicationGeneric* gApplication = nullptr;

std::array<ServiceCreator, SERVICE_COUNT>& serviceCreators()
{
    static std::array<ServiceCreator, SERVICE_COUNT> creators;
    return creators;
}

std::unique_ptr<AppService> createDefaultService(uint32_t id, const ApplicationSettings& settings)
{
    switch (id)
    {
    case SERVICE_LANG_TABLE:
        return std::make_unique<LangTable>();
    case SERVICE_APP_WINDOW:
        return std::make_unique<AppWindow>();
    case SERVICE_ENGINE_2D:
        return std::make_unique<NullEngine2D>();
    case SERVICE_ENGINE_3D:
        return std::make_unique<NullEngine3D>();
    case SERVICE_GUI_MANAGER:
        return std::make_unique<NullGuiManager>();
    case SERVICE_INPUT_MANAGER:
        return std::make_unique<NullInputManager>();
    case SERVICE_SOUND_MANAGER:
        return createSoundManager(settings.mSoundManagerKind);
    default:
        return std::make_unique<NullService>(id);
    }
}
} // namespace

const char* const gTextUnavailable = "Text unavailable - ApplicationGeneric object not loaded";

ApplicationGeneric* getApplication()
{
    return gApplication;
}

void showRunError(ErrorCode code)
{
    if (takeErrorShown() == code)
    {
        takeErrorFile();
        return;
    }
    // The table's own entries hold the built-in texts until the file is
    // read: a start-up that fails before then still speaks the game's words,
    // with the file concerned and the code's identifier for the developer.
    ApplicationGeneric* application = getApplication();
    LangTable* table = application != nullptr ? application->getLangTable() : nullptr;
    const auto text = [table](uint32_t id, const char* builtIn)
    { return table != nullptr && table->size() > id ? table->getText(id) : std::string(builtIn); };
    std::string format = text(LANG_ERROR_STRING, "Erreur %s");
    std::string message =
        code < ERROR_COUNT ? text(errorCodeLangId(code), errorCodeIdentifier(code)) : errorCodeToText(code);
    const std::string file = takeErrorFile();
    if (!file.empty())
        message += "\n" + text(LANG_FILES_FILE_TEXT, "Fichier :") + " " + file;
    if (code < ERROR_COUNT &&
        message.compare(0, std::strlen(errorCodeIdentifier(code)), errorCodeIdentifier(code)) != 0)
        message += std::string("\n(") + errorCodeIdentifier(code) + ")";
    showMessage(format.c_str(), message.c_str());
}

void setServiceCreator(uint32_t id, ServiceCreator creator)
{
    assert(id < SERVICE_COUNT);
    if (id < SERVICE_COUNT)
        serviceCreators()[id] = std::move(creator);
}

uint32_t framePacingSleepMs(uint32_t elapsedMs)
{
    if (elapsedMs >= kFramePeriodMs)
        return 0;
    // Half of what is left, so that messages are still handled promptly; the
    // last millisecond is slept too rather than spun.
    uint32_t half = (kFramePeriodMs - elapsedMs) / 2;
    return half > 0 ? half : 1;
}

ApplicationGeneric::ApplicationGeneric(const ApplicationSettings& settings) : mSettings(&settings)
{
    assert(gApplication == nullptr && "only one application exists at a time");
    mFolderPrefixes.push_back("");
    mFileLookup.setArchiveOnly(settings.mArchiveOnly);
    setActiveFileLookup(&mFileLookup);
    mRunClock.start();
    // The overlay's timers only run while they time their step, so that a
    // step that never runs (the 3D pass switched off) reads 0, not the time
    // since start-up.
    Platform::seedRandom(static_cast<uint32_t>(std::time(nullptr)));
    gApplication = this;
    // Key names are language texts, once the table has read its file.
    setKeyNameSource(
        [](uint32_t textId, std::string& text)
        {
            ApplicationGeneric* application = getApplication();
            LangTable* table = application != nullptr ? application->getLangTable() : nullptr;
            if (table == nullptr || !table->isLoaded() || textId >= table->size())
                return false;
            text = table->getText(textId);
            return true;
        });

    for (uint32_t id : kServiceCreationOrder)
    {
        const ServiceCreator& creator = serviceCreators()[id];
        std::unique_ptr<AppService> service =
            creator ? creator(settings) : createDefaultService(id, settings);
        assert(service == nullptr || service->getServiceId() == id);
        mServices[id] = std::move(service);
    }

    // Eight channels: channel 0 carries the music (group 1), channels 1 to 7
    // the effects (group 0), both at full level.
    if (SoundManager* sound = getSoundManager())
    {
        sound->setChannelCount(8);
        sound->setGroupCount(2);
        sound->setGroupChannels(SoundManager::MUSIC_GROUP, 0, 1);
        sound->setGroupLevel(SoundManager::MUSIC_GROUP, 255);
        sound->setGroupChannels(SoundManager::EFFECTS_GROUP, 1, 7);
        sound->setGroupLevel(SoundManager::EFFECTS_GROUP, 255);
    }
}

void ApplicationGeneric::releaseWidgetTree()
{
    mOverlayText.reset();
    mServices[SERVICE_GUI_MANAGER].reset();
}

ApplicationGeneric::~ApplicationGeneric()
{
    // The widget tree goes first, while the engines and the fonts its texts
    // draw with still exist.
    releaseWidgetTree();
    mFonts.clear();
    mIntroScreens.clear();
    for (uint32_t id = SERVICE_COUNT; id-- > 0;)
        mServices[id].reset();
    if (gApplication == this)
    {
        gApplication = nullptr;
        setKeyNameSource(nullptr);
    }
    if (activeFileLookup() == &mFileLookup)
        setActiveFileLookup(nullptr);
    mFileLookup.clearArchives();
    mImages.clear();
    mFolderPrefixes.clear();
}

void ApplicationGeneric::setService(std::unique_ptr<AppService> service)
{
    uint32_t id = service->getServiceId();
    assert(id < SERVICE_COUNT);
    if (id < SERVICE_COUNT)
        mServices[id] = std::move(service);
}

LangTable* ApplicationGeneric::getLangTable() const
{
    return dynamic_cast<LangTable*>(mServices[SERVICE_LANG_TABLE].get());
}

SoundManager* ApplicationGeneric::getSoundManager() const
{
    return dynamic_cast<SoundManager*>(mServices[SERVICE_SOUND_MANAGER].get());
}

AppWindow* ApplicationGeneric::getAppWindow() const
{
    return dynamic_cast<AppWindow*>(mServices[SERVICE_APP_WINDOW].get());
}

Engine2DBase* ApplicationGeneric::getEngine2D() const
{
    return dynamic_cast<Engine2DBase*>(mServices[SERVICE_ENGINE_2D].get());
}

Engine3DBase* ApplicationGeneric::getEngine3D() const
{
    return dynamic_cast<Engine3DBase*>(mServices[SERVICE_ENGINE_3D].get());
}

GuiManagerBase* ApplicationGeneric::getGuiManager() const
{
    return dynamic_cast<GuiManagerBase*>(mServices[SERVICE_GUI_MANAGER].get());
}

InputManagerBase* ApplicationGeneric::getInputManager() const
{
    return dynamic_cast<InputManagerBase*>(mServices[SERVICE_INPUT_MANAGER].get());
}

CursorManagerBase* ApplicationGeneric::getCursorManager() const
{
    InputManagerBase* input = getInputManager();
    return input != nullptr ? &input->getCursorManager() : nullptr;
}

void ApplicationGeneric::presentPendingFrame()
{
    if (mPresentPendingFrame)
        mPresentPendingFrame();
}

void ApplicationGeneric::setImage(uint32_t id, Texture* texture)
{
    if (id >= mImages.size())
        mImages.resize(id + 1, nullptr);
    mImages[id] = texture;
}

void ApplicationGeneric::loadImage(uint32_t id, const std::string& fileName, bool inImagesFolder)
{
    Engine2DBase* engine = getEngine2D();
    if (engine == nullptr)
        return;
    std::string path = inImagesFolder ? mSettings->mImagesFolder + fileName : fileName;
    if (path.size() > 255)
        path.resize(255);
    setImage(id, engine->findOrLoadTexture(path));
}

ErrorCode ApplicationGeneric::init()
{
    for (uint32_t id = 0; id < SERVICE_COUNT; ++id)
    {
        if (mServices[id] == nullptr)
            continue;
        if (ErrorCode code = mServices[id]->init())
            return code;
    }
    for (auto& font : mFonts)
    {
        if (font->isLoaded())
            continue;
        if (ErrorCode code = font->load())
            return code;
    }
    return 0;
}

ErrorCode ApplicationGeneric::mountArchive()
{
    if (mSettings->mArchivePath.empty())
        return 0;
    auto archive = std::make_unique<ResourceArchive>();
    // An archive that fails to open goes with its error.
    if (ErrorCode code = archive->open(mSettings->mArchivePath))
        return code;
    addArchive(std::move(archive));
    return 0;
}

void ApplicationGeneric::shellOpenInAppFolder(const std::string& relativePath)
{
    ::shellOpen(mApplicationFolder + relativePath);
}

void ApplicationGeneric::shellOpen(const std::string& path)
{
    ::shellOpen(path);
}

ErrorCode ApplicationGeneric::run()
{
    // 1. A window of this program already open: bring it forward instead.
    if (mSettings->mExistingWindow != nullptr && *mSettings->mExistingWindow != nullptr)
    {
        Platform::Window* existing = Platform::Window::main();
        if (existing != nullptr && existing == *mSettings->mExistingWindow && existing->isAlive())
        {
            existing->restoreAndRaise();
            return 0;
        }
    }

    // 2-7.
    if (ErrorCode code = start())
        return code == ERROR_STOP_RENDERING ? 0 : code;
    mainLoop();
    return 0;
}

ErrorCode ApplicationGeneric::start()
{
    // 2. The program's own folder, whatever the length of its path.
    mApplicationFolder = Platform::programDirectory();

    // 3. The resource archive.
    if (ErrorCode code = mountArchive())
        return code;

    // 4. Services and the game's tables; 22 is a silent end.
    if (ErrorCode code = init())
        return code;

    // 5. Running from here on.
    mNotYetRunning = false;
    mRunClock.start();
    mPreviousClock = 0;
    mFrameDelta = 0;
    mFrameDeltaCopy = 0;
    mIntroIndex = 0;

    // 6. The first screen, or the intro chain that leads to it.
    if (!mIntroEnabled)
    {
        if (CursorManagerBase* cursor = getCursorManager())
            cursor->setImage(getImage(0));
        createFirstWindow();
    }
    else
        showNextIntroScreen(0, this);

    // 7. The timing overlay.
    if (mSettings->mTimingOverlay)
    {
        if (GuiManagerBase* gui = getGuiManager())
            mOverlayText = gui->createOverlayText(getFont(0), 0, 0, 800);
    }
    return 0;
}

bool ApplicationGeneric::runOneFrame()
{
    AppWindow* window = getAppWindow();
    if (window == nullptr)
        return false;
    Platform::WindowMessage message;
    while (window->peekMessage(message))
    {
        if (message.message == Platform::WM_QUIT)
            return false;
        window->dispatchMessage(message);
    }
    updateAndRender();
    return true;
}

void ApplicationGeneric::mainLoop()
{
    AppWindow* window = getAppWindow();
    if (window == nullptr)
        return;
    Timer frameTimer;
    frameTimer.start();
    Platform::WindowMessage message;
    for (;;)
    {
        if (window->peekMessage(message))
        {
            if (message.message == Platform::WM_QUIT)
                break;
            window->dispatchMessage(message);
            continue;
        }
        if (uint32_t sleep = framePacingSleepMs(frameTimer.getElapsed()))
        {
            Platform::sleepMs(sleep);
            continue;
        }
        frameTimer.start();
        updateAndRender();
    }
}

void ApplicationGeneric::updateAndRender()
{
    {
        std::lock_guard lock(mLock);
        if (mAnimateEnabled)
        {
            uint32_t now = mRunClock.getElapsed();
            mFrameDelta = now - mPreviousClock;
            mFrameDeltaCopy = mFrameDelta;
            mPreviousClock = now;
            if (mOverlayText)
                mAnimateTimer.start();
            animate();
            if (mOverlayText)
                mAnimateTimer.stop();
        }
    }
    {
        std::lock_guard lock(mLock);
        if (mRenderEnabled)
        {
            if (mOverlayText)
                mOverlayText->setText(timingOverlayText());
            renderFrame();
        }
    }
}

std::string ApplicationGeneric::timingOverlayText()
{
    Engine2DBase* engine = getEngine2D();
    uint64_t used = engine != nullptr ? engine->getTextureMemoryUsed() / 1024 : 0;
    uint64_t available = engine != nullptr ? engine->getTextureMemoryAvailable() / 1024 : 0;
    return "Temps render " + std::to_string(mRenderTimer.getElapsed()) + "ms\n" + "Temps render2D " +
           std::to_string(mRender2DTimer.getElapsed()) + "ms\n" + "Temps render3D " +
           std::to_string(mRender3DTimer.getElapsed()) + "ms\n" + "Temps animate " +
           std::to_string(mAnimateTimer.getElapsed()) + "ms\n" +
           "Texture Memory used = " + std::to_string(used) + " Ko\n" +
           "Texture Memory available = " + std::to_string(available) + " Ko\n";
}

ErrorCode ApplicationGeneric::renderFrame()
{
    Engine2DBase* engine2D = getEngine2D();
    if (engine2D == nullptr)
        return ERROR_INVALID;
    bool overlay = mOverlayText != nullptr;
    if (overlay)
        mRenderTimer.start();
    Engine3DBase* engine3D = mSettings->mPass3DEnabled ? getEngine3D() : nullptr;
    // The pass starts with the frame's clear: a picture reused stands for both.
    if (engine3D != nullptr)
        engine3D->beginReusablePass();
    if (ErrorCode code = engine2D->beginFrame())
        return code;

    if (mSettings->mPass3DEnabled)
    {
        if (engine3D == nullptr)
            return ERROR_INVALID;
        if (overlay)
            mRender3DTimer.start();
        if (ErrorCode code = engine3D->beginPass3D())
            return code;
        if (ErrorCode code = render3D())
            return code;
        if (ErrorCode code = engine3D->endPass3D())
            return code;
        engine3D->endReusablePass();
        if (overlay)
            mRender3DTimer.stop();
    }

    if (overlay)
        mRender2DTimer.start();
    if (ErrorCode code = engine2D->begin2DPass())
        return code;
    if (GuiManagerBase* gui = getGuiManager())
    {
        ErrorCode code = gui->render();
        if (code != 0 && code != ERROR_STOP_RENDERING)
        {
            showMessage("%s", getLangText(LANG_RENDERINGERROR).c_str());
            if (AppWindow* window = getAppWindow())
                window->postQuitMessage(0);
        }
    }
    if (CursorManagerBase* cursor = getCursorManager())
    {
        if (ErrorCode code = cursor->render())
            return code;
    }
    if (overlay)
    {
        if (ErrorCode code = mOverlayText->render())
            return code;
    }
    if (ErrorCode code = engine2D->end2DPass())
        return code;
    if (overlay)
        mRender2DTimer.stop();
    if (ErrorCode code = engine2D->endFrame())
        return code;
    if (overlay)
        mRenderTimer.stop();
    Platform::frameEnded();
    return 0;
}

ErrorCode ApplicationGeneric::render3D()
{
    Engine3DBase* engine3D = getEngine3D();
    return engine3D != nullptr ? engine3D->render() : 0;
}

void ApplicationGeneric::animate()
{
    if (GuiManagerBase* gui = getGuiManager())
        gui->animate();
    // A link or document that did not open says so, naming it.
    for (const ShellOpenFailure& failure : takeShellOpenFailures())
        showMessage("%s", describeShellOpenFailure(failure).c_str());
}

void ApplicationGeneric::showNextIntroScreen(uint32_t, ApplicationGeneric* application)
{
    GuiManagerBase* gui = application->getGuiManager();
    if (gui == nullptr || application->mIntroIndex >= application->mIntroScreens.size())
    {
        application->mIntroIndex = static_cast<uint32_t>(application->mIntroScreens.size());
        if (CursorManagerBase* cursor = application->getCursorManager())
            cursor->setImage(application->getImage(0));
        application->createFirstWindow();
        return;
    }
    // Advanced before opening: an intro window may end at once and call back.
    const IntroScreen& screen = *application->mIntroScreens[application->mIntroIndex++];
    gui->openIntroScreen(screen, [application] { showNextIntroScreen(0, application); });
}

void ApplicationGeneric::quitApplication(bool wait)
{
    AppWindow* window = getAppWindow();
    if (window != nullptr)
        window->postQuitMessage(0);
    if (!wait)
        return;
    if (window != nullptr)
    {
        Platform::WindowMessage message;
        while (window->peekMessage(message) && message.message != Platform::WM_QUIT)
            window->dispatchMessage(message);
    }
    std::exit(-1);
}
