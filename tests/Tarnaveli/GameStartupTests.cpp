// The game's start-up with the data the build generates, under SDL's
// headless video driver: the initialisation in its order, the main loop
// reached, and what is written at exit.
#include "../SanitizerCheck.h"
#include "../Sound/RecordingSoundManager.h"
#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "Framework/LangTable.h"
#include "Gui/Dialog.h"
#include "Gui/Font.h"
#include "Gui/GuiManager.h"
#include "Gui/InputManager.h"
#include "Gui/LiftLook.h"
#include "Gui/Look.h"
#include "Gui/Skin.h"
#include "Network/NetworkPeer.h"
#include "Platform/System/Clock.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"
#include "SoundManagerDSound/SoundManagerDSound.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/Player.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameDescription/GameDescription.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/SavedGame.h"

#include "Gui/ProgressionBarLook.h"
#include "Gui/VideoControlerLook.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

namespace fs = std::filesystem;

namespace
{
// The display the suite was started with, if any: most tests run headless.
const char* const gDisplay = std::getenv("DISPLAY") != nullptr ? strdup(std::getenv("DISPLAY")) : nullptr;

// The steps of the start-up and the windows the application opens, as a
// test replaces them; an empty step is the game's own for the start-up and
// nothing for a window (the closing screen: a plain quit).
struct GameSteps
{
    std::function<void(GameApplication&, const SkinRegistration&)> registerSkins;
    std::function<std::unique_ptr<BitmapFontBase>(const std::string& path, Texture* caret)> createFont;
    std::function<std::unique_ptr<Look>(const LookEntry& entry)> createLook;
    std::function<void(GameApplication&, const std::string& skinName)> selectSkin;
    std::function<void(GameApplication&, uint32_t fontIndex)> setInfotipFont;
    std::function<ErrorCode(GameApplication&)> loadGameDescription;
    std::function<void(GameApplication&)> openMainMenu;
    std::function<void(GameApplication&)> openClosingScreen;
    std::function<void(GameApplication&)> openNetworkGameWindow;
    std::function<void(GameApplication&)> openMenuVideo;
    std::function<void(GameApplication&)> closeMenuVideo;
    std::function<void(GameApplication&)> pauseGame;
};

class TestGame final : public GameApplication
{
public:
    TestGame(const ApplicationSettings& settings, GameSteps& steps) : GameApplication(settings), mSteps(steps)
    {
    }

    void openMainMenu() override
    {
        if (mSteps.openMainMenu)
            mSteps.openMainMenu(*this);
    }

protected:
    void registerSkins(const SkinRegistration& registration) override
    {
        if (mSteps.registerSkins)
            mSteps.registerSkins(*this, registration);
        else
            GameApplication::registerSkins(registration);
    }
    void selectSkin(const std::string& skinName) override
    {
        if (mSteps.selectSkin)
            mSteps.selectSkin(*this, skinName);
        else
            GameApplication::selectSkin(skinName);
    }
    std::unique_ptr<BitmapFontBase> createFont(const std::string& path, Texture* caret) override
    {
        return mSteps.createFont ? mSteps.createFont(path, caret) : GameApplication::createFont(path, caret);
    }
    std::unique_ptr<Look> createLook(const LookEntry& entry) override
    {
        return mSteps.createLook ? mSteps.createLook(entry) : GameApplication::createLook(entry);
    }
    void setInfotipFont(uint32_t fontIndex) override
    {
        if (mSteps.setInfotipFont)
            mSteps.setInfotipFont(*this, fontIndex);
    }
    ErrorCode loadGameDescription() override
    {
        return mSteps.loadGameDescription ? mSteps.loadGameDescription(*this)
                                          : GameApplication::loadGameDescription();
    }
    void openClosingScreen() override
    {
        if (mSteps.openClosingScreen)
            mSteps.openClosingScreen(*this);
        else
            quitApplication(false);
    }
    void openNetworkGameWindow() override
    {
        if (mSteps.openNetworkGameWindow)
            mSteps.openNetworkGameWindow(*this);
    }
    void showMenuVideo() override
    {
        if (mSteps.openMenuVideo)
            mSteps.openMenuVideo(*this);
    }
    void hideMenuVideo() override
    {
        if (mSteps.closeMenuVideo)
            mSteps.closeMenuVideo(*this);
    }
    ErrorCode renderGame3D() override { return ERROR_OK; }
    void pauseGame() override
    {
        if (mSteps.pauseGame)
            mSteps.pauseGame(*this);
    }
    void resumeGame() override {}

private:
    GameSteps& mSteps;
};

// A program folder whose data are the build's, except that what the game
// writes (set-up, settings, records, language file) stays in the folder.
class GameStartupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        const fs::path built = fs::path(VELMORIQUE_BUILD_DIR) / "data";
        const fs::path data = fs::path(folder.path()) / "data";
        fs::create_directories(data / "Ressources");
        for (const char* shared : {"Ressources.dat", "lights.dat"})
            fs::create_symlink(built / shared, data / shared);
        for (const char* shared : {"sons", "Video", "models"})
            fs::create_directory_symlink(built / shared, data / shared);
        Platform::setProgramDirectory(folder.path());

        SoundManagerDSound::registerKind();
        GuiManager::registerServices();
        // Without the engines the description's textures and models cannot
        // be made: it is read on a display only (see below).
        replaced.loadGameDescription = [](GameApplication&) { return ErrorCode{0}; };
        // Glyph textures need the 2D engine too.
        replaced.createFont = [](const std::string&, Texture*) { return nullptr; };
        replaced.openMainMenu = [this](GameApplication& game)
        {
            ++mainMenus;
            game.quitApplication(false);
        };
        replaced.registerSkins = [this](GameApplication&, const SkinRegistration& registration)
        { skins = registration; };
    }
    void TearDown() override
    {
        application.reset();
        for (uint32_t id = 0; id < SERVICE_COUNT; ++id)
            setServiceCreator(id, nullptr);
    }

    GameApplication& make()
    {
        settings = GameApplication::makeSettings(true);
        application = std::make_unique<TestGame>(settings, replaced);
        return *application;
    }
    std::string file(const std::string& relative) const { return folder.path() + "/" + relative; }
    std::vector<uint8_t> readBytes(const std::string& relative) const
    {
        std::ifstream in(file(relative), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    Platform::TemporaryDirectory folder;
    ApplicationSettings settings;
    GameSteps replaced;
    std::unique_ptr<GameApplication> application;
    SkinRegistration skins;
    int mainMenus = 0;
};
} // namespace

TEST_F(GameStartupTest, StartsWithTheGeneratedDataReachesTheMainMenuAndWritesItsFilesAtExit)
{
    GameApplication& game = make();
    EXPECT_EQ(GameApplication::current(), &game);
    ASSERT_EQ(game.run(), 0u);
    EXPECT_EQ(mainMenus, 1);

    // Texts: the game's defaults, read through the language file it wrote.
    EXPECT_EQ(getLangText(LANG_ID), "FR");
    EXPECT_EQ(getLangText(LANG_WINDOW_MENU_QUIT), "Quitter");
    EXPECT_TRUE(fs::exists(file("data/Ressources/lang.ini")));
    EXPECT_TRUE(fs::exists(file("data/setup.ini")));

    // Skins, sounds, looks, records table and settings.
    EXPECT_EQ(skins.skinsFolder, "data\\Ressources\\skins\\");
    EXPECT_EQ(skins.skinIniName, "skin.ini");
    ASSERT_NE(skins.textures, nullptr);
    EXPECT_EQ(skins.textures->size(), 195u);
    SoundManager* sound = game.getSoundManager();
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->getSoundCount(), 9u);
    EXPECT_EQ(sound->getSoundName(0), "");
    EXPECT_EQ(sound->getSoundName(SOUND_LOST), "data\\sons\\perdu.wav");
    EXPECT_EQ(sound->getGroup(SoundManager::MUSIC_GROUP).first, 0u);
    EXPECT_EQ(sound->getGroup(SoundManager::MUSIC_GROUP).count, 1u);
    EXPECT_EQ(sound->getGroup(SoundManager::EFFECTS_GROUP).first, 1u);
    EXPECT_EQ(sound->getGroup(SoundManager::EFFECTS_GROUP).count, 7u);
    auto* looks = dynamic_cast<LookTable*>(game.getService(SERVICE_LOOK_TABLE));
    ASSERT_NE(looks, nullptr);
    EXPECT_EQ(looks->size(), kLookTableSize);
    EXPECT_NE(looks->getLook(8), nullptr);
    auto* dialog = dynamic_cast<DialogLook*>(looks->getLook(10));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->buttonWidth, 100);
    EXPECT_EQ(dialog->buttonHeight, 24);
    EXPECT_EQ(dialog->titleFont, 1u);
    EXPECT_EQ(dialog->textFont, 3u);
    // The toolkit's looks, the lifts' textures in the toolkit's order.
    auto* lift = dynamic_cast<LiftLook*>(looks->getLook(12));
    ASSERT_NE(lift, nullptr);
    for (uint32_t i = 0; i < 24; ++i)
        EXPECT_EQ(lift->getTextureId(i), 66 + i);
    EXPECT_EQ(lift->getButtonLook(LIFT_ARROW_LEFT), 23u);
    EXPECT_EQ(lift->getButtonPictureHeight(LIFT_ARROW_DOWN), 47);
    EXPECT_EQ(lift->getButtonPictureWidth(LIFT_ARROW_RIGHT), 32);
    auto* slider = dynamic_cast<LiftSoundLook*>(looks->getLook(48));
    ASSERT_NE(slider, nullptr);
    for (uint32_t i = 0; i < 8; ++i)
        EXPECT_EQ(slider->getTextureId(i), 90 + i);
    EXPECT_EQ(dynamic_cast<ListLook*>(looks->getLook(LOOK_LIST))->liftWidth, 27);
    EXPECT_NE(dynamic_cast<ContainerLook*>(looks->getLook(6)), nullptr);
    EXPECT_EQ(looks->getLook(6)->getMargins(), (Margins{189, 164, 186, 115}));
    EXPECT_NE(dynamic_cast<TextButtonLook*>(looks->getLook(14)), nullptr);
    EXPECT_EQ(looks->getLook(37)->getValue(), uint32_t{SOUND_MENU_CLICK});
    EXPECT_NE(dynamic_cast<VideoControlerLook*>(looks->getLook(31)), nullptr);
    EXPECT_NE(dynamic_cast<ProgressionBarLook*>(looks->getLook(30)), nullptr);
    EXPECT_NE(game.getGameDescription(), nullptr);
    ASSERT_NE(game.getScoreTable(), nullptr);
    EXPECT_TRUE(game.getScoreTable()->getCategory(0).empty());
    ASSERT_NE(game.getGameSettings(), nullptr);
    EXPECT_EQ(game.getGameSettings()->getMusicLevel(), 178u);
    EXPECT_EQ(game.getTextStyle(0).mFont, uint32_t{FONT_TEXT});
    EXPECT_EQ(game.getTextStyle(1).mFont, uint32_t{FONT_TEXT});
    EXPECT_EQ(game.getTextStyle(1).mFlags, 4u);
    EXPECT_EQ(game.getTextStyle(2).mFont, 0u);
    ASSERT_EQ(game.getIntroScreens().size(), 2u);
    EXPECT_EQ(game.getIntroScreens()[0]->mDisplayMs, 1500u);
    EXPECT_EQ(game.getIntroScreens()[1]->mFadeMs, 2500u);

    application.reset();
    EXPECT_EQ(GameApplication::current(), nullptr);
    EXPECT_EQ(readBytes("data/settings.dat"),
              (std::vector<uint8_t>{0, 0, 0, 0, 178, 0, 0, 0, 178, 0, 0, 0, 1, 1}));
}

TEST_F(GameStartupTest, ASettingsLevelAboveTheRangeGivesTheDefaultsRewrittenAtExit)
{
    {
        std::ofstream out(file("data/settings.dat"), std::ios::binary);
        const uint8_t bytes[] = {0, 0, 0, 0, 0, 1, 0, 0, 3, 0, 0, 0, 0, 0};
        out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    }
    {
        std::ofstream(file("data/setup.ini"), std::ios::binary)
            << "SkinsDir = my\\\\skins\r\nPionSet = 3\r\n";
    }
    GameApplication& game = make();
    ASSERT_EQ(game.run(), 0u);
    EXPECT_EQ(game.getGameSettings()->getMusicLevel(), 178u);
    EXPECT_EQ(game.getGameSettings()->getSoundLevel(), 178u);
    EXPECT_TRUE(game.getGameSettings()->isMusicEnabled());
    EXPECT_TRUE(game.getGameSettings()->isSoundEnabled());
    // The skins folder gets its final backslash once.
    EXPECT_EQ(game.getSetup().mSkinsDir, "my\\skins\\");
    EXPECT_EQ(skins.skinsFolder, "my\\skins\\");
    application.reset();
    EXPECT_EQ(readBytes("data/settings.dat"),
              (std::vector<uint8_t>{0, 0, 0, 0, 178, 0, 0, 0, 178, 0, 0, 0, 1, 1}));
    SetupConfig written;
    ASSERT_EQ(written.load(), 0u);
    EXPECT_EQ(written.mSkinsDir, "my\\skins\\");
    EXPECT_EQ(written.mPionSet, 3);
}

TEST_F(GameStartupTest, ALanguageFileBesideTheArchiveIsReadAndLeftAsTheTranslatorWroteIt)
{
    // The intro screens pass in no time.
    Platform::ManualClock clock;
    const std::string translated = "LANG_WINDOW_MENU_QUIT = Sortir\r\n";
    {
        std::ofstream(file("data/Ressources/lang.ini"), std::ios::binary) << translated;
    }
    GameApplication& game = make();
    ASSERT_EQ(game.run(), 0u);
    EXPECT_EQ(getLangText(LANG_WINDOW_MENU_QUIT), "Sortir");
    // The texts the file does not name keep their built-in form.
    EXPECT_EQ(getLangText(LANG_ID), "FR");
    application.reset();
    std::vector<uint8_t> written = readBytes("data/Ressources/lang.ini");
    EXPECT_EQ(std::string(written.begin(), written.end()), translated);
}

TEST_F(GameStartupTest, AFreshInstallGetsItsSavesFolderAndLosesWhatInterruptedWritesLeft)
{
    // The intro screens pass in no time.
    Platform::ManualClock clock;
    for (const char* stale : {"data/setup.ini.tmp", "data/score.dat.tmp", "data/Ressources/lang.ini.tmp"})
        std::ofstream(file(stale), std::ios::binary) << "half";
    std::ofstream(file("data/notes.tmp"), std::ios::binary) << "not the game's";
    ASSERT_FALSE(fs::exists(file("data/saves")));
    GameApplication& game = make();
    ASSERT_EQ(game.run(), 0u);
    for (const char* stale : {"data/setup.ini.tmp", "data/score.dat.tmp", "data/Ressources/lang.ini.tmp"})
        EXPECT_FALSE(fs::exists(file(stale))) << stale;
    EXPECT_TRUE(fs::exists(file("data/notes.tmp")));

    // The first save of a fresh install lands in the folder made for it.
    Board board;
    board.setPlayer(0, std::make_unique<HumanPlayer>(0));
    board.setPlayer(1, std::make_unique<HumanPlayer>(1));
    EXPECT_EQ(SavedGame::save(std::string(SavedGame::kFolder) + "partie.tnv", board), 0u);
    EXPECT_TRUE(fs::is_regular_file(file("data/saves/partie.tnv")));
}

TEST_F(GameStartupTest, ADamagedArchiveIsNamedInTheGamesOwnWords)
{
    fs::remove(file("data/Ressources.dat"));
    {
        std::ofstream(file("data/Ressources.dat"), std::ios::binary) << "\x05";
    }
    Platform::ScopedMessageCapture messages;
    GameApplication& game = make();
    const ErrorCode code = game.run();
    EXPECT_EQ(code, uint32_t{ERROR_FILEIO_READERROR});
    showRunError(code);
    ASSERT_FALSE(messages.messages().empty());
    EXPECT_EQ(messages.messages().back().text,
              "Erreur I/O : Erreur de lecture\nFichier : data\\Ressources.dat\n(ERROR_FILEIO_READERROR)");
}

TEST_F(GameStartupTest, ErrorTextOfCode34IsTheGameTextOnceTheTableIsLoaded)
{
    EXPECT_EQ(GameApplication::getErrorText(34), "ERROR_NO_ERROR");
    GameApplication& game = make();
    EXPECT_EQ(GameApplication::getErrorText(34), "ERROR_NO_ERROR");
    ASSERT_EQ(game.run(), 0u);
    EXPECT_EQ(GameApplication::getErrorText(34), "");
    EXPECT_EQ(GameApplication::getErrorText(ERROR_FILEIO_INVALIDFILE), getLangText(46));
}

TEST_F(GameStartupTest, MenuVideoOpensOnceAndNothingHappensOnDeactivationOutsideAGame)
{
    int opened = 0;
    int closed = 0;
    int paused = 0;
    replaced.openMenuVideo = [&](GameApplication&) { ++opened; };
    replaced.closeMenuVideo = [&](GameApplication&) { ++closed; };
    replaced.pauseGame = [&](GameApplication&) { ++paused; };
    GameApplication& game = make();
    game.openMenuVideoWindow();
    game.openMenuVideoWindow();
    EXPECT_EQ(opened, 1);
    game.closeMenuVideoWindow();
    game.closeMenuVideoWindow();
    EXPECT_EQ(closed, 1);
    game.onDeactivate();
    EXPECT_EQ(paused, 0);
    game.setGameScreenShown(true);
    game.onDeactivate();
    EXPECT_EQ(paused, 1);
}

TEST_F(GameStartupTest, QuitWithoutTheClosingScreenPostsAPlainQuit)
{
    int closingScreens = 0;
    replaced.openMainMenu = [&](GameApplication& game)
    {
        ++mainMenus;
        game.quit();
    };
    replaced.openClosingScreen = [&](GameApplication& game)
    {
        ++closingScreens;
        game.quitApplication(false);
    };
    GameApplication& game = make();
    ASSERT_EQ(game.run(), 0u);
    // The generated data hold the closing image.
    EXPECT_EQ(closingScreens, 1);

    application.reset();
    replaced.openClosingScreen = nullptr;
    GameApplication& second = make();
    ASSERT_EQ(second.run(), 0u);
    EXPECT_EQ(mainMenus, 2);
}

TEST_F(GameStartupTest, MenuMusicPlaysOnChannelZeroAtTheMusicLevelUnlessTheMusicIsOff)
{
    setServiceCreator(SERVICE_SOUND_MANAGER,
                      [](const ApplicationSettings&) { return std::make_unique<RecordingSoundManager>(); });
    GameApplication& game = make();
    ASSERT_EQ(game.run(), 0u);
    auto& sound = static_cast<RecordingSoundManager&>(*game.getSoundManager());
    GameSettings& settings = *game.getGameSettings();
    settings.setSoundEnabled(false);
    sound.log.clear();

    game.setMusicMode(MusicMode::Menu);
    // Streamed, not held whole in memory.
    EXPECT_EQ(sound.log,
              (std::vector<std::string>{"stop 0", "channel 0 play data\\sons\\intro.wav 178 stream"}));
    // The effects stay off.
    EXPECT_FALSE(settings.isSoundEnabled());
    sound.log.clear();
    game.setMusicMode(MusicMode::Menu);
    EXPECT_TRUE(sound.log.empty());
    game.setMusicMode(MusicMode::Stopped);
    EXPECT_EQ(sound.log, (std::vector<std::string>{"stop 0"}));

    sound.log.clear();
    settings.setMusicEnabled(false);
    sound.log.clear();
    game.setMusicMode(MusicMode::Menu);
    EXPECT_EQ(sound.log, (std::vector<std::string>{"stop 0"}));
}

TEST_F(GameStartupTest, OnADisplayTheEnginesLoadEveryImageOfTheTable)
{
    if (gDisplay == nullptr)
        GTEST_SKIP() << "no display";
#if VELMORIQUE_TEST_ASAN
    // The window system's libraries that SDL unloads at its end keep an
    // allocation that the leak checker can no longer name, nor be told to
    // ignore.
    GTEST_SKIP() << "window system libraries under the leak checker";
#endif
    setenv("DISPLAY", gDisplay, 1);
    unsetenv("SDL_VIDEODRIVER");
    Engine2DD3D::registerKind();
    Engine3DD3D::registerKind();
    SkinManager::registerService();
    InputManager::registerService();
    setServiceCreator(SERVICE_SOUND_MANAGER,
                      [](const ApplicationSettings&) { return std::make_unique<RecordingSoundManager>(); });
    replaced.loadGameDescription = nullptr;
    replaced.createFont = nullptr;
    replaced.registerSkins = nullptr;
    {
        std::ofstream(file("data/setup.ini"), std::ios::binary) << "PionSet = 99\r\n";
    }
    GameApplication& game = make();
    ASSERT_EQ(game.run(), 0u);
    // A piece set the description lacks would show a board without pieces.
    EXPECT_EQ(game.getSetup().mPionSet, 0);
    for (uint32_t id = 0; id < kImageCount; ++id)
        EXPECT_NE(game.getImage(id), nullptr) << imageFiles()[id];
    EXPECT_EQ(game.getIntroScreens()[0]->mImage, game.getImage(IMAGE_INTRO_LOGO));
    // game.xml and the board models.
    EXPECT_GT(game.getGameDescription()->getPionSetCount(), 0u);
    EXPECT_NE(game.getGameDescription()->getBoardModel(), nullptr);
    // The four fonts, loaded, and the skin of the set-up.
    for (uint32_t index = 0; index < kFontCount; ++index)
    {
        ASSERT_NE(game.getFont(index), nullptr) << index;
        EXPECT_TRUE(game.getFont(index)->isLoaded()) << index;
    }
    auto* skins = dynamic_cast<SkinManager*>(game.getService(SERVICE_SKIN_MANAGER));
    ASSERT_NE(skins, nullptr);
    ASSERT_NE(skins->getCurrentSkin(), nullptr);
    EXPECT_EQ(skins->getCurrentSkin()->getName(), "Default");
    EXPECT_TRUE(skins->getCurrentSkin()->isComplete());
    EXPECT_EQ(skins->getTextureCount(), kSkinTextureCount);
    EXPECT_EQ(skins->getColorCount(), kSkinColorCount);
    EXPECT_EQ(mainMenus, 1);
}

TEST_F(GameStartupTest, InitialisationRunsItsStepsInOrder)
{
    std::vector<std::string> steps;
    replaced.registerSkins = [&](GameApplication& game, const SkinRegistration&)
    {
        steps.push_back("skins");
        // The texts and the language file come first.
        EXPECT_TRUE(game.getLangTable()->isLoaded());
        EXPECT_EQ(game.getLangTable()->size(), kGameLangTableSize);
    };
    replaced.createFont = [&](const std::string& path, Texture*) -> std::unique_ptr<BitmapFontBase>
    {
        steps.push_back("font " + path);
        return nullptr;
    };
    replaced.createLook = [&](const LookEntry& entry) -> std::unique_ptr<Look>
    {
        if (steps.back() != "looks")
            steps.push_back("looks");
        EXPECT_EQ(GameApplication::current()->getSoundManager()->getSoundCount(), kSoundNameCount)
            << entry.id;
        return nullptr;
    };
    replaced.selectSkin = [&](GameApplication&, const std::string& name)
    { steps.push_back("select " + name); };
    replaced.setInfotipFont = [&](GameApplication&, uint32_t font)
    { steps.push_back("infotip font " + std::to_string(font)); };
    replaced.loadGameDescription = [&](GameApplication& game)
    {
        steps.push_back("description");
        EXPECT_NE(game.getScoreTable(), nullptr);
        EXPECT_EQ(game.getGameSettings(), nullptr);
        return ErrorCode{0};
    };
    replaced.openMainMenu = [&](GameApplication& game)
    {
        steps.push_back("main menu");
        EXPECT_NE(game.getGameSettings(), nullptr);
        game.quitApplication(false);
    };
    GameApplication& game = make();
    ASSERT_EQ(game.run(), 0u);
    EXPECT_EQ(steps, (std::vector<std::string>{"skins", "font data\\Ressources\\images\\Arial Narrow 20.fnt",
                                               "looks", "select Default", "infotip font 2", "description",
                                               "main menu"}));
    // A font that could not be made leaves the font table empty rather than
    // holding a hole the base would load.
    EXPECT_EQ(game.getFont(0), nullptr);
}

TEST_F(GameStartupTest, AFailingGameDescriptionEndsTheStartWithItsCode)
{
    replaced.loadGameDescription = [](GameApplication&) { return ErrorCode{ERROR_DOM_INTERPRETING}; };
    GameApplication& game = make();
    EXPECT_EQ(game.run(), uint32_t{ERROR_DOM_INTERPRETING});
    EXPECT_EQ(mainMenus, 0);
}

TEST_F(GameStartupTest, AStartThatFailsBeforeReadingTheFilesLeavesThemAlone)
{
    {
        std::ofstream(file("data/setup.ini"), std::ios::binary) << "PionSet = 5\r\n";
    }
    fs::remove(file("data/Ressources.dat"));
    {
        std::ofstream(file("data/Ressources.dat"), std::ios::binary) << "not an archive";
    }
    Platform::ScopedMessageCapture messages;
    GameApplication& game = make();
    EXPECT_NE(game.run(), 0u);
    application.reset();
    std::vector<uint8_t> setup = readBytes("data/setup.ini");
    EXPECT_EQ(std::string(setup.begin(), setup.end()), "PionSet = 5\r\n");
    EXPECT_FALSE(fs::exists(file("data/settings.dat")));
}

TEST_F(GameStartupTest, NetworkMenuMakesTheNetworkObjectOnceAndOpensTheWindowEachTime)
{
    int windows = 0;
    replaced.openNetworkGameWindow = [&](GameApplication&) { ++windows; };
    replaced.openMainMenu = [&](GameApplication& game)
    {
        game.openNetworkMenu();
        NetworkPeer* first = game.getNetwork();
        EXPECT_NE(first, nullptr);
        game.openNetworkMenu();
        EXPECT_EQ(game.getNetwork(), first);
        game.quitApplication(false);
    };
    GameApplication& game = make();
    ASSERT_EQ(game.run(), 0u);
    EXPECT_EQ(windows, 2);
}

TEST_F(GameStartupTest, TheNetworkWindowsOpenNothingBeforeTheNetworkObjectExists)
{
    size_t before = 0;
    size_t after = 0;
    replaced.openMainMenu = [&](GameApplication& game)
    {
        GuiManager* gui = GuiManager::current();
        ASSERT_NE(gui, nullptr);
        ASSERT_EQ(game.getNetwork(), nullptr);
        before = gui->getRoot()->getChildren().size();
        game.openJoinWindow();
        game.openWaitingWindow();
        gui->processDeferred();
        after = gui->getRoot()->getChildren().size();
        game.quitApplication(false);
    };
    GameApplication& game = make();
    ASSERT_EQ(game.run(), 0u);
    EXPECT_EQ(after, before);
}
