// A message box is a process of its own that the game waits for: it must not
// outlive the game, nor keep the game from ending when it is asked to.
#include "Platform/Window/SdlMessageSink.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{
using namespace std::chrono_literals;

constexpr int kQuitSeen = 7;
constexpr int kNoVideo = 2;

// A game that shows a box as the program does (SDL's video up, so its own
// handling of SIGTERM in place) and, once the box is gone, tells whether SDL
// turned a request to end into its quit event.
pid_t startGameShowingABox()
{
    pid_t game = ::fork();
    if (game != 0)
        return game;
    // No session bus: the desktop bus would otherwise start a helper process
    // of its own, which could pass for the box.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/velmorique-bus", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        ::_exit(kNoVideo);
    Platform::SdlMessageSink().show("Erreur", "Une bo\xEEte ouverte", Platform::MessageKind::Error);
    SDL_PumpEvents();
    ::_exit(SDL_HasEvent(SDL_QUIT) ? kQuitSeen : 0);
}

std::string exeOf(pid_t pid)
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error).string();
}

// The first child process of the parent found in /proc that runs the
// parent's own program, as the box's process does; 0 when none.
pid_t childOf(pid_t parent)
{
    const std::string program = exeOf(parent);
    DIR* proc = ::opendir("/proc");
    pid_t found = 0;
    while (dirent* entry = proc != nullptr ? ::readdir(proc) : nullptr)
    {
        const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
        if (pid <= 0)
            continue;
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string line;
        std::getline(stat, line);
        // pid (name) state ppid ...; the name may hold blanks and brackets.
        const size_t close = line.rfind(')');
        if (close == std::string::npos)
            continue;
        char state = 0;
        int ppid = 0;
        if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == parent &&
            exeOf(pid) == program)
        {
            found = pid;
            break;
        }
    }
    if (proc != nullptr)
        ::closedir(proc);
    return found;
}

pid_t waitForBox(pid_t game)
{
    for (auto end = std::chrono::steady_clock::now() + 20s; std::chrono::steady_clock::now() < end;)
    {
        if (pid_t box = childOf(game))
            return box;
        std::this_thread::sleep_for(20ms);
    }
    return 0;
}

// Reaps the process within the time; false when it is still there.
bool reapedWithin(pid_t pid, std::chrono::seconds time, int& status)
{
    for (auto end = std::chrono::steady_clock::now() + time; std::chrono::steady_clock::now() < end;)
    {
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return true;
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

class MessageBoxProcess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!Platform::hasDisplay())
            GTEST_SKIP() << "no display";
        // A box whose game has gone comes to this process, which can then
        // tell whether it ended.
        ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    }
    void TearDown() override
    {
        for (pid_t pid : {mBox, mGame})
            if (pid > 0 && ::kill(pid, SIGKILL) == 0)
                ::waitpid(pid, nullptr, 0);
    }
    // A game with its box open.
    void openBox()
    {
        mGame = startGameShowingABox();
        ASSERT_GT(mGame, 0);
        mBox = waitForBox(mGame);
        ASSERT_GT(mBox, 0) << "no box process";
    }
    pid_t mGame = 0;
    pid_t mBox = 0;
};
} // namespace

TEST_F(MessageBoxProcess, SigtermWhileABoxIsOpenClosesTheBoxAndReachesTheGameAsItsQuitEvent)
{
    ASSERT_NO_FATAL_FAILURE(openBox());
    ::kill(mGame, SIGTERM);
    int status = 0;
    ASSERT_TRUE(reapedWithin(mGame, 10s, status)) << "the game waits on with its box open";
    mGame = 0;
    ASSERT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == kNoVideo) << "SDL's video did not start";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kQuitSeen) << "status " << status;
    EXPECT_FALSE(::kill(mBox, 0) == 0 && ::waitpid(mBox, &status, WNOHANG) == 0) << "the box is still open";
}

TEST_F(MessageBoxProcess, TheBoxEndsWhenTheGameIsKilled)
{
    ASSERT_NO_FATAL_FAILURE(openBox());
    ::kill(mGame, SIGKILL);
    ::waitpid(mGame, nullptr, 0);
    mGame = 0;
    int status = 0;
    EXPECT_TRUE(reapedWithin(mBox, 10s, status)) << "the box outlives the game";
}
