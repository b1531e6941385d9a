// Whole frames of the game as a player sees them, drawn from the data the
// build generates: the main menu over its video, and the 3D board of a new
// game between two people (nothing moves, nobody thinks). Each benchmark
// reports the wall time and the CPU time of the whole process per frame:
// the software renderer rasterises on threads of its own, which the main
// thread's time would not show. Mesa's llvmpipe gets two rasteriser threads
// unless LP_NUM_THREADS says otherwise; run under `taskset -c 0,1` to give
// the process two cores.
//
// The menu, the board and ten games started and left also report the
// resident memory (RSS_MB), split by what holds it (heap, the driver's
// libLLVM and Mesa, other libraries, the window's shared image, anonymous
// mappings), and what the game keeps beside the driver's copies (texture
// CPU copies, sound buffers).
//
// With VELMORIQUE_FRAME_SHOTS=<folder> the program also writes menu.png and
// board.png there (the menu's video stopped on its still image, so that two
// builds draw the same frame) for tests/bench/frames/compare-frames.
#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine2DD3D/EngineComponent.h"
#include "Framework/AppWindow.h"
#include "Gui/Container.h"
#include "Gui/ContainerLift.h"
#include "Gui/GuiManager.h"
#include "Network/NetworkPeer.h"
#include "NetworkDirectPlay/DirectPlayCommon.h"
#include "NetworkDirectPlay/NetworkPeerDirectPlay.h"
#include "Platform/Audio/AudioDevice.h"
#include "Platform/Gpu/DeviceBase.h"
#include "Platform/Net/NetSession.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"
#include "SoundManagerDSound/SoundManagerDSound.h"
#include "Tarnaveli/ChatPanel.h"
#include "Tarnaveli/ChatWindow.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameParts.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/MenuVideoWindow.h"
#include "Tarnaveli/WindowJoinGame.h"
#include "Tarnaveli/WindowMenu.h"

#include "../../Platform/Net/AnswerFlood.h"
#include "../../ResidentMemory.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

constexpr int kWarmUpFrames = 30;
constexpr int kMeasuredFrames = 200;

// CPU time of the calling thread, in milliseconds: the game's own work,
// without the rasteriser's threads nor a flood's.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1.0e6;
}

// Resident memory by what holds it, in megabytes, from /proc/self/smaps:
// the heap, the GL driver's code generator (libLLVM), the rest of the driver
// (Mesa's own libraries), every other library, the shared image the X server
// shows the window from, and anonymous mappings (big allocations that bypass
// the heap, the driver's buffers, thread stacks).
std::map<std::string, double> residentByOwner()
{
    std::map<std::string, double> owners;
    std::ifstream smaps("/proc/self/smaps");
    std::string line, owner = "anonymous";
    while (std::getline(smaps, line))
    {
        std::istringstream fields(line);
        std::string first;
        fields >> first;
        if (first.find('-') != std::string::npos && first.find(':') == std::string::npos)
        {
            // A mapping's head: address range, rights, offset, device, inode, path.
            std::string rights, offset, device, inode, path;
            fields >> rights >> offset >> device >> inode;
            std::getline(fields, path);
            path.erase(0, path.find_first_not_of(' '));
            if (path == "[heap]")
                owner = "heap";
            else if (path.find("libLLVM") != std::string::npos)
                owner = "llvm";
            else if (path.rfind("/SYSV", 0) == 0)
                owner = "window";
            else if (path.find("/dri/") != std::string::npos ||
                     path.find("libgallium") != std::string::npos ||
                     path.find("libGL") != std::string::npos || path.find("mesa") != std::string::npos)
                owner = "mesa";
            else if (path.empty() || path[0] == '[')
                owner = "anonymous";
            else if (path.find(".so") != std::string::npos || path.find("velmorique") != std::string::npos ||
                     path.find("bench") != std::string::npos)
                owner = "code";
            else
                owner = "files";
        }
        else if (first == "Rss:")
        {
            double kb = 0;
            fields >> kb;
            owners[owner] += kb / 1024.0;
        }
    }
    return owners;
}

// The game's graphics device, for what it keeps of earlier frames.
Platform::Gpu::DeviceBase* gameDevice(GameApplication& game)
{
    return dynamic_cast<Platform::Gpu::DeviceBase*>(static_cast<Engine2DD3D*>(game.getEngine2D())->getDevice());
}

// The resident memory by mapping, then what the game itself keeps of its
// resources beside the driver's copies: the textures' CPU copies and the
// sound buffers.
void countResident(benchmark::State& state, const std::string& prefix, GameApplication& game)
{
    for (const auto& [owner, mb] : residentByOwner())
        state.counters[prefix + owner + "_MB"] = mb;
    constexpr double kMb = 1024.0 * 1024.0;
    if (auto* device = gameDevice(game))
        state.counters[prefix + "texture_copies_MB"] = double(device->textureCopyBytes()) / kMb;
    if (auto* sound = dynamic_cast<SoundManagerDSound*>(game.getSoundManager()))
        state.counters[prefix + "sound_buffers_MB"] = double(sound->getAudioDevice().bufferBytes()) / kMb;
}

// The game's own application, started as run starts it, whose frames the
// benchmark steps one by one instead of its paced loop.
class FrameApplication final : public GameApplication
{
public:
    explicit FrameApplication(const ApplicationSettings& settings) : GameApplication(settings) {}

    bool start()
    {
        mApplicationFolder = Platform::programDirectory();
        if (mountArchive() != 0 || init() != 0)
            return false;
        mNotYetRunning = false;
        mRunClock.start();
        createFirstWindow();
        return true;
    }

    // One turn of the main loop: the waiting messages, the update, the render.
    bool frame()
    {
        Platform::WindowMessage message;
        while (getAppWindow()->peekMessage(message))
        {
            if (message.message == Platform::WM_QUIT)
                return false;
            getAppWindow()->dispatchMessage(message);
        }
        std::lock_guard lock(mLock);
        uint32_t now = mRunClock.getElapsed();
        mFrameDelta = mFrameDeltaCopy = now - mPreviousClock;
        mPreviousClock = now;
        animate();
        return renderFrame() == 0;
    }
};

// A program folder whose data are the build's; what the game writes at exit
// (set-up, settings, language file) stays in a folder of its own.
class GameFolder
{
public:
    GameFolder()
    {
        const fs::path built = fs::path(VELMORIQUE_BUILD_DIR) / "data";
        const fs::path data = fs::path(mFolder.path()) / "data";
        fs::create_directories(data / "Ressources");
        for (const char* shared : {"Ressources.dat", "lights.dat"})
            fs::create_symlink(built / shared, data / shared);
        for (const char* shared : {"sons", "Video", "models", "Aide"})
            if (fs::exists(built / shared))
                fs::create_directory_symlink(built / shared, data / shared);
        Platform::setProgramDirectory(mFolder.path());
    }

private:
    Platform::TemporaryDirectory mFolder;
};

// A message box would wait for a person who is not there: the messages go
// to standard error instead, and the main window leaves this sink in place.
class BenchMessageSink final : public Platform::MessageSink
{
public:
    void show(const std::string& title, const std::string& text, Platform::MessageKind) override
    {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    }
};

void registerGameServices()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // The figures are quoted for Mesa's software renderer on two rasteriser
    // threads, unless the caller chose otherwise.
    setenv("GALLIUM_DRIVER", "llvmpipe", 0);
    setenv("LP_NUM_THREADS", "2", 0);
    Platform::setMessageSink(std::make_shared<BenchMessageSink>());
    installGameParts();
}

void closeMainMenu()
{
    GuiManager* gui = GuiManager::current();
    if (gui == nullptr || gui->getRoot() == nullptr)
        return;
    for (Component* child : gui->getRoot()->getChildren())
        if (auto* menu = dynamic_cast<WindowMenu*>(child))
            menu->close();
}

// A new game between two people, as the new-game window starts it.
void startTwoPlayerGame()
{
    LocalGameRequest request;
    request.playerKind[0] = request.playerKind[1] = 0;
    GameApplication::current()->startLocalGame(request);
    closeMainMenu();
}

void saveShot(FrameApplication& game, const char* name)
{
    const char* folder = std::getenv("VELMORIQUE_FRAME_SHOTS");
    if (folder == nullptr)
        return;
    if (MenuVideoWindow* video = MenuVideoWindow::current(); video != nullptr && video->getVideo() != nullptr)
        video->getVideo()->stop();
    for (int i = 0; i < 5; ++i)
        game.frame();
    auto* engine = static_cast<Engine2DD3D*>(game.getEngine2D());
    engine->getDevice()->saveScreenshot((fs::path(folder) / name).string());
}

// The game as the program starts it, its main menu up, or null (the
// benchmark then skipped).
std::unique_ptr<FrameApplication> startGame(benchmark::State& state)
{
    if (std::getenv("DISPLAY") == nullptr)
    {
        state.SkipWithError("no display");
        return nullptr;
    }
    registerGameServices();
    // The application keeps a reference to its settings for its whole run.
    static const ApplicationSettings settings = makeProgramSettings();
    auto game = std::make_unique<FrameApplication>(settings);
    if (!game->start())
    {
        state.SkipWithError("the game did not start");
        return nullptr;
    }
    // Windows open through the GUI manager's queue: the main menu is there
    // only once a frame has run.
    for (int i = 0; i < kWarmUpFrames; ++i)
        game->frame();
    return game;
}

enum class Scene
{
    Menu,
    Board
};

void runScene(benchmark::State& state, Scene scene, bool reusePasses = true)
{
    GameFolder folder;
    std::unique_ptr<FrameApplication> game = startGame(state);
    if (game == nullptr)
        return;
    auto* device = gameDevice(*game);
    if (device != nullptr)
        device->allowPassReuse(reusePasses);
    uint64_t reusedBefore = device != nullptr ? device->reusedPassCount() : 0;
    uint64_t skippedBefore = device != nullptr ? device->skippedFrameCount() : 0;
    if (scene == Scene::Board)
    {
        // The game replaces the main menu.
        startTwoPlayerGame();
        for (int i = 0; i < kWarmUpFrames; ++i)
            game->frame();
    }
    for (auto _ : state)
    {
        if (!game->frame())
        {
            state.SkipWithError("a frame failed");
            break;
        }
    }
    if (device != nullptr)
    {
        state.counters["reused_3D_passes"] = double(device->reusedPassCount() - reusedBefore);
        state.counters["skipped_frames"] = double(device->skippedFrameCount() - skippedBefore);
    }
    state.counters["RSS_MB"] = residentMb();
    state.counters["Textures_MB"] = double(game->getEngine2D()->getTextureMemoryUsed()) / (1024.0 * 1024.0);
    countResident(state, "", *game);
    saveShot(*game, scene == Scene::Menu ? "menu.png" : "board.png");
    game.reset();
}

void BM_MainMenuFrame(benchmark::State& state)
{
    runScene(state, Scene::Menu);
}
// Argument 0: every frame and every 3D pass drawn; 1: an unchanged frame
// presented again, an unchanged pass copied from its last picture.
void BM_BoardFrame(benchmark::State& state)
{
    runScene(state, Scene::Board, state.range(0) != 0);
}

// The menu (argument 0) and the idle board (1) at the game's own pace of a
// frame every 20 ms, once the menu's opening has played: the process CPU
// per frame is what the player's machine spends, the menu's video bringing
// a picture every other frame.
void BM_PacedFrame(benchmark::State& state)
{
    GameFolder folder;
    std::unique_ptr<FrameApplication> game = startGame(state);
    if (game == nullptr)
        return;
    auto* device = gameDevice(*game);
    if (state.range(0) != 0)
        startTwoPlayerGame();
    auto pacedFrame = [&]
    {
        timespec start{}, now{};
        clock_gettime(CLOCK_MONOTONIC, &start);
        bool drawn = game->frame();
        clock_gettime(CLOCK_MONOTONIC, &now);
        double elapsed =
            double(now.tv_sec - start.tv_sec) * 1000.0 + double(now.tv_nsec - start.tv_nsec) / 1.0e6;
        if (elapsed < 20.0)
            usleep(useconds_t((20.0 - elapsed) * 1000.0));
        return drawn;
    };
    for (int i = 0; i < 100; ++i)
        pacedFrame();
    uint64_t skippedBefore = device != nullptr ? device->skippedFrameCount() : 0;
    for (auto _ : state)
    {
        if (!pacedFrame())
        {
            state.SkipWithError("a frame failed");
            break;
        }
    }
    if (device != nullptr)
        state.counters["skipped_frames"] = double(device->skippedFrameCount() - skippedBefore);
    game.reset();
}

// Ten games started and left in one run: the memory they leave behind.
void BM_TenGames(benchmark::State& state)
{
    GameFolder folder;
    std::unique_ptr<FrameApplication> game = startGame(state);
    if (game == nullptr)
        return;
    const double menu = residentMb();
    double afterFirst = 0;
    for (auto _ : state)
    {
        for (int round = 0; round < 10; ++round)
        {
            startTwoPlayerGame();
            for (int i = 0; i < 10; ++i)
                game->frame();
            if (GameScreen* screen = GameScreen::current())
                screen->leaveToMainMenu("");
            for (int i = 0; i < 10; ++i)
                game->frame();
            if (round == 0)
                afterFirst = residentMb();
        }
    }
    state.counters["RSS_menu_MB"] = menu;
    countResident(state, "after10_", *game);
    state.counters["RSS_after1_MB"] = afterFirst;
    state.counters["RSS_after10_MB"] = residentMb();
    game.reset();
}

// The chat of a network game on the board, and lines of the longest kind a
// peer can make (a name, " : " and a full field of words) arriving at
// state.range(0) per frame; 0 is the idle chat.
void BM_ChatFrame(benchmark::State& state)
{
    GameFolder folder;
    std::unique_ptr<FrameApplication> game = startGame(state);
    if (game == nullptr)
        return;
    startTwoPlayerGame();
    auto* window = new ChatWindow();
    window->open();
    auto* panel = dynamic_cast<ChatPanel*>(window->getChatPanel());
    for (int i = 0; i < kWarmUpFrames; ++i)
        game->frame();
    if (panel == nullptr)
    {
        state.SkipWithError("no chat panel");
        return;
    }
    std::string line = "Un joueur au nom bien long : ";
    while (line.size() + 6 < ChatPanel::kMaxLineLength)
        line += "blabla ";
    line.resize(ChatPanel::kMaxLineLength, 'x');
    // A full list to begin with, as after a while of flood.
    for (uint32_t i = 0; i < ChatPanel::kMaxLines; ++i)
        panel->append(line, ChatPanel::kRemoteColor);
    const double cpuStart = threadCpuMs();
    for (auto _ : state)
    {
        for (int64_t i = 0; i < state.range(0); ++i)
            panel->append(line, ChatPanel::kRemoteColor);
        if (!game->frame())
        {
            state.SkipWithError("a frame failed");
            break;
        }
    }
    state.counters["main_thread_ms"] = (threadCpuMs() - cpuStart) / double(state.iterations());
    state.counters["RSS_MB"] = residentMb();
    game.reset();
}

// The join window listing a game hosted on this machine while state.range(0)
// processes' worth of fake answers flood its discovery port.
void BM_JoinWindowFrame(benchmark::State& state)
{
    GameFolder folder;
    setenv("VELMORIQUE_DISCOVERY", "127.0.0.1", 1);
    std::unique_ptr<FrameApplication> game = startGame(state);
    if (game == nullptr)
        return;
    NetworkPeerDirectPlay host(0, 0);
    host.setApplicationGuid(DirectPlay::kGameApplicationGuid, 16);
    host.setNickname("Alice");
    if (host.init() != ERROR_OK || host.host("Partie de Alice", 2) != ERROR_OK)
    {
        state.SkipWithError("no host");
        return;
    }
    auto peer = std::make_unique<NetworkPeerDirectPlay>(0, host.getHostedPort());
    peer->setApplicationGuid(DirectPlay::kGameApplicationGuid, 16);
    if (peer->init() != ERROR_OK)
    {
        state.SkipWithError("no network object");
        return;
    }
    NetworkPeerDirectPlay* seeker = peer.get();
    game->setNetwork(std::move(peer));
    closeMainMenu();
    auto* join = new WindowJoinGame(*seeker, *game);
    join->open();
    for (int i = 0; i < kWarmUpFrames; ++i)
        game->frame();
    const uint16_t answers =
        seeker->getSessionLayer() != nullptr ? seeker->getSessionLayer()->answerPort() : 0;
    std::vector<std::unique_ptr<AnswerFlood>> floods;
    for (int64_t i = 0; i < state.range(0); ++i)
        floods.push_back(std::make_unique<AnswerFlood>(
            answers, DirectPlay::toNetGuid(DirectPlay::kGameApplicationGuid), static_cast<uint32_t>(i + 1)));
    const double before = residentMb();
    int listedFrames = 0;
    const double cpuStart = threadCpuMs();
    for (auto _ : state)
    {
        if (!game->frame())
        {
            state.SkipWithError("a frame failed");
            break;
        }
        std::scoped_lock guard(*seeker);
        for (const auto& session : seeker->getSessions())
            if (session->mSessionName == "Partie de Alice")
            {
                ++listedFrames;
                break;
            }
    }
    state.counters["main_thread_ms"] = (threadCpuMs() - cpuStart) / double(state.iterations());
    uint64_t sent = 0;
    for (const auto& flood : floods)
        sent += flood->sent();
    floods.clear();
    state.counters["RSS_MB"] = residentMb();
    state.counters["RSS_growth_MB"] = residentMb() - before;
    state.counters["fake_answers"] = double(sent);
    state.counters["real_host_listed_frames"] = listedFrames;
    state.counters["rows"] = join->getList()->getRowCount();
    game.reset();
    std::scoped_lock guard(host);
    host.closeSession();
}

} // namespace

BENCHMARK(BM_ChatFrame)
    ->Arg(0)
    ->Arg(10)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kMeasuredFrames)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_JoinWindowFrame)
    ->Arg(0)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kMeasuredFrames)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_MainMenuFrame)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kMeasuredFrames)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_BoardFrame)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kMeasuredFrames)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_PacedFrame)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kMeasuredFrames)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_TenGames)->Unit(benchmark::kMillisecond)->Iterations(1)->MeasureProcessCPUTime()->UseRealTime();
