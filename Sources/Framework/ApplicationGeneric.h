#pragma once
// The game-independent spine of the program: the start-up settings record,
// the table of service objects it owns, the application lock, the image, font
// and archive tables, and the single-threaded main loop (window messages, a
// 20 ms frame pacing, the update under the lock, the render step). The game's
// application class derives from it. Exactly one instance exists; the
// application root designates it for every subsystem.
#include "Framework/AppService.h"
#include "Framework/ErrorCodes.h"
#include "Framework/FileLookup.h"
#include "Framework/ServiceInterfaces.h"
#include "Framework/Timer.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class AppWindow;
class LangTable;
class SoundManager;

// Filled by the entry point, read-only afterwards; the application keeps a
// pointer to it for the whole run.
struct ApplicationSettings
{
    uint32_t mClientWidth = 1024;
    uint32_t mClientHeight = 768;
    // Also the window class name.
    std::string mTitle;
    // When set and naming a live window, run only restores and raises it.
    void** mExistingWindow = nullptr;
    bool mSystemCursor = false;
    uint32_t mIconResourceId = 0;
    std::string mLanguageFile;
    std::string mImagesFolder = "data\\images\\";
    std::string mArchivePath;
    bool mPass3DEnabled = false;
    uint32_t mEngine2DKind = 1;
    uint32_t mEngine3DKind = 1;
    uint32_t mSoundManagerKind = 1;
    // A path that a mounted archive covers but does not hold is not looked for on the disk.
    bool mArchiveOnly = true;
    bool mTimingOverlay = false;
};

// Index of each service in the application's table; each service's
// getServiceId answers its index.
enum ServiceId : uint32_t
{
    SERVICE_LANG_TABLE = 0,
    SERVICE_APP_WINDOW = 1,
    SERVICE_ENGINE_2D = 2,
    SERVICE_ENGINE_3D = 3,
    SERVICE_SKIN_MANAGER = 4,
    SERVICE_LOOK_TABLE = 5,
    SERVICE_GUI_MANAGER = 6,
    SERVICE_INPUT_MANAGER = 7,
    SERVICE_SOUND_MANAGER = 8,
    SERVICE_COUNT = 9
};

// How the application makes each of its services. The layers above the
// framework install the creators of their services before the application is
// built; an empty creator restores the default (the framework's own service
// or a null one).
using ServiceCreator = std::function<std::unique_ptr<AppService>(const ApplicationSettings&)>;
void setServiceCreator(uint32_t id, ServiceCreator creator);

// The order in which the constructor creates the services: the GUI manager
// and the input manager first, the sound manager last.
inline constexpr std::array<uint32_t, SERVICE_COUNT> kServiceCreationOrder = {
    SERVICE_GUI_MANAGER, SERVICE_INPUT_MANAGER, SERVICE_SKIN_MANAGER,
    SERVICE_LOOK_TABLE,  SERVICE_LANG_TABLE,    SERVICE_APP_WINDOW,
    SERVICE_ENGINE_2D,   SERVICE_ENGINE_3D,     SERVICE_SOUND_MANAGER};

// One of the default text styles the game's windows read.
struct TextStyle
{
    uint32_t mFont = 0;
    uint32_t mColor = 0xFF000000;
    uint32_t mFlags = 4;
};

// The frame period of the main loop.
inline constexpr uint32_t kFramePeriodMs = 20;
// How long the main loop sleeps when elapsedMs have passed since the last
// frame: 0 when a frame is due, else half of what is left, at least 1 ms.
uint32_t framePacingSleepMs(uint32_t elapsedMs);

class ApplicationGeneric
{
public:
    // Publishes the object as the application root and creates the services.
    explicit ApplicationGeneric(const ApplicationSettings& settings);
    // Deletes the overlay text, then the GUI manager (the widget tree goes
    // while the engines and the fonts still exist), the fonts and the intro
    // records, then the other services from the last id down, then clears the
    // application root.
    virtual ~ApplicationGeneric();
    ApplicationGeneric(const ApplicationGeneric&) = delete;
    ApplicationGeneric& operator=(const ApplicationGeneric&) = delete;

    // Runs the program until the quit message; 0 on a normal end.
    ErrorCode run();
    // What run does before its loop (archive, services, first screen), for a
    // caller that steps the frames itself: ERROR_STOP_RENDERING is returned
    // as it is, not turned into 0.
    ErrorCode start();
    // Handles every waiting message, then one update and one render step
    // without pacing; false once the quit message has been taken.
    bool runOneFrame();
    // Initialises every service in id order, then loads the fonts; the first
    // failure is returned. The game's override does its own loading first.
    virtual ErrorCode init();
    // One render step.
    ErrorCode renderFrame();
    // The intro chain's end callback: the next intro screen, or the first
    // window once the list is done.
    static void showNextIntroScreen(uint32_t ignored, ApplicationGeneric* application);
    // Posts the quit message. With wait, pumps messages until the quit
    // message is taken and ends the process with exit code -1.
    void quitApplication(bool wait);

    // File lookup over the mounted archives, then the disk.
    ErrorCode openFile(const std::string& path, std::unique_ptr<InputStream>& stream, uint32_t flags = 0)
    {
        return mFileLookup.openFile(path, stream, flags);
    }
    bool fileExists(const std::string& path) const { return mFileLookup.fileExists(path); }
    ErrorCode readFromArchives(const std::string& path, std::unique_ptr<ByteBuffer>& bytes)
    {
        return mFileLookup.readFromArchives(path, bytes);
    }
    void addArchive(std::unique_ptr<ResourceArchive> archive) { mFileLookup.addArchive(std::move(archive)); }
    FileLookup& getFileLookup() { return mFileLookup; }

    // Opens the application folder + path, or the path as it is, with the
    // desktop's default program.
    void shellOpenInAppFolder(const std::string& relativePath);
    void shellOpen(const std::string& path);

    // Stores in the image table, at id, the 2D engine's texture for the file
    // (with inImagesFolder, the settings' images folder is put in front).
    void loadImage(uint32_t id, const std::string& fileName, bool inImagesFolder);
    Texture* getImage(uint32_t id) const { return id < mImages.size() ? mImages[id] : nullptr; }
    void setImage(uint32_t id, Texture* texture);
    // Takes ownership of a font of the font table.
    void addFont(std::unique_ptr<BitmapFontBase> font) { mFonts.push_back(std::move(font)); }
    BitmapFontBase* getFont(uint32_t index) const
    {
        return index < mFonts.size() ? mFonts[index].get() : nullptr;
    }
    // The intro list; the application owns the records.
    std::vector<std::unique_ptr<IntroScreen>>& getIntroScreens() { return mIntroScreens; }
    void setIntroEnabled(bool enabled) { mIntroEnabled = enabled; }

    const ApplicationSettings& getSettings() const { return *mSettings; }
    AppService* getService(uint32_t id) const { return id < SERVICE_COUNT ? mServices[id].get() : nullptr; }
    // Replaces the service at its own id, deleting the one it held.
    void setService(std::unique_ptr<AppService> service);
    LangTable* getLangTable() const;
    SoundManager* getSoundManager() const;
    AppWindow* getAppWindow() const;
    Engine2DBase* getEngine2D() const;
    Engine3DBase* getEngine3D() const;
    GuiManagerBase* getGuiManager() const;
    InputManagerBase* getInputManager() const;
    // The input manager's cursor, or null.
    CursorManagerBase* getCursorManager() const;

    // The application lock: re-entrant for the thread that holds it. The main
    // loop holds it around the update and the render step, the window
    // procedure around activation, the GUI manager around its dispatches.
    std::recursive_mutex& getLock() { return mLock; }

    bool isAnimateEnabled() const { return mAnimateEnabled; }
    void setAnimateEnabled(bool enabled) { mAnimateEnabled = enabled; }
    bool isRenderEnabled() const { return mRenderEnabled; }
    void setRenderEnabled(bool enabled) { mRenderEnabled = enabled; }
    // True from construction until run begins its loop.
    bool isNotYetRunning() const { return mNotYetRunning; }
    // The application folder, with a trailing backslash (known once run began).
    const std::string& getApplicationFolder() const { return mApplicationFolder; }
    // Milliseconds between the last two updates.
    uint32_t getFrameDelta() const { return mFrameDelta; }
    const TextStyle& getTextStyle(uint32_t index) const { return mTextStyles[index < 3 ? index : 0]; }
    // The value kept between the first two styles, and the two after the third.
    uint32_t getTextStyleExtra() const { return mTextStyleExtra; }
    uint32_t getTextStyleTail(uint32_t index) const { return mTextStyleTail[index < 2 ? index : 0]; }
    // Texture loading by file name puts the first entry in front of the name.
    std::vector<std::string>& getFolderPrefixes() { return mFolderPrefixes; }

    // The 2D engine installs how a frame it still holds is presented, so that
    // a message box shows over the current picture.
    void setPendingFramePresenter(std::function<void()> presenter)
    {
        mPresentPendingFrame = std::move(presenter);
    }
    void presentPendingFrame();

    // Runs the GUI manager's per-frame step.
    virtual void animate();
    virtual bool isSoundAllowed() { return true; }
    // -1: no master level.
    virtual int32_t getMasterSoundLevel() { return -1; }
    // Draws the 3D scene.
    virtual ErrorCode render3D();
    // Opens the first screen.
    virtual void createFirstWindow() = 0;
    // The main window became inactive, or active again.
    virtual void onDeactivate() {}
    virtual void onActivate() {}

protected:
    // Deletes the widget tree (and the overlay text the GUI made) while the
    // engines, fonts and images its windows draw with still exist. The base
    // destructor does it first; a subclass that releases such resources in its
    // own destructor calls it before.
    void releaseWidgetTree();

    // Mounts the archive of the settings, if any; its open failure is returned.
    ErrorCode mountArchive();
    // Pumps and dispatches messages until the quit message; frames in between.
    void mainLoop();
    // The update under the lock, then the render step under the lock.
    void updateAndRender();
    std::string timingOverlayText();

    std::array<std::unique_ptr<AppService>, SERVICE_COUNT> mServices;
    const ApplicationSettings* mSettings;
    std::string mApplicationFolder;
    bool mAnimateEnabled = true;
    bool mRenderEnabled = true;
    std::recursive_mutex mLock;
    bool mIntroEnabled = false;
    uint32_t mIntroIndex = 0;
    std::vector<std::unique_ptr<IntroScreen>> mIntroScreens;
    std::vector<Texture*> mImages;
    std::vector<std::string> mFolderPrefixes;
    std::vector<std::unique_ptr<BitmapFontBase>> mFonts;
    // The mounted archives, published as the program's file lookup.
    FileLookup mFileLookup;
    bool mNotYetRunning = true;
    Timer mRunClock;
    uint32_t mPreviousClock = 0;
    uint32_t mFrameDelta = 0;
    // Kept beside the delta for the animations that read it under this name.
    uint32_t mFrameDeltaCopy = 0;
    Timer mRenderTimer;
    Timer mRender2DTimer;
    Timer mRender3DTimer;
    Timer mAnimateTimer;
    std::unique_ptr<OverlayTextBase> mOverlayText;
    std::array<TextStyle, 3> mTextStyles;
    // Read by the game's windows beside the styles.
    uint32_t mTextStyleExtra = 0;
    uint32_t mTextStyleTail[2] = {3, 5};
    std::function<void()> mPresentPendingFrame;
};

// The running application, or null before it is built and after it is gone.
ApplicationGeneric* getApplication();

// Shows why run ended with a non-zero code: the language text "Erreur %s"
// filled with the error's text, the built-in form of that text while no
// language table is loaded (a failed start-up happens before it is).
void showRunError(ErrorCode code);

// What a text lookup yields while the root or its language table is missing
// or the table is not loaded.
extern const char* const gTextUnavailable;
