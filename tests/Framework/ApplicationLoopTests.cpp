#include "ApplicationTestSupport.h"
#include "Framework/Desktop.h"
#include "Framework/Keys.h"
#include "Framework/ResourceArchive.h"
#include "Framework/WindowDesktop.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"

#include <SDL.h>

#include <filesystem>
#include <fstream>

using namespace Platform;

TEST(FramePacing, SleepsHalfOfWhatIsLeftAndNeverSpins)
{
    EXPECT_EQ(framePacingSleepMs(0), 10u);
    EXPECT_EQ(framePacingSleepMs(10), 5u);
    EXPECT_EQ(framePacingSleepMs(17), 1u);
    EXPECT_EQ(framePacingSleepMs(19), 1u);
    EXPECT_EQ(framePacingSleepMs(20), 0u);
    EXPECT_EQ(framePacingSleepMs(500), 0u);
}

TEST_F(ApplicationTest, ServicesAreMadeInitialisedAndDeletedInTheirOrders)
{
    recordAllServices();
    make();
    EXPECT_EQ(log.entries, (std::vector<std::string>{"create 6", "create 7", "create 4", "create 5",
                                                     "create 0", "create 2", "create 3", "create 8"}));
    log.entries.clear();
    ASSERT_EQ(application->init(), 0u);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"init 0", "init 2", "init 3", "init 4", "init 5",
                                                     "init 6", "init 7", "init 8"}));
    log.entries.clear();
    application.reset();
    EXPECT_EQ(log.entries, (std::vector<std::string>{"delete 6", "delete 8", "delete 7", "delete 5",
                                                     "delete 4", "delete 3", "delete 2", "delete 0"}));
    EXPECT_EQ(getApplication(), nullptr);
}

TEST_F(ApplicationTest, FontsLoadAfterTheServicesAndGoAfterTheWidgetTree)
{
    recordAllServices();
    make();
    application->addFont(std::make_unique<RecordingFont>(0, log));
    application->addFont(std::make_unique<RecordingFont>(1, log, ERROR_FILEIO_FILENOTFOUND));
    application->addFont(std::make_unique<RecordingFont>(2, log));
    log.entries.clear();
    EXPECT_EQ(application->init(), ERROR_FILEIO_FILENOTFOUND);
    // The window service keeps no log: eight services, then the fonts up to
    // the failing one.
    ASSERT_EQ(log.entries.size(), 10u);
    EXPECT_EQ(log.entries[7], "init 8");
    EXPECT_EQ(log.entries[8], "load font 0");
    EXPECT_EQ(log.entries[9], "load font 1");
    log.entries.clear();
    application.reset();
    ASSERT_GE(log.entries.size(), 4u);
    EXPECT_EQ(log.entries[0], "delete 6");
    EXPECT_EQ(log.entries[1], "delete font 0");
    EXPECT_EQ(log.entries[3], "delete font 2");
}

TEST_F(ApplicationTest, StartStopsAtTheFirstFailingService)
{
    recordAllServices(SERVICE_ENGINE_3D, ERROR_D3D);
    make();
    log.entries.clear();
    EXPECT_EQ(application->run(), ERROR_D3D);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"init 0", "init 2", "init 3"}));
    EXPECT_EQ(application->firstWindows, 0);
    EXPECT_TRUE(application->isNotYetRunning());
}

TEST_F(ApplicationTest, StopRenderingFromInitEndsSilently)
{
    recordAllServices(SERVICE_SOUND_MANAGER, ERROR_STOP_RENDERING);
    make();
    ScopedMessageCapture capture;
    EXPECT_EQ(application->run(), 0u);
    EXPECT_TRUE(capture.messages().empty());
    EXPECT_EQ(application->firstWindows, 0);
}

TEST_F(ApplicationTest, MissingArchiveGives17AndSaysSo)
{
    settings.mArchivePath = "data\\Ressources.dat";
    make();
    ScopedMessageCapture capture;
    EXPECT_EQ(application->run(), ERROR_FILEIO_FILENOTFOUND);
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_NE(capture.messages()[0].text.find("introuvable"), std::string::npos);
    EXPECT_NE(capture.messages()[0].text.find("Ressources.dat"), std::string::npos);
}

TEST_F(ApplicationTest, FramesComeEvery20MsWithTheirDelta)
{
    make();
    std::vector<uint32_t> deltas;
    application->gui().onAnimate = [&](int frame)
    {
        deltas.push_back(application->getFrameDelta());
        if (frame == 5)
            application->quitApplication(false);
    };
    int64_t start = clock.nowNs() / 1000000;
    ASSERT_EQ(application->run(), 0u);
    EXPECT_EQ(application->firstWindows, 1);
    EXPECT_EQ(application->gui().frames, 5);
    // The frame that asked to quit is still drawn.
    EXPECT_EQ(application->gui().renders, 5);
    EXPECT_EQ(deltas, (std::vector<uint32_t>{20, 20, 20, 20, 20}));
    const auto& times = application->gui().animateTimes;
    for (size_t i = 0; i < times.size(); ++i)
        EXPECT_EQ(times[i] - start, int64_t(20 * (i + 1)));
    EXPECT_FALSE(application->isNotYetRunning());
}

TEST_F(ApplicationTest, SwitchedOffStepsAreSkipped)
{
    make();
    application->setRenderEnabled(false);
    application->gui().onAnimate = [&](int frame)
    {
        if (frame == 3)
            application->quitApplication(false);
    };
    ASSERT_EQ(application->run(), 0u);
    EXPECT_EQ(application->gui().frames, 3);
    EXPECT_EQ(application->gui().renders, 0);
}

TEST_F(ApplicationTest, RenderGoesOnWithoutUpdates)
{
    make();
    application->setAnimateEnabled(false);
    application->gui().onRender = [&](int render)
    {
        if (render == 3)
            application->quitApplication(false);
    };
    ASSERT_EQ(application->run(), 0u);
    EXPECT_EQ(application->gui().frames, 0);
    EXPECT_EQ(application->gui().renders, 3);
}

TEST_F(ApplicationTest, GuiRenderFailureIsShownAndEndsTheProgram)
{
    make();
    application->gui().renderCode = ERROR_D3D;
    ScopedMessageCapture capture;
    ASSERT_EQ(application->run(), 0u);
    EXPECT_EQ(application->gui().frames, 1);
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_EQ(capture.messages()[0].text, "Erreur de rendu. L'application va maintenant se terminer.");
}

TEST_F(ApplicationTest, GuiRenderStopIsNotAFailure)
{
    make();
    application->gui().renderCode = ERROR_STOP_RENDERING;
    application->gui().onAnimate = [&](int frame)
    {
        if (frame == 3)
            application->quitApplication(false);
    };
    ScopedMessageCapture capture;
    ASSERT_EQ(application->run(), 0u);
    EXPECT_EQ(application->gui().renders, 3);
    EXPECT_TRUE(capture.messages().empty());
}

TEST_F(ApplicationTest, IntroScreensChainToTheFirstWindow)
{
    make();
    for (uint32_t ms : {1500u, 1200u})
    {
        auto screen = std::make_unique<IntroScreen>();
        screen->mDisplayMs = ms;
        application->getIntroScreens().push_back(std::move(screen));
    }
    application->setIntroEnabled(true);
    FakeGuiManager& gui = application->gui();
    gui.onAnimate = [&](int)
    {
        // Each intro window ends on the frame after it opened.
        if (gui.pendingIntroEnd)
        {
            auto end = std::move(gui.pendingIntroEnd);
            gui.pendingIntroEnd = nullptr;
            end();
        }
        else if (application->firstWindows == 1)
            application->quitApplication(false);
    };
    ASSERT_EQ(application->run(), 0u);
    EXPECT_EQ(gui.introsOpened, (std::vector<uint32_t>{1500, 1200}));
    EXPECT_EQ(application->firstWindows, 1);
}

TEST_F(ApplicationTest, EmptyIntroListOpensTheFirstWindowAtOnce)
{
    make();
    application->setIntroEnabled(true);
    application->gui().onAnimate = [&](int) { application->quitApplication(false); };
    ASSERT_EQ(application->run(), 0u);
    EXPECT_EQ(application->firstWindows, 1);
    EXPECT_TRUE(application->gui().introsOpened.empty());
}

TEST_F(ApplicationTest, ClosingTheWindowEndsRunAndLeavesTheApplicationToItsOwner)
{
    make();
    application->gui().onAnimate = [&](int frame)
    {
        if (frame == 2)
        {
            SDL_Event event{};
            event.type = SDL_WINDOWEVENT;
            event.window.event = SDL_WINDOWEVENT_CLOSE;
            SDL_PushEvent(&event);
        }
    };
    ASSERT_EQ(application->run(), 0u);
    EXPECT_EQ(application->gui().frames, 2);
    EXPECT_EQ(getApplication(), application.get());
    Platform::Window* window = application->getAppWindow()->getWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isAlive());
    application.reset();
    EXPECT_EQ(getApplication(), nullptr);
}

TEST_F(ApplicationTest, TheWindowCoversTheDesktopUnlessWindowed)
{
    for (bool windowed : {false, true})
    {
        make();
        application->getAppWindow()->setWindowedMode(windowed);
        ASSERT_EQ(application->init(), 0u);
        Platform::Window* window = application->getAppWindow()->getWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->isFullScreen(), !windowed);
        // Either way the game's frame keeps its own size.
        EXPECT_EQ(window->logicalWidth(), 1024);
        EXPECT_EQ(window->logicalHeight(), 768);
        application.reset();
    }
}

TEST_F(ApplicationTest, SecondStartOnALiveWindowOnlyRaisesIt)
{
    void* existing = nullptr;
    settings.mExistingWindow = &existing;
    make();
    ASSERT_EQ(application->init(), 0u);
    EXPECT_NE(existing, nullptr);
    EXPECT_EQ(application->run(), 0u);
    EXPECT_EQ(application->firstWindows, 0);
    EXPECT_TRUE(application->isNotYetRunning());
}

TEST_F(ApplicationTest, ArchiveOfTheSettingsIsMountedBeforeInit)
{
    std::filesystem::create_directories(folder.path() + "tree/images");
    std::ofstream(folder.path() + "tree/images/a.png") << "png";
    std::filesystem::create_directories(folder.path() + "data");
    ASSERT_EQ(buildResourceArchive(folder.path() + "data/Ressources.dat", folder.path() + "tree",
                                   "data\\Ressources"),
              0u);
    settings.mArchivePath = "data\\Ressources.dat";
    make();
    application->gui().onAnimate = [&](int) { application->quitApplication(false); };
    ASSERT_EQ(application->run(), 0u);
    EXPECT_TRUE(application->fileExists("data\\Ressources\\images\\a.png"));
    EXPECT_FALSE(application->fileExists("data\\Ressources\\images\\b.png"));
    EXPECT_EQ(application->getApplicationFolder(), folder.path());
}

TEST_F(ApplicationTest, DamagedArchiveEndsTheStartAndMountsNothing)
{
    std::filesystem::create_directories(folder.path() + "data");
    std::ofstream(folder.path() + "data/Ressources.dat") << "\x05";
    settings.mArchivePath = "data\\Ressources.dat";
    make();
    EXPECT_EQ(application->run(), ERROR_FILEIO_READERROR);
    EXPECT_TRUE(application->getFileLookup().archives().empty());
}

TEST_F(ApplicationTest, ClipboardAndKeysAreTheWindowsWhileItLives)
{
    make();
    ASSERT_EQ(application->init(), 0u);
    ASSERT_EQ(::setClipboardText("\xE9t\xE9"), 0);
    std::string text;
    ASSERT_EQ(::getClipboardText(text), 0);
    EXPECT_EQ(text, "\xE9t\xE9");

    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.scancode = SDL_SCANCODE_LSHIFT;
    event.key.keysym.sym = SDLK_LSHIFT;
    SDL_PushEvent(&event);
    application->getAppWindow()->getWindow()->pumpEvents();
    EXPECT_TRUE(isKeyDown(KEY_LSHIFT));
    EXPECT_TRUE(isKeyDown(KEY_RSHIFT)); // both shifts are one virtual key
    EXPECT_FALSE(isKeyDown(KEY_A));

    application.reset();
    EXPECT_EQ(dynamic_cast<WindowDesktop*>(&desktop()), nullptr);
}

TEST_F(ApplicationTest, TimingOverlayShowsThePreviousFramesTimes)
{
    settings.mTimingOverlay = true;
    make();
    application->gui().onAnimate = [&](int frame)
    {
        if (frame == 2)
            application->quitApplication(false);
    };
    ASSERT_EQ(application->run(), 0u);
    RecordingOverlay* overlay = application->gui().overlay;
    ASSERT_NE(overlay, nullptr);
    ASSERT_EQ(overlay->texts.size(), 2u);
    EXPECT_EQ(overlay->renders, 2);
    // The manual clock stands still while a frame is drawn.
    EXPECT_EQ(overlay->texts[1],
              "Temps render 0ms\nTemps render2D 0ms\nTemps render3D 0ms\nTemps animate 0ms\n"
              "Texture Memory used = 0 Ko\nTexture Memory available = 0 Ko\n");
}

TEST_F(ApplicationTest, QuitAndWaitEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            make();
            application->getAppWindow()->getQueue().post(Platform::WM_SIZE);
            application->quitApplication(true);
        },
        testing::ExitedWithCode(255), "");
}

TEST_F(ApplicationTest, SoundManagerGetsEightChannelsInTwoGroups)
{
    make();
    SoundManager* sound = application->getSoundManager();
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->getChannelCount(), 8u);
    ASSERT_EQ(sound->getGroupCount(), 2u);
    EXPECT_EQ(sound->getGroup(SoundManager::MUSIC_GROUP).first, 0u);
    EXPECT_EQ(sound->getGroup(SoundManager::MUSIC_GROUP).count, 1u);
    EXPECT_EQ(sound->getGroup(SoundManager::EFFECTS_GROUP).first, 1u);
    EXPECT_EQ(sound->getGroup(SoundManager::EFFECTS_GROUP).count, 7u);
    EXPECT_EQ(sound->getGroup(SoundManager::EFFECTS_GROUP).level, 255u);
    EXPECT_EQ(sound->getGroup(SoundManager::MUSIC_GROUP).level, 255u);
}

TEST_F(ApplicationTest, StartErrorBeforeTheTableIsReadUsesTheBuiltInText)
{
    settings.mArchivePath = "data\\Ressources.dat";
    {
        // Missing, the archive is named by the start-up itself: the error
        // box says nothing more.
        make();
        ScopedMessageCapture capture;
        showRunError(application->run());
        ASSERT_EQ(capture.messages().size(), 1u);
        EXPECT_NE(capture.messages()[0].text.find("introuvable"), std::string::npos);
        application.reset();
    }
    std::filesystem::create_directories(folder.path() + "data");
    std::ofstream(folder.path() + "data/Ressources.dat") << "\x05";
    make();
    ScopedMessageCapture capture;
    ErrorCode code = application->run();
    capture.clear();
    showRunError(code);
    ASSERT_EQ(capture.messages().size(), 1u);
    // The game's own words, the file concerned, then the developer's detail.
    EXPECT_EQ(capture.messages()[0].text,
              "Erreur I/O : Erreur de lecture\nFichier : data\\Ressources.dat\n(ERROR_FILEIO_READERROR)");
    application.reset();
    // Without any table the identifier is all there is, once.
    showRunError(ERROR_D3D);
    EXPECT_EQ(capture.messages().back().text, "Erreur ERROR_D3D");
}

TEST_F(ApplicationTest, StartErrorAfterTheTableIsReadUsesItsTexts)
{
    recordAllServices(SERVICE_ENGINE_2D, ERROR_D3D);
    setServiceCreator(SERVICE_LANG_TABLE, nullptr);
    make();
    ScopedMessageCapture capture;
    ErrorCode code = application->run();
    EXPECT_EQ(code, ERROR_D3D);
    showRunError(code);
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_EQ(capture.messages()[0].text.rfind("Erreur ", 0), 0u);
    EXPECT_NE(capture.messages()[0].text, "Erreur ERROR_D3D");
}

TEST_F(ApplicationTest, NoWindowEndsTheStartAndSaysWhy)
{
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    make();
    ScopedMessageCapture capture;
    EXPECT_EQ(application->run(), ERROR_FAILED);
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_FALSE(capture.messages()[0].text.empty());
    EXPECT_EQ(application->firstWindows, 0);
}

TEST_F(ApplicationTest, KeyNamesComeFromTheLoadedTable)
{
    // The input service builds the names once the table is read.
    setServiceCreator(SERVICE_INPUT_MANAGER, nullptr);
    make();
    ASSERT_EQ(application->init(), 0u);
    std::string name;
    getKeyName(KEY_SPACE, name);
    EXPECT_EQ(name, "Espace");
    EXPECT_EQ(getKeyChar(KEY_A), 'A');
}

namespace
{
class NamingEngine2D final : public NullEngine2D
{
public:
    Texture* findOrLoadTexture(const std::string& fileName) override
    {
        names.push_back(fileName);
        return reinterpret_cast<Texture*>(static_cast<uintptr_t>(0x1000 + names.size()));
    }
    std::vector<std::string> names;
};
} // namespace

TEST_F(ApplicationTest, ImagesAreLoadedByNameAndImageZeroIsTheCursor)
{
    setServiceCreator(SERVICE_ENGINE_2D,
                      [](const ApplicationSettings&) { return std::make_unique<NamingEngine2D>(); });
    settings.mImagesFolder = "data\\Ressources\\images\\";
    make();
    auto& engine = *static_cast<NamingEngine2D*>(application->getEngine2D());
    application->loadImage(0, "curseur.png", true);
    application->loadImage(3, "data\\x.png", false);
    application->loadImage(4, std::string(300, 'n'), true);
    ASSERT_EQ(engine.names.size(), 3u);
    EXPECT_EQ(engine.names[0], "data\\Ressources\\images\\curseur.png");
    EXPECT_EQ(engine.names[1], "data\\x.png");
    EXPECT_EQ(engine.names[2].size(), 255u);
    EXPECT_EQ(application->getImage(2), nullptr);
    EXPECT_NE(application->getImage(3), nullptr);
    EXPECT_EQ(application->getImage(99), nullptr);

    application->gui().onAnimate = [&](int) { application->quitApplication(false); };
    ASSERT_EQ(application->run(), 0u);
    EXPECT_EQ(application->input().cursor.image, application->getImage(0));
    EXPECT_NE(application->input().cursor.image, nullptr);
}
