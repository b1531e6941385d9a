// Files of the player's folder that are not what the game expects: a pipe
// among the saves, a folder that takes no writes, a damaged model. Each is
// met at once, said once, and loses nothing.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Gui/CheckBox.h"
#include "Gui/Dialog.h"
#include "Gui/FileDialog.h"
#include "Gui/LabeledCheckBox.h"
#include "Gui/Lift.h"
#include "Gui/TextButton.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowOption.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Play;
namespace fs = std::filesystem;

namespace
{
std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Every text the widget shows, its children's included.
std::string shownText(Driver& driver, Component* widget)
{
    std::string text;
    for (Component* c : driver.all(widget))
        text += Driver::textOf(c) + "\n";
    return text;
}

// Opens the other end of a pipe when the test has not ended by then, so that
// a game held in open is let go and the test fails instead of hanging.
class PipeWatchdog
{
public:
    explicit PipeWatchdog(std::string path)
        : mThread(
              [this, path = std::move(path)]
              {
                  for (int i = 0; i < 300 && !mDone; ++i)
                      std::this_thread::sleep_for(std::chrono::milliseconds(100));
                  while (!mDone)
                  {
                      const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                      if (fd >= 0)
                      {
                          mHadToOpen = true;
                          ::close(fd);
                      }
                      std::this_thread::sleep_for(std::chrono::milliseconds(100));
                  }
              })
    {
    }
    ~PipeWatchdog()
    {
        mDone = true;
        mThread.join();
    }
    bool hadToOpen() const { return mHadToOpen; }

private:
    std::atomic<bool> mDone{false};
    std::atomic<bool> mHadToOpen{false};
    std::thread mThread;
};
} // namespace

TEST(PlayUntrustedFiles, APipeNamedLikeASaveIsNotListedAndLoadingItSaysCorruptAtOnce)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    fs::create_directories(driver.dataPath("saves"));
    const std::string pipe = driver.dataPath("saves/tuyau.tnv");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    writeBytes(driver.dataPath("saves/vraie.tnv"), "quelques octets");
    PipeWatchdog watchdog(pipe);

    auto* dialog = fromMainMenu<FileDialog>(driver, WindowMenu::LOAD);
    ASSERT_NE(dialog, nullptr);
    std::vector<std::string> listed;
    for (const FileDialog::Entry& entry : dialog->getEntries())
        listed.push_back(entry.name);
    EXPECT_NE(std::find(listed.begin(), listed.end(), "vraie.tnv"), listed.end());
    EXPECT_EQ(std::find(listed.begin(), listed.end(), "tuyau.tnv"), listed.end()) << "the pipe is listed";

    // Typed by hand, the name still reaches the loader.
    dialog->setName("tuyau.tnv");
    ASSERT_TRUE(clickText(driver, "OK"));
    driver.settle(20);
    auto* message = driver.layer<Dialog>();
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(dynamic_cast<FileDialog*>(message), nullptr);
    EXPECT_NE(shownText(driver, message).find("corrompue"), std::string::npos) << shownText(driver, message);
    EXPECT_FALSE(watchdog.hadToOpen()) << "the load waited for the pipe";
}

// A player's folder that takes no writes at exit: the options changed in
// this run cannot be kept, and the player is told so once, by file, before
// the program ends, each file named where it is; the files there stay as
// they were. The writes fail on folders standing where the new files are
// made, as they fail in a read-only folder (which the superuser that runs
// tests could write to).
TEST(PlayUntrustedFiles, SettingsThatCannotBeWrittenAtExitAreSaidOnceAndTheOldFilesStayWhole)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    // The player's folder apart from the game's data, as an installed game
    // has it, deep enough that the paths do not fit the message whole.
    const std::string player =
        driver.folder() + "un dossier bien trop long pour un message/joueur \xC3\xA9t\xC3\xA9/";
    fs::create_directories(player);
    setenv("VELMORIQUE_USER_DIR", player.c_str(), 1);
    struct Unset
    {
        ~Unset() { unsetenv("VELMORIQUE_USER_DIR"); }
    } unset;
    const std::string settings = player + "settings.dat";
    const std::string setup = player + "setup.ini";
    writeBytes(settings, std::string("\0\0\0\0\x64\0\0\0\x64\0\0\0\x01\x01", 14));

    auto* options = fromMainMenu<WindowOption>(driver, WindowMenu::OPTIONS);
    ASSERT_NE(options, nullptr);
    driver.click(options->getMusicSlider()->getIncreaseButton());
    driver.click(options->getInfotipBox()->getBox());
    ASSERT_TRUE(clickText(driver, "OK"));
    driver.settle(20);
    ASSERT_TRUE(fs::is_regular_file(setup));
    const std::string oldSettings = readBytes(settings);
    const std::string oldSetup = readBytes(setup);
    fs::create_directory(settings + ".tmp");
    fs::create_directory(setup + ".tmp");
    const size_t shownBefore = driver.messageBoxes().size();

    driver.stop();
    const auto& boxes = driver.messageBoxes();
    ASSERT_EQ(boxes.size(), shownBefore + 1) << "one message for what was not written";
    const std::string text = boxes.back().text;
    EXPECT_EQ(boxes.back().title, "Erreur");
    EXPECT_NE(text.find(cp1252("Impossible d'enregister")), std::string::npos) << text;
    // Named in the program's spelling; a long path may lose folders of its
    // middle, never the player's folder or the file's name.
    for (const char* file : {"settings.dat : I/O", "setup.ini : I/O"})
        EXPECT_NE(text.find(cp1252("joueur été/") + file), std::string::npos) << text;
    EXPECT_EQ(text.find("data\\"), std::string::npos) << text;
    EXPECT_EQ(readBytes(settings), oldSettings);
    EXPECT_EQ(readBytes(setup), oldSetup);
}

// One damaged model, one message that names it; the start-up then ends with
// the fault's code. Run in a child: a failed start-up ends its process.
TEST(PlayUntrustedFiles, ADamagedModelStopsTheStartWithOneMessageNamingIt)
{
    SKIP_WITHOUT_DISPLAY();
    for (const char* model : {"models/pions/rat.X", "models/boardZorvad/plateau.X"})
    {
        SCOPED_TRACE(model);
        ChildRun run =
            startInChild([&](Driver& driver)
                         { writeBytes(driver.dataPath(model), "xof 0303txt 0032\n{ pas un maillage"); });
        ASSERT_EQ(run.signal, 0) << "the program crashed";
        const std::string shown = shownMessages(run);
        EXPECT_GE(run.exitCode, 100) << "the start-up went on";
        ASSERT_EQ(run.messages.size(), 1u) << shown;
        const std::string name = fs::path(model).filename().string();
        EXPECT_NE(shown.find(name), std::string::npos) << shown;
        EXPECT_EQ(shown.find("game.xml"), std::string::npos) << shown;
    }
}
