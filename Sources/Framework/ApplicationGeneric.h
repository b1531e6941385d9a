#pragma once
// The game-independent spine of the program: the start-up settings record,
// the table of service objects it owns, and the application root through
// which every subsystem reaches those services. Exactly one instance exists.
#include "Framework/AppService.h"
#include "Framework/ErrorCodes.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

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

class ApplicationGeneric
{
public:
    // Publishes the object as the application root.
    explicit ApplicationGeneric(const ApplicationSettings& settings);
    // Deletes the GUI manager first (the widget tree goes while the engines
    // still exist), then the other services from the last id down, then
    // clears the application root.
    virtual ~ApplicationGeneric();
    ApplicationGeneric(const ApplicationGeneric&) = delete;
    ApplicationGeneric& operator=(const ApplicationGeneric&) = delete;

    const ApplicationSettings& getSettings() const { return *mSettings; }

    AppService* getService(uint32_t id) const { return id < SERVICE_COUNT ? mServices[id].get() : nullptr; }
    // Replaces the service at its own id, deleting the one it held.
    void setService(std::unique_ptr<AppService> service);
    LangTable* getLangTable() const;
    SoundManager* getSoundManager() const;

    // The 2D engine installs how a frame it still holds is presented, so that
    // a message box shows over the current picture.
    void setPendingFramePresenter(std::function<void()> presenter)
    {
        mPresentPendingFrame = std::move(presenter);
    }
    void presentPendingFrame();

protected:
    std::array<std::unique_ptr<AppService>, SERVICE_COUNT> mServices;
    const ApplicationSettings* mSettings;
    std::function<void()> mPresentPendingFrame;
};

// The running application, or null before it is built and after it is gone.
ApplicationGeneric* getApplication();

// What a text lookup yields while the root or its language table is missing
// or the table is not loaded.
extern const char* const gTextUnavailable;
