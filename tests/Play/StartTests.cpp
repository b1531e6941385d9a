// The first start of a fresh install, and starts on damaged files.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Framework/ErrorCodes.h"
#include "Gui/Dialog.h"
#include "Gui/FadePopup.h"
#include "Gui/FileDialog.h"
#include "Gui/Image.h"
#include "Platform/System/Text1252.h"
#include "Tarnaveli/MenuVideoWindow.h"
#include "Tarnaveli/WindowAskTutorial.h"
#include "Tarnaveli/WindowMenu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace Play;
namespace fs = std::filesystem;

namespace
{
// The two intro pictures run about ten seconds: a skip is seen well before.
constexpr int kSkipBudget = 30;

// A literal's bytes, NULs included.
template <size_t N> std::string bytesOf(const char (&literal)[N])
{
    return std::string(literal, N - 1);
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace

TEST(PlayStart, EachIntroPictureEndsOnAClickOrOnEscape)
{
    SKIP_WITHOUT_DISPLAY();
    for (bool byKey : {false, true})
    {
        SCOPED_TRACE(byKey ? "Escape" : "click");
        Driver driver;
        PngOnFailure png(driver);
        ASSERT_EQ(driver.start(), 0u);
        driver.run(5);
        for (int picture = 0; picture < 2; ++picture)
        {
            FadePopup* intro = driver.layer<FadePopup>();
            ASSERT_NE(intro, nullptr) << "intro picture " << picture;
            if (byKey)
                driver.pressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
            else
                driver.click(512, 384);
            EXPECT_TRUE(driver.waitFor([&] { return driver.layer<FadePopup>() != intro; }, kSkipBudget))
                << "intro picture " << picture << " still shown";
            driver.run(2);
        }
        EXPECT_TRUE(driver.waitFor([&] { return driver.layer<WindowMenu>() != nullptr; }, kSkipBudget));
    }
}

// The program opens full-screen by default, its frame scaled to fit.
TEST(PlayStart, TheProgramOpensFullScreen)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    ASSERT_EQ(driver.start(), 0u);
    driver.run(2);
    SDL_Window* window = SDL_GetWindowFromID(driver.windowId());
    ASSERT_NE(window, nullptr);
    EXPECT_NE(SDL_GetWindowFlags(window) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP), 0u);
}

TEST(PlayStart, TheFirstMainMenuShowsItsTitleBannerAndThePublisherLogo)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    WindowMenu* menu = reachMainMenu(driver);
    ASSERT_NE(menu, nullptr);
    auto* video = driver.layer<MenuVideoWindow>();
    ASSERT_NE(video, nullptr);
    const Frame frame = driver.readFrame();
    for (Image* image : {menu->getTitleImage(), video->getLogo()})
    {
        ASSERT_NE(image, nullptr);
        EXPECT_TRUE(Driver::shown(image));
        EXPECT_GT(image->getWidth(), 0) << describe(image);
        EXPECT_GT(image->getHeight(), 0) << describe(image);
    }
    Faults faults = checkImagesDrawn(driver, menu, frame);
    Faults logo = checkImagesDrawn(driver, video, frame);
    faults.insert(faults.end(), logo.begin(), logo.end());
    EXPECT_TRUE(faults.empty()) << faults.front();
}

// A damaged file of the player's own never takes the game down: it starts on
// the defaults and reaches the main menu, or says what is wrong and ends
// cleanly. Run in a child: a fatal error ends the process.
struct DamagedFile
{
    const char* name;
    const char* file;
    std::string bytes;
};

class PlayDamagedFile : public ::testing::TestWithParam<DamagedFile>
{
};

TEST_P(PlayDamagedFile, GivesTheDefaultsOrOneMessageAndNeverACrash)
{
    SKIP_WITHOUT_DISPLAY();
    const DamagedFile& damaged = GetParam();
    ChildRun run = runInChild(
        [&](Driver& driver)
        {
            writeBytes(driver.dataPath(damaged.file), damaged.bytes);
            return reachMainMenu(driver) != nullptr ? 0 : 3;
        });
    ASSERT_EQ(run.signal, 0) << "the program crashed";
    ASSERT_TRUE(run.exited);
    std::string shown;
    for (const std::string& message : run.messages)
        shown += message + "\n";
    // Bad lines of a text file are reported one by one, so a stop is judged
    // by whether it said why, not by how many lines it reported.
    EXPECT_TRUE(run.exitCode == 0 || !run.messages.empty()) << "a silent stop, exit " << run.exitCode;
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, PlayDamagedFile,
    ::testing::Values(DamagedFile{"Settings", "settings.dat", bytesOf("\xff\xff\xff\xff\x01")},
                      DamagedFile{"Scores", "score.dat", bytesOf("\x07\x00\x00\x00garbage-records")},
                      DamagedFile{"Setup", "setup.ini",
                                  bytesOf("[\x01\x02\nPionSet = \xff\xff\nSkinsDir = \x01\n\n===\n")}),
    [](const ::testing::TestParamInfo<DamagedFile>& info) { return info.param.name; });

// The archive is the program's own: damaged, the start-up stops with one
// message; missing, the same, with the "introuvable" code (the loose files
// beside it are the build's sources, not the shipped game).
TEST(PlayStart, ADamagedOrMissingArchiveStopsTheStartWithOneMessage)
{
    SKIP_WITHOUT_DISPLAY();
    for (bool missing : {false, true})
    {
        SCOPED_TRACE(missing ? "missing" : "damaged");
        ChildRun run = startInChild(
            [&](Driver& driver)
            {
                if (missing)
                    fs::remove(driver.dataPath("Ressources.dat"));
                else
                    writeBytes(driver.dataPath("Ressources.dat"), "not an archive at all");
            });
        ASSERT_EQ(run.signal, 0) << "the program crashed";
        const std::string shown = shownMessages(run);
        EXPECT_GE(run.exitCode, 100) << "the start-up went on";
        EXPECT_EQ(run.messages.size(), 1u) << shown;
        if (missing)
        {
            EXPECT_EQ(run.exitCode, 100 + int(ERROR_FILEIO_FILENOTFOUND));
            EXPECT_NE(shown.find("introuvable"), std::string::npos) << shown;
        }
    }
}

TEST(PlayStart, ADamagedSavedGameLoadedFromTheMainMenuGivesOneMessageAndTheWholeMenuBack)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    fs::create_directories(driver.dataPath("saves"));
    writeBytes(driver.dataPath("saves/abime.tnv"), bytesOf("\x03\x00\x00\x00xyz\xff\xff"));
    ASSERT_TRUE(loadFromMainMenu(driver, "abime.tnv"));
    driver.settle(20);
    // The message is a dialog of the game.
    auto* message = driver.layer<Dialog>();
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(dynamic_cast<FileDialog*>(message), nullptr);
    Faults faults = checkWindow(driver, message);
    EXPECT_TRUE(faults.empty()) << faults.front();
    ASSERT_TRUE(clickText(driver, "OK"));
    driver.settle(40);
    WindowMenu* menu = driver.layer<WindowMenu>();
    ASSERT_NE(menu, nullptr);
    EXPECT_NE(driver.layer<MenuVideoWindow>(), nullptr) << "the menu came back without its video";
    ASSERT_NE(menu->getTitleImage(), nullptr);
    EXPECT_GT(menu->getTitleImage()->getWidth(), 0);
}

// ./play runs the game from the build folder, which keeps the player's files
// in its data; a copy of that data taken for a test leaves them out, and the
// game on it starts as a fresh install does, with the first-game question.
TEST(PlayStart, DataAGameWasPlayedFromIsCopiedAsShippedAlone)
{
    SKIP_WITHOUT_DISPLAY();
    Platform::TemporaryDirectory played;
    copyShippedData(std::string(VELMORIQUE_BUILD_DIR) + "/data", played.path());
    {
        setenv("VELMORIQUE_SCRIPTED_RUN", "essai", 1);
        Driver player(played.path());
        const ErrorCode started = player.start();
        unsetenv("VELMORIQUE_SCRIPTED_RUN");
        ASSERT_EQ(started, 0u);
        ASSERT_TRUE(player.waitFor([&] { return !player.running(); }, 3000))
            << "the scripted session went on";
    }
    const char* players[] = {"setup.ini", "settings.dat", "saves/essai.tnv", "Ressources/lang.ini"};
    for (const char* file : players)
        ASSERT_TRUE(fs::exists(played.path() + "data/" + file)) << file << " not written by the session";
    writeBytes(played.path() + "data/settings.dat.tmp", "cut short");

    Platform::TemporaryDirectory copy;
    copyShippedData(played.path() + "data", copy.path());
    for (const char* file : players)
        EXPECT_FALSE(fs::exists(copy.path() + "data/" + file)) << file << " copied";
    EXPECT_FALSE(fs::exists(copy.path() + "data/settings.dat.tmp"));
    Driver fresh(copy.path());
    PngOnFailure png(fresh);
    EXPECT_NE(fromMainMenu<WindowAskTutorial>(fresh, WindowMenu::SOLO), nullptr) << "no first-game question";
}
