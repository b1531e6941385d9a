#pragma once
// The game's application: the start-up settings of the program, the game's
// initialisation in its fixed order (set-up file, texts, skins, images,
// fonts, sounds, looks, services, records table, game description, player
// kinds, settings, intro screens), what lives for the whole run, the music
// switch, the quit path, and what is saved at exit.
//
// The in-game screen, the menus and their windows, the infotip and the
// video looks live in other parts of the game; they plug in through
// GameApplication::hooks(). A hook left empty is skipped, so the program
// still starts, shows its window and quits cleanly. The hooks that stand for
// the skin manager, the fonts, the looks and the game description replace
// what the game does by default (tests run without a display with them).
#include "Framework/ApplicationGeneric.h"
#include "Tarnaveli/GameSettings.h"
#include "Tarnaveli/ScoreTable.h"
#include "Tarnaveli/SetupConfig.h"
#include "Tarnaveli/StartupTables.h"

#include <functional>
#include <memory>
#include <span>
#include <string>

class GameApplication;
class GameDescription;
class Look;
class NetworkPeer;
class SoundManager;

// What the skin manager (service 4) is given before its init.
struct SkinRegistration
{
    std::string skinsIniPath;
    std::string skinsFolder;
    std::string skinIniName;
    const std::vector<SkinTextureEntry>* textures = nullptr;
    std::span<const SkinColorEntry> colors;
};

struct GameHooks
{
    // In place of filling the skin manager's texture and colour tables and paths.
    std::function<void(GameApplication&, const SkinRegistration&)> registerSkins;
    // In place of the bitmap font of a .fnt file, its caret drawn with the
    // texture; null leaves the font table empty.
    std::function<std::unique_ptr<BitmapFontBase>(const std::string& path, Texture* caret)> createFont;
    // In place of the toolkit's look of one entry of the look table; null
    // keeps what the table holds.
    std::function<std::unique_ptr<Look>(const LookEntry& entry)> createLook;
    // In place of making the skin of that name current (the first skin when
    // none has it) once the skin manager has found the skins.
    std::function<void(GameApplication&, const std::string& skinName)> selectSkin;
    // Gives the infotip its font once the services are initialised.
    std::function<void(GameApplication&, uint32_t fontIndex)> setInfotipFont;
    // Loads the game description in place of GameDescription::load (which
    // needs the 3D engine for the board models).
    std::function<ErrorCode(GameApplication&)> loadGameDescription;
    // Opens the main menu.
    std::function<void(GameApplication&)> openMainMenu;
    // Opens the closing screen showing image 32, which then ends the program.
    std::function<void(GameApplication&)> openClosingScreen;
    // Opens the network game window once the network object exists.
    std::function<void(GameApplication&)> openNetworkGameWindow;
    // Hands the sound manager's mixer to the video layer once the services
    // are initialised, so that videos play their sound tracks beside the
    // effects; called with null before the manager goes.
    std::function<void(SoundManager*)> connectVideoSound;
    // Opens and closes the layer playing the menu background video.
    std::function<void(GameApplication&)> openMenuVideo;
    std::function<void(GameApplication&)> closeMenuVideo;
    // The in-game screen, while one is shown.
    std::function<ErrorCode(GameApplication&)> renderGame3D;
    std::function<void(GameApplication&)> pauseGame;
    std::function<void(GameApplication&)> resumeGame;
};

enum class MusicMode : int32_t
{
    None = 0,
    // Sound 5 on channel 0 at the music level.
    Menu = 1,
    // Channel 0 stopped.
    Stopped = 2
};

class GameApplication : public ApplicationGeneric
{
public:
    // The program's own start-up settings.
    static ApplicationSettings makeSettings(bool archivePresent);

    explicit GameApplication(const ApplicationSettings& settings);
    // Writes the set-up file and the settings file back, each only when the
    // start-up got as far as reading it.
    ~GameApplication() override;

    static GameHooks& hooks();
    // The running game, or null.
    static GameApplication* current();

    ErrorCode init() override;
    ErrorCode render3D() override;
    void createFirstWindow() override;
    void onDeactivate() override;
    void onActivate() override;

    // The display text of an error code; 34 has a game text of its own.
    static std::string getErrorText(ErrorCode code);

    void setMusicMode(MusicMode mode);
    MusicMode getMusicMode() const { return mMusicMode; }
    void openMenuVideoWindow();
    void closeMenuVideoWindow();
    bool isMenuVideoOpen() const { return mMenuVideoOpen; }
    // The main menu's quit button.
    void quit();
    // Makes the network object on the first call; a failure is shown and
    // the next call tries again.
    void openNetworkMenu();
    void setIntroScreen(uint32_t index, Texture* image, uint32_t color, uint32_t soundId, uint32_t displayMs,
                        uint32_t fadeMs, uint32_t fadeMode);

    SetupConfig& getSetup() { return mSetup; }
    GameSettings* getGameSettings() const { return mGameSettings.get(); }
    ScoreTable* getScoreTable() const { return mScoreTable.get(); }
    GameDescription* getGameDescription() const { return mGameDescription.get(); }
    NetworkPeer* getNetwork() const { return mNetwork.get(); }
    void setNetwork(std::unique_ptr<NetworkPeer> network);
    // In-game screen presence, told by the screen itself.
    bool hasGameScreen() const { return mGameScreenShown; }
    void setGameScreenShown(bool shown) { mGameScreenShown = shown; }

private:
    void registerSkins();
    void selectSkin();
    void loadImages();
    void releaseImages();
    void createFonts();
    void registerSounds();
    void fillLookTable();

    SetupConfig mSetup;
    std::unique_ptr<NetworkPeer> mNetwork;
    std::unique_ptr<GameDescription> mGameDescription;
    std::unique_ptr<ScoreTable> mScoreTable;
    std::unique_ptr<GameSettings> mGameSettings;
    MusicMode mMusicMode = MusicMode::None;
    bool mGameScreenShown = false;
    bool mMenuVideoOpen = false;
    bool mSetupRead = false;
    // The base initialisation succeeded: the engines have their devices.
    bool mServicesReady = false;
};
