#include "Tarnaveli/GameApplication.h"

#include "Engine/Engine2D.h"
#include "Framework/ErrorText.h"
#include "Framework/FileUtilities.h"
#include "Framework/LangTable.h"
#include "Framework/Messages.h"
#include "Gui/Dialog.h"
#include "Gui/Font.h"
#include "Gui/GuiManager.h"
#include "Gui/Infotip.h"
#include "Gui/Look.h"
#include "Gui/Skin.h"
#include "Network/GameMessages.h"
#include "Network/NetworkPeer.h"
#include "NetworkDirectPlay/NetworkPeerDirectPlay.h"
#include "Platform/System/Memory.h"
#include "Platform/System/Paths.h"
#include "Sound/SoundManager.h"
#include "Tarnaveli/Board/PlayerKinds.h"
#include "Tarnaveli/GameDescription/GameDescription.h"
#include "Tarnaveli/GameIcon.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/GameLooks.h"
#include "Tarnaveli/SavedGame.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace
{
GameApplication* gGame = nullptr;

constexpr uint32_t kNetworkPort = 2301;

// The game's port, which VELMORIQUE_GAME_PORT replaces so that games run by
// tests on one machine keep to a port of their own.
uint32_t networkPort()
{
    const char* value = std::getenv("VELMORIQUE_GAME_PORT");
    if (value == nullptr || *value == '\0')
        return kNetworkPort;
    char* end = nullptr;
    const unsigned long port = std::strtoul(value, &end, 10);
    return *end == '\0' && port > 0 && port <= 0xFFFF ? static_cast<uint32_t>(port) : kNetworkPort;
}
// {20668E3E-DBDC-4206-98C6-4950DDCBE257} in its in-memory byte order.
constexpr uint8_t kApplicationGuid[16] = {0x3E, 0x8E, 0x66, 0x20, 0xDC, 0xDB, 0x06, 0x42,
                                          0x98, 0xC6, 0x49, 0x50, 0xDD, 0xCB, 0xE2, 0x57};
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kMusicChannel = 0;

// The message that follows failed writes at exit: a line for each file, that
// names it where the program writes it (the player's folder) and says why it
// was not written. The paths share the room the message has left, so that
// every file's name shows.
std::string unsavedFilesMessage(const std::vector<std::pair<const char*, ErrorCode>>& files)
{
    std::string message = getLangText(LANG_WINDOW_SAVE_GAME_ERROR);
    std::vector<std::string> reasons;
    size_t room = kMessageLimit - std::min(message.size(), kMessageLimit);
    for (const auto& [fileName, code] : files)
    {
        reasons.push_back(" : " + errorCodeToText(code));
        room -= std::min(room, 1 + reasons.back().size());
    }
    for (size_t i = 0; i < files.size(); ++i)
        message += "\n" + shownPath(Platform::writtenPath(files[i].first), room / files.size()) + reasons[i];
    return limitMessage(message);
}
} // namespace

ApplicationSettings GameApplication::makeSettings(bool archivePresent)
{
    ApplicationSettings settings;
    settings.mTitle = "Velmorique";
    settings.mClientWidth = 1024;
    settings.mClientHeight = 768;
    settings.mSystemCursor = false;
    settings.mIconResourceId = GAME_ICON_ID;
    settings.mLanguageFile = "data\\Ressources\\lang.ini";
    settings.mImagesFolder = "data\\Ressources\\images\\";
    // A tree without the packed archive still starts, reading from the disk.
    if (archivePresent)
        settings.mArchivePath = "data\\Ressources.dat";
    settings.mPass3DEnabled = true;
    return settings;
}

GameApplication* GameApplication::current()
{
    return gGame;
}

GameApplication::GameApplication(const ApplicationSettings& settings) : ApplicationGeneric(settings)
{
    gGame = this;
    registerGameMessages();
    // Among the program's resources before the window is made.
    registerGameIcon();
}

GameApplication::~GameApplication()
{
    // A start that failed before reading them must not replace the player's
    // files with the defaults.
    // What could not be written is said once, before the program ends: the
    // player would otherwise find the old options at the next start.
    std::vector<std::pair<const char*, ErrorCode>> unsaved;
    if (mSetupRead)
    {
        const ErrorCode code = mSetup.save();
        // A file that is not a set-up file is left alone on purpose.
        if (code != ERROR_OK && !mSetup.keepsForeignFile())
            unsaved.emplace_back(SetupConfig::FILE_NAME, code);
    }
    if (mGameSettings != nullptr)
    {
        if (const ErrorCode code = mGameSettings->save())
            unsaved.emplace_back(GameSettings::FILE_NAME, code);
    }
    if (!unsaved.empty())
        showMessageOverFrame(getLangText(LANG_ERROR), unsavedFilesMessage(unsaved),
                             Platform::MessageKind::Error);
    // Windows hold images of the table, the board view holds instances of the
    // game description's models, the chat panel the network object: the
    // widget tree goes before all of them.
    releaseWidgetTree();
    if (mServicesReady)
        connectVideoSound(nullptr);
    mGameSettings.reset();
    mScoreTable.reset();
    mNetwork.reset();
    // Its board models hold device data: they go before the engines do.
    mGameDescription.reset();
    releaseImages();
    if (gGame == this)
        gGame = nullptr;
}

ErrorCode GameApplication::init()
{
    // What an interrupted save left behind goes; the saves folder is made
    // for a fresh install, where the player's first save would fail.
    for (const char* folder : {"data\\", "data\\saves\\", "data\\Ressources\\"})
        removeStaleTemporaryFiles(folder);
    createDataFolder(SavedGame::kFolder);

    // 1. The set-up; defaults written when missing. A file that cannot be
    // read or written leaves the defaults, and the game runs on them: the
    // set-up is written again at exit, unless the file there is not one.
    mSetup.load();
    mSetupRead = true;

    // 2-3. The game's texts, then the language file.
    LangTable* lang = getLangTable();
    if (lang == nullptr)
        return ERROR_INVALID;
    registerGameTexts(*lang);
    if (ErrorCode code = lang->init())
        return code;

    // 4-6. Skins.
    if (!mSetup.mSkinsDir.empty() && mSetup.mSkinsDir.back() != '\\')
        mSetup.mSkinsDir += '\\';
    registerSkinTables();

    // 7-10.
    loadImages();
    createFonts();
    registerSounds();
    fillLookTable();

    // 11. Every service, then the fonts.
    if (ErrorCode code = ApplicationGeneric::init())
        return code;
    mServicesReady = true;
    connectVideoSound(getSoundManager());

    selectSkin(mSetup.mSkinName);

    // 12.
    if (GuiManager* gui = GuiManager::current())
        gui->setInfotipEnabled(mSetup.mInfotip);
    setInfotipFont(FONT_INFOTIP);

    // 13. The records table starts empty when its file is missing or damaged.
    mGameDescription = std::make_unique<GameDescription>();
    mScoreTable = std::make_unique<ScoreTable>();
    mScoreTable->init();

    // 14. The game description.
    if (ErrorCode described = loadGameDescription(); described != ERROR_OK)
        return described;
    // A piece set the description lacks would leave the board empty.
    mSetup.clampPieceSet(mGameDescription->getPionSetCount());

    // 15.
    registerPlayerKinds();

    // 16. Both default text styles the game's windows read.
    for (uint32_t style = 0; style < 2; ++style)
    {
        mTextStyles[style].mFont = FONT_TEXT;
        mTextStyles[style].mColor = kBlack;
    }
    mTextStyleExtra = 0;

    // 17. Settings: a missing or damaged file gives the defaults, written
    // back at exit.
    mGameSettings = std::make_unique<GameSettings>();
    if (mGameSettings->load() != ERROR_OK)
        mGameSettings = std::make_unique<GameSettings>();

    // 18. No cursor during the intro.
    if (auto* engine = dynamic_cast<Engine2D*>(getEngine2D()))
        engine->setClearColor(kBlack);
    if (CursorManagerBase* cursor = getCursorManager())
        cursor->setImage(nullptr);

    // 19-20.
    mIntroScreens.resize(2);
    setIntroScreen(0, getImage(IMAGE_INTRO_LOGO), kBlack, 0, 1500, 1000, 1);
    setIntroScreen(1, getImage(IMAGE_INTRO_PUBLISHER), kBlack, 0, 1200, 2500, 1);
    mIntroEnabled = true;
    // The decoded pictures and files read to load all this are gone.
    Platform::releaseFreeMemory();
    return ERROR_OK;
}

void GameApplication::registerSkinTables()
{
    SkinRegistration registration;
    registration.skinsIniPath = mSetup.mFileSkinsIni;
    registration.skinsFolder = mSetup.mSkinsDir;
    registration.skinIniName = "skin.ini";
    registration.textures = &skinTextureTable();
    registration.colors = skinColorTable();
    registerSkins(registration);
}

void GameApplication::registerSkins(const SkinRegistration& registration)
{
    auto* skins = dynamic_cast<SkinManager*>(getService(SERVICE_SKIN_MANAGER));
    if (skins == nullptr)
        return;
    skins->setSkinsIniPath(registration.skinsIniPath);
    skins->setSkinsFolder(registration.skinsFolder);
    skins->setSkinIniName(registration.skinIniName);
    // The manager numbers the textures in the order they come: the table's
    // ids follow its own two.
    for (const SkinTextureEntry& entry : *registration.textures)
    {
        [[maybe_unused]] uint32_t id = skins->addTexture(entry.key, entry.file);
        assert(id == entry.id);
    }
    for (const SkinColorEntry& entry : registration.colors)
        skins->addColor(entry.key, entry.argb);
}

void GameApplication::selectSkin(const std::string& skinName)
{
    auto* skins = dynamic_cast<SkinManager*>(getService(SERVICE_SKIN_MANAGER));
    if (skins == nullptr || skins->getSkinCount() == 0)
        return;
    int32_t index = skins->findSkinIndex(skinName);
    skins->setCurrentSkin(skins->getSkin(index >= 0 ? static_cast<uint32_t>(index) : 0));
}

void GameApplication::loadImages()
{
    if (mImages.size() < kImageCount)
        mImages.resize(kImageCount, nullptr);
    std::span<const char* const> files = imageFiles();
    for (uint32_t id = 0; id < files.size(); ++id)
        loadImage(id, files[id], true);
}

void GameApplication::releaseImages()
{
    // The image table holds one reference per image, given back while the
    // 2D engine still exists. The cursor shows one of them only once the
    // services run: before that, clearing it would make the engine build a
    // sprite without a device, a fatal error in the middle of reporting the
    // one that ended the start.
    CursorManagerBase* cursor = mServicesReady ? getCursorManager() : nullptr;
    if (cursor != nullptr)
        cursor->setImage(nullptr);
    Engine2DBase* engine = getEngine2D();
    for (uint32_t id = 0; id < mImages.size(); ++id)
    {
        if (mImages[id] != nullptr && engine != nullptr)
            engine->releaseTexture(mImages[id]);
        mImages[id] = nullptr;
    }
    for (auto& screen : mIntroScreens)
        if (screen != nullptr)
            screen->mImage = nullptr;
}

void GameApplication::createFonts()
{
    // The base loads every font of the table after the services: an entry
    // may not stay empty.
    std::vector<std::unique_ptr<BitmapFontBase>> fonts(kFontCount);
    for (const FontEntry& entry : fontTable())
    {
        std::string path = getSettings().mImagesFolder + entry.file;
        Texture* caret = getImage(IMAGE_CURSOR);
        fonts[entry.index] = createFont(path, caret);
        if (fonts[entry.index] == nullptr)
            return;
    }
    mFonts = std::move(fonts);
}

void GameApplication::registerSounds()
{
    SoundManager* sound = getSoundManager();
    if (sound == nullptr)
        return;
    sound->setSoundCount(kSoundNameCount);
    for (const SoundEntry& entry : soundTable())
    {
        sound->setSoundName(entry.id, entry.path);
        // The groups are set between the second and the third sound.
        if (entry.id == SOUND_SELECT_OPTION)
        {
            sound->setGroupChannels(SoundManager::MUSIC_GROUP, 0, 1);
            sound->setGroupChannels(SoundManager::EFFECTS_GROUP, 1, 7);
        }
    }
}

void GameApplication::fillLookTable()
{
    auto* table = dynamic_cast<LookTable*>(getService(SERVICE_LOOK_TABLE));
    if (table == nullptr)
        return;
    table->resize(kLookTableSize);
    for (const LookEntry& entry : lookTable())
    {
        std::unique_ptr<Look> look = createLook(entry);
        if (look != nullptr)
            table->setLook(entry.id, std::move(look));
    }
    finishGameLooks(*table);
}

std::unique_ptr<BitmapFontBase> GameApplication::createFont(const std::string& path, Texture* caret)
{
    return std::make_unique<BitmapFont>(path, caret);
}

std::unique_ptr<Look> GameApplication::createLook(const LookEntry& entry)
{
    return makeGameLook(entry);
}

void GameApplication::setInfotipFont(uint32_t fontIndex)
{
    GuiManager* gui = GuiManager::current();
    auto* infotip = gui != nullptr ? dynamic_cast<Infotip*>(gui->getInfotip()) : nullptr;
    Font* font = findFont(fontIndex);
    if (infotip != nullptr && font != nullptr)
        infotip->setFont(font);
}

ErrorCode GameApplication::loadGameDescription()
{
    return mGameDescription->load();
}

ErrorCode GameApplication::render3D()
{
    return mGameScreenShown ? renderGame3D() : ERROR_OK;
}

void GameApplication::createFirstWindow()
{
    if (CursorManagerBase* cursor = getCursorManager())
        cursor->setImage(getImage(IMAGE_MOUSE));
    openMainMenu();
}

void GameApplication::onDeactivate()
{
    if (mGameScreenShown)
        pauseGame();
}

void GameApplication::onActivate()
{
    if (mGameScreenShown)
        resumeGame();
}

std::string GameApplication::getErrorText(ErrorCode code)
{
    if (code == ERROR_COUNT)
    {
        ApplicationGeneric* application = getApplication();
        LangTable* lang = application != nullptr ? application->getLangTable() : nullptr;
        if (lang == nullptr || !lang->isLoaded() || lang->size() <= LANG_ERROR_NO_ERROR)
            return "ERROR_NO_ERROR";
        return lang->getText(LANG_ERROR_NO_ERROR);
    }
    return errorCodeToText(code);
}

void GameApplication::setMusicMode(MusicMode mode)
{
    if (mode == mMusicMode)
        return;
    mMusicMode = mode;
    SoundManager* sound = getSoundManager();
    if (sound == nullptr)
        return;
    if (mGameSettings != nullptr && !mGameSettings->isMusicEnabled())
    {
        sound->stopChannel(kMusicChannel);
        return;
    }
    if (mode == MusicMode::Menu)
    {
        // Channel 0 belongs to the music group alone, so the effects' switch
        // has no say here and is left as it is (turning it off again would
        // stop every effect channel).
        sound->stopChannel(kMusicChannel);
        int32_t level = mGameSettings != nullptr ? static_cast<int32_t>(mGameSettings->getMusicLevel()) : -1;
        // Streamed: the music is minutes long and plays once, so a static
        // buffer would hold the whole file (9 MB) in memory for nothing.
        sound->playSound(kMusicChannel, kMusicChannel, SOUND_MENU_MUSIC, level, false, true);
    }
    else if (mode == MusicMode::Stopped)
        sound->stopChannel(kMusicChannel);
}

void GameApplication::openMenuVideoWindow()
{
    if (mMenuVideoOpen)
        return;
    mMenuVideoOpen = true;
    showMenuVideo();
}

void GameApplication::closeMenuVideoWindow()
{
    if (!mMenuVideoOpen)
        return;
    mMenuVideoOpen = false;
    hideMenuVideo();
}

void GameApplication::quit()
{
    std::string closingImage = getSettings().mImagesFolder + imageFiles()[IMAGE_CLOSING];
    if (fileExists(closingImage))
    {
        openClosingScreen();
        return;
    }
    quitApplication(false);
}

void GameApplication::openNetworkMenu()
{
    if (mNetwork == nullptr)
    {
        std::unique_ptr<NetworkPeer> peer = createNetworkPeerDirectPlay(networkPort(), networkPort());
        ErrorCode code = peer != nullptr ? peer->setApplicationGuid(kApplicationGuid, sizeof kApplicationGuid)
                                         : ERROR_FAILED;
        if (code == ERROR_OK)
            code = peer->init();
        if (code != ERROR_OK)
        {
            auto* box = new MessageDialog(getLangText(LANG_ERROR), getErrorText(code), 1, nullptr, nullptr);
            box->open();
            return;
        }
        mNetwork = std::move(peer);
    }
    openNetworkGameWindow();
}

void GameApplication::setNetwork(std::unique_ptr<NetworkPeer> network)
{
    mNetwork = std::move(network);
}

void GameApplication::setIntroScreen(uint32_t index, Texture* image, uint32_t color, uint32_t soundId,
                                     uint32_t displayMs, uint32_t fadeMs, uint32_t fadeMode)
{
    if (index >= mIntroScreens.size())
        mIntroScreens.resize(index + 1);
    if (mIntroScreens[index] == nullptr)
        mIntroScreens[index] = std::make_unique<IntroScreen>();
    IntroScreen& screen = *mIntroScreens[index];
    screen.mImage = image;
    screen.mColor = color;
    screen.mSoundId = soundId;
    screen.mDisplayMs = displayMs;
    screen.mFadeMs = fadeMs;
    screen.mFadeMode = fadeMode;
}
