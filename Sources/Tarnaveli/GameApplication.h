#pragma once
// The game's application: the start-up settings of the program, the game's
// initialisation in its fixed order (set-up file, texts, skins, images,
// fonts, sounds, looks, services, records table, game description, player
// kinds, settings, intro screens), what lives for the whole run, the music
// switch, the quit path, and what is saved at exit.
//
// It answers what the menus, the in-game screen and the network windows ask
// of the game (the interfaces below), and hands itself to each window it
// opens. The steps of the start-up that need a display (skins, fonts,
// looks, game description) and the windows it opens itself are virtual, so
// that a test replaces them and runs without a display.
#include "Framework/ApplicationGeneric.h"
#include "Tarnaveli/GameScreenServices.h"
#include "Tarnaveli/GameSettings.h"
#include "Tarnaveli/InGameServices.h"
#include "Tarnaveli/MenuServices.h"
#include "Tarnaveli/NetworkWindowServices.h"
#include "Tarnaveli/ScoreTable.h"
#include "Tarnaveli/SetupConfig.h"
#include "Tarnaveli/StartupTables.h"

#include <memory>
#include <span>
#include <string>

class Look;
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

enum class MusicMode : int32_t
{
    None = 0,
    // Sound 5 on channel 0 at the music level.
    Menu = 1,
    // Channel 0 stopped.
    Stopped = 2
};

class GameApplication : public ApplicationGeneric,
                        public MenuServices,
                        public InGameServices,
                        public NetworkWindowServices,
                        public GameScreenServices
{
public:
    // The program's own start-up settings.
    static ApplicationSettings makeSettings(bool archivePresent);

    explicit GameApplication(const ApplicationSettings& settings);
    // Writes the set-up file and the settings file back, each only when the
    // start-up got as far as reading it.
    ~GameApplication() override;

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
    bool isMenuVideoOpen() const { return mMenuVideoOpen; }
    void setIntroScreen(uint32_t index, Texture* image, uint32_t color, uint32_t soundId, uint32_t displayMs,
                        uint32_t fadeMs, uint32_t fadeMode);

    GameSettings* getGameSettings() const { return mGameSettings.get(); }
    void setNetwork(std::unique_ptr<NetworkPeer> network);
    // In-game screen presence, told by the screen itself.
    bool hasGameScreen() const { return mGameScreenShown; }
    void setGameScreenShown(bool shown) { mGameScreenShown = shown; }

    // MenuServices.
    SetupConfig& getSetup() override { return mSetup; }
    ScoreTable* getScoreTable() const override { return mScoreTable.get(); }
    GameDescription* getGameDescription() const override { return mGameDescription.get(); }
    NetworkPeer* getNetwork() const override { return mNetwork.get(); }
    void openMenuVideoWindow() override;
    void closeMenuVideoWindow() override;
    void startMenuMusic() override;
    void startLocalGame(const LocalGameRequest& request) override;
    void openLoadDialog(bool inGame) override;
    // Makes the network object on the first call; a failure is shown and
    // the next call tries again.
    void openNetworkMenu() override;
    void openOptions() override;
    void openJoinWindow() override;
    void openWaitingWindow() override;
    void quit() override;
    void fatalQuit() override;

    // InGameServices.
    void playEffect(uint32_t soundId) override;
    void openSaveDialog() override;
    void leaveToMainMenu(const std::string& message) override;
    void closeGameMenu() override;
    bool isNetworkGame() const override;
    bool isGameOver() const override;

    // NetworkWindowServices.
    void startNetworkGame(std::unique_ptr<Player> white, std::unique_ptr<Player> black) override;
    WaitingChatPanel createChatPanel(int32_t x, int32_t y, int32_t width, int32_t height) override;

    // GameScreenServices.
    std::unique_ptr<GameScreenView> createView(GameScreen& screen, Board& board) override;
    ChatWindowParts createChatWindow(GameScreen& screen) override;
    Layer* openGameMenu(GameScreen& screen) override;
    void openEndWindow(GameScreen& screen, uint32_t winner) override;
    void openMainMenu() override;

protected:
    // The start-up's steps that a test replaces.
    // Fills the skin manager's texture and colour tables and paths.
    virtual void registerSkins(const SkinRegistration& registration);
    // Makes the skin of that name current (the first skin when none has it)
    // once the skin manager has found the skins.
    virtual void selectSkin(const std::string& skinName);
    // The bitmap font of a .fnt file, its caret drawn with the texture; null
    // leaves the font table empty.
    virtual std::unique_ptr<BitmapFontBase> createFont(const std::string& path, Texture* caret);
    // The toolkit's look of one entry of the look table; null keeps what the
    // table holds.
    virtual std::unique_ptr<Look> createLook(const LookEntry& entry);
    // The infotip's font, once the services are initialised.
    virtual void setInfotipFont(uint32_t fontIndex);
    // Reads the game description (the 3D engine makes its board models).
    virtual ErrorCode loadGameDescription();

    // The windows it opens itself.
    // The closing screen showing image 32, which then ends the program.
    virtual void openClosingScreen();
    virtual void openNetworkGameWindow();
    // The layer playing the menu background video.
    virtual void showMenuVideo();
    virtual void hideMenuVideo();
    // The in-game screen, while one is shown.
    virtual ErrorCode renderGame3D();
    virtual void pauseGame();
    virtual void resumeGame();

private:
    void registerSkinTables();
    // Hands the sound manager's mixer to the video layer once the services
    // are initialised, so that videos play their sound tracks beside the
    // effects at the effects' level; called with null before the manager goes.
    void connectVideoSound(SoundManager* sound);
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
