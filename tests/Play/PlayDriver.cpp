#include "PlayDriver.h"

#include "Engine2DD3D/Engine2DD3D.h"
#include "Framework/AppWindow.h"
#include "Framework/Timer.h"
#include "Gui/Container.h"
#include "Gui/GuiManager.h"
#include "Gui/Label.h"
#include "Gui/Text.h"
#include "Gui/TextButton.h"
#include "Platform/Gpu/GlDevice.h"
#include "Platform/Gpu/PngWriter.h"
#include "Platform/System/Clock.h"
#include "Platform/System/Memory.h"
#include "Platform/System/Text1252.h"
#include "Platform/Window/Window.h"
#include "Tarnaveli/GameParts.h"
#include "Tarnaveli/GameSettings.h"
#include "Tarnaveli/SavedGame.h"
#include "Tarnaveli/ScoreTable.h"
#include "Tarnaveli/ScriptedRun.h"
#include "Tarnaveli/SetupConfig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace Play
{
namespace
{
// The test's clock: read by every thread of the program, moved only by step.
std::atomic<int64_t> gNowNs{0};

// The mouse the driver's events come from. Tests run side by side on one
// display: the pointer and the focus of that display belong to no test, so
// the program sees only the driver's mouse and no change of focus.
constexpr uint32_t kDriverMouse = 0x7E57;

int keepDriverInput(void*, SDL_Event* event)
{
    switch (event->type)
    {
    case SDL_MOUSEMOTION:
        return event->motion.which == kDriverMouse;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return event->button.which == kDriverMouse;
    case SDL_MOUSEWHEEL:
        return event->wheel.which == kDriverMouse;
    case SDL_WINDOWEVENT:
        switch (event->window.event)
        {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_ENTER:
        case SDL_WINDOWEVENT_LEAVE:
            return 0;
        default:
            return 1;
        }
    default:
        return 1;
    }
}

// A file or folder of the data that the game writes and the build does not
// make, by its path below data/: the player's files, named by the game's own
// paths, and what an interrupted write leaves.
bool isPlayersFile(const fs::path& relative)
{
    static const std::vector<std::string> players = []
    {
        std::vector<std::string> names;
        for (const std::string& path :
             {std::string(SetupConfig::FILE_NAME), std::string(GameSettings::FILE_NAME),
              std::string(ScoreTable::FILE_NAME), std::string(SavedGame::kFolder),
              GameApplication::makeSettings(true).mLanguageFile})
        {
            std::string name = Platform::toSlashPath(path);
            name = name.substr(name.find('/') + 1);
            if (name.ends_with('/'))
                name.pop_back();
            names.push_back(name);
        }
        return names;
    }();
    return relative.extension() == ".tmp" ||
           std::find(players.begin(), players.end(), relative.generic_string()) != players.end();
}
} // namespace

void copyShippedData(const std::string& fromData, const std::string& folder)
{
    const fs::path to = fs::path(folder) / "data";
    fs::create_directories(to);
    for (auto it = fs::recursive_directory_iterator(fromData); it != fs::recursive_directory_iterator(); ++it)
    {
        const fs::path relative = it->path().lexically_relative(fromData);
        if (isPlayersFile(relative))
            it.disable_recursion_pending();
        else if (it->is_directory())
            fs::create_directory(to / relative);
        else
            fs::copy_file(it->path(), to / relative);
    }
}

namespace
{

void pushKey(uint32_t window, uint32_t type, SDL_Scancode scancode, SDL_Keycode key)
{
    SDL_Event event{};
    event.type = type;
    event.key.windowID = window;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

} // namespace

std::string cp1252(const std::string& utf8)
{
    return Platform::utf8ToCp1252(utf8);
}

Driver::Driver(std::string folder) : mFolder(std::move(folder))
{
    if (mFolder.empty())
    {
        mOwnFolder = std::make_unique<Platform::TemporaryDirectory>();
        mFolder = mOwnFolder->path();
        copyShippedData(std::string(VELMORIQUE_BUILD_DIR) + "/data", mFolder);
    }
    if (mFolder.back() != '/')
        mFolder += '/';
    mMessages = std::make_unique<Platform::ScopedMessageCapture>();
}

Driver::~Driver()
{
    stop();
    mMessages.reset();
}

ErrorCode Driver::start()
{
    // The video subsystem stays up between the runs of one test program, so
    // that the system's OpenGL libraries are loaded once. At exit it goes
    // down before the leak checker stops every thread, so that the
    // rasteriser's threads end with the display; the libraries are kept
    // mapped first, as the checker's reports of an unloaded library name no
    // module and cannot be told apart from ours.
    static const bool videoKept = []
    {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return false;
        std::atexit(
            []
            {
                Platform::keepLoadedLibraries();
                SDL_QuitSubSystem(SDL_INIT_VIDEO);
            });
        return true;
    }();
    (void)videoKept;
    SDL_SetEventFilter(keepDriverInput, nullptr);
    Platform::setProgramDirectory(mFolder);
    Platform::setClockSource([] { return gNowNs.load(std::memory_order_relaxed); });
    resetTimeBase();
    installGameParts();
    mSettings = makeProgramSettings();
    // As the program makes it: VELMORIQUE_SCRIPTED_RUN plays its session.
    mGame = makeApplicationFromEnvironment(mSettings);
    mQuit = false;
    ErrorCode code = mGame->start();
    if (code != 0)
    {
        // As the program's entry point does.
        mQuit = true;
        if (code != ERROR_STOP_RENDERING)
            showRunError(code);
    }
    return code;
}

void Driver::stop()
{
    mGame.reset();
    Platform::setClockSource({});
    // What the program installed for itself goes with it.
    for (uint32_t id = 0; id < SERVICE_COUNT; ++id)
        setServiceCreator(id, nullptr);
}

bool Driver::step(int stepMs)
{
    if (!running())
        return false;
    gNowNs.fetch_add(int64_t(stepMs) * 1000000, std::memory_order_relaxed);
    if (!mGame->runOneFrame())
        mQuit = true;
    return !mQuit;
}

void Driver::run(int frames, int stepMs)
{
    for (int i = 0; i < frames && step(stepMs); ++i)
    {
    }
}

bool Driver::waitFor(const std::function<bool()>& condition, int budget, int stepMs)
{
    for (int i = 0; i < budget; ++i)
    {
        if (condition())
            return true;
        if (!step(stepMs))
            return condition();
    }
    return condition();
}

uint32_t Driver::windowId() const
{
    AppWindow* window = mGame != nullptr ? mGame->getAppWindow() : nullptr;
    return window != nullptr && window->getWindow() != nullptr
               ? SDL_GetWindowID(window->getWindow()->sdlWindow())
               : 0;
}

void Driver::toWindow(int x, int y, int& wx, int& wy) const
{
    wx = x;
    wy = y;
    AppWindow* window = mGame != nullptr ? mGame->getAppWindow() : nullptr;
    if (window == nullptr || window->getWindow() == nullptr)
        return;
    Platform::Window* w = window->getWindow();
    Platform::LogicalArea area =
        Platform::fitLogicalArea(w->clientWidth(), w->clientHeight(), kFrameWidth, kFrameHeight);
    if (area.width <= 0 || area.height <= 0)
        return;
    // The centre of the window pixel that maps onto the frame pixel.
    wx = area.x + int((int64_t(x) * area.width + area.width / 2) / kFrameWidth);
    wy = area.y + int((int64_t(y) * area.height + area.height / 2) / kFrameHeight);
}

void Driver::pushMouse(uint32_t type, int x, int y, uint8_t button)
{
    int wx = 0;
    int wy = 0;
    toWindow(x, y, wx, wy);
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEMOTION)
    {
        event.motion.windowID = windowId();
        event.motion.which = kDriverMouse;
        event.motion.x = wx;
        event.motion.y = wy;
        event.motion.xrel = x - mMouseX;
        event.motion.yrel = y - mMouseY;
    }
    else
    {
        event.button.windowID = windowId();
        event.button.which = kDriverMouse;
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = 1;
        event.button.x = wx;
        event.button.y = wy;
    }
    mMouseX = x;
    mMouseY = y;
    SDL_PushEvent(&event);
}

void Driver::mouseMove(int x, int y)
{
    pushMouse(SDL_MOUSEMOTION, x, y, 0);
}

void Driver::mouseDown(int x, int y, bool right)
{
    pushMouse(SDL_MOUSEBUTTONDOWN, x, y, right ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT);
}

void Driver::mouseUp(int x, int y, bool right)
{
    pushMouse(SDL_MOUSEBUTTONUP, x, y, right ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT);
}

void Driver::click(int x, int y, bool right)
{
    mouseMove(x, y);
    step();
    mouseDown(x, y, right);
    step();
    mouseUp(x, y, right);
    step();
}

void Driver::doubleClick(int x, int y)
{
    mouseMove(x, y);
    step();
    for (int i = 0; i < 2; ++i)
    {
        mouseDown(x, y);
        step(10);
        mouseUp(x, y);
        step(10);
    }
}

void Driver::click(Component* widget)
{
    ASSERT_NE(widget, nullptr);
    Rect r = widget->getRect();
    click(r.x + r.width / 2, r.y + r.height / 2);
}

void Driver::wheel(int notches)
{
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = windowId();
    event.wheel.which = kDriverMouse;
    event.wheel.y = notches;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&event);
}

void Driver::keyDown(SDL_Scancode scancode, SDL_Keycode key, const std::string& typed)
{
    pushKey(windowId(), SDL_KEYDOWN, scancode, key);
    if (!typed.empty())
    {
        SDL_Event text{};
        text.type = SDL_TEXTINPUT;
        text.text.windowID = windowId();
        SDL_strlcpy(text.text.text, typed.c_str(), sizeof text.text.text);
        SDL_PushEvent(&text);
    }
}

void Driver::keyUp(SDL_Scancode scancode, SDL_Keycode key)
{
    pushKey(windowId(), SDL_KEYUP, scancode, key);
}

void Driver::pressKey(SDL_Scancode scancode, SDL_Keycode key, const std::string& typed)
{
    keyDown(scancode, key, typed);
    step();
    keyUp(scancode, key);
    step();
}

void Driver::type(const std::string& utf8)
{
    for (size_t i = 0; i < utf8.size();)
    {
        // One UTF-8 sequence at a time.
        size_t length = 1;
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        const std::string character = utf8.substr(i, length);
        i += length;
        SDL_Keycode key = SDLK_UNKNOWN;
        SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN;
        if (length == 1 && character[0] >= 'a' && character[0] <= 'z')
        {
            key = SDL_Keycode(character[0]);
            scancode = SDL_Scancode(SDL_SCANCODE_A + (character[0] - 'a'));
        }
        else if (length == 1 && character[0] >= 'A' && character[0] <= 'Z')
        {
            key = SDL_Keycode(character[0] - 'A' + 'a');
            scancode = SDL_Scancode(SDL_SCANCODE_A + (character[0] - 'A'));
        }
        else if (length == 1 && character[0] >= '0' && character[0] <= '9')
        {
            key = SDL_Keycode(character[0]);
            scancode =
                character[0] == '0' ? SDL_SCANCODE_0 : SDL_Scancode(SDL_SCANCODE_1 + (character[0] - '1'));
        }
        else if (character == " ")
        {
            key = SDLK_SPACE;
            scancode = SDL_SCANCODE_SPACE;
        }
        if (scancode == SDL_SCANCODE_UNKNOWN)
        {
            // An accented letter of a French keyboard: the text alone, as a
            // dead key or a layout gives it.
            SDL_Event text{};
            text.type = SDL_TEXTINPUT;
            text.text.windowID = windowId();
            SDL_strlcpy(text.text.text, character.c_str(), sizeof text.text.text);
            SDL_PushEvent(&text);
            step();
            continue;
        }
        pressKey(scancode, key, character);
    }
}

Container* Driver::root() const
{
    GuiManager* gui = GuiManager::current();
    return gui != nullptr ? gui->getRoot() : nullptr;
}

std::vector<Component*> Driver::layers() const
{
    Container* top = root();
    return top != nullptr ? top->getChildren() : std::vector<Component*>{};
}

std::vector<Component*> Driver::all(Component* under) const
{
    std::vector<Component*> found;
    std::vector<Component*> pending;
    if (under != nullptr)
        pending.push_back(under);
    else if (Container* top = root())
        pending.push_back(top);
    while (!pending.empty())
    {
        Component* c = pending.back();
        pending.pop_back();
        found.push_back(c);
        if (auto* container = dynamic_cast<Container*>(c))
            for (auto it = container->getChildren().rbegin(); it != container->getChildren().rend(); ++it)
                pending.push_back(*it);
    }
    return found;
}

std::string Driver::textOf(Component* widget)
{
    if (auto* label = dynamic_cast<Label*>(widget))
        return label->getTextObject() != nullptr ? label->getTextObject()->getText() : std::string();
    if (auto* button = dynamic_cast<TextButton*>(widget))
        return button->getCaption() != nullptr ? button->getCaption()->getText() : std::string();
    return {};
}

Component* Driver::findText(const std::string& text, Component* under) const
{
    for (Component* c : all(under))
        if (shown(c) && textOf(c) == text)
            return c;
    return nullptr;
}

bool Driver::shown(Component* widget)
{
    if (widget == nullptr || !widget->isAttachedToRoot())
        return false;
    for (Component* c = widget; c != nullptr; c = c->getParent())
        if (!c->isVisible())
            return false;
    return true;
}

Frame Driver::readFrame()
{
    Frame frame;
    auto* engine = mGame != nullptr ? dynamic_cast<Engine2DD3D*>(mGame->getEngine2D()) : nullptr;
    auto* device = engine != nullptr ? dynamic_cast<Platform::Gpu::GlDevice*>(engine->getDevice()) : nullptr;
    if (device != nullptr)
        frame.pixels = device->readFrame();
    if (frame.pixels.size() != size_t(kFrameWidth) * kFrameHeight)
        frame.pixels.clear();
    return frame;
}

std::string Driver::savePng(const std::string& tag)
{
    Frame frame = readFrame();
    if (frame.empty())
        return {};
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info != nullptr ? std::string(info->test_suite_name()) + "." + info->name() : "play";
    for (char& c : name)
        if (c == '/')
            c = '-';
    std::string path = fs::absolute(name + "-" + tag + ".png").string();
    Platform::Gpu::writePng(path, kFrameWidth, kFrameHeight, frame.pixels.data());
    return path;
}

namespace
{
// Appends every message box to a file the parent reads once the child ended,
// however it ended.
class FileMessageSink final : public Platform::MessageSink
{
public:
    explicit FileMessageSink(std::string path) : mPath(std::move(path)) {}
    void show(const std::string& title, const std::string& text, Platform::MessageKind) override
    {
        std::string line = Platform::cp1252ToUtf8(title + ": " + text);
        for (char& c : line)
            if (c == '\n')
                c = ' ';
        std::ofstream(mPath, std::ios::app) << line << std::endl;
    }

private:
    std::string mPath;
};
} // namespace

ChildRunner::ChildRunner(const std::function<int(Driver&)>& body)
    : mScratch(std::make_unique<Platform::TemporaryDirectory>())
{
    const std::string messages = mScratch->path() + "messages.txt";
    std::fflush(nullptr);
    mPid = fork();
    if (mPid == 0)
    {
        int result = 1;
        {
            Driver driver;
            auto previous = Platform::setMessageSink(std::make_shared<FileMessageSink>(messages));
            result = body(driver);
            driver.stop();
            Platform::setMessageSink(previous);
        }
        std::fflush(nullptr);
        _exit(result);
    }
}

ChildRunner::~ChildRunner()
{
    if (mPid > 0)
    {
        kill(mPid, SIGKILL);
        waitpid(mPid, nullptr, 0);
    }
}

ChildRun ChildRunner::wait()
{
    ChildRun run;
    if (mPid <= 0)
        return run;
    int status = 0;
    waitpid(mPid, &status, 0);
    mPid = -1;
    run.exited = WIFEXITED(status);
    run.exitCode = run.exited ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    std::ifstream in(mScratch->path() + "messages.txt");
    for (std::string line; std::getline(in, line);)
        run.messages.push_back(line);
    return run;
}

ChildRun runInChild(const std::function<int(Driver&)>& body)
{
    return ChildRunner(body).wait();
}

PngOnFailure::~PngOnFailure()
{
    if (::testing::Test::HasFailure() && mDriver.running())
    {
        std::string path = mDriver.savePng(mTag);
        if (!path.empty())
            std::fprintf(stderr, "frame written to %s\n", path.c_str());
    }
}

} // namespace Play
