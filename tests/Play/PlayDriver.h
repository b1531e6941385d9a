#pragma once
// Runs the whole game in the test's process as the program runs it (the
// game's application with its start-up tables, the real GUI, both engines on
// the OpenGL device, the sound manager on SDL's dummy driver) on a fresh copy
// of the data tree the build ships, and drives it as a player does: frames
// stepped on a clock the test owns, mouse and keys sent to the window at its
// own coordinates, waits bounded by a number of frames, and queries over the
// widget tree and the frame read back from the device.
#include "Gui/Component.h"
#include "Gui/GuiTypes.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/GameApplication.h"

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

class Container;
class GameScreen;

namespace Play
{

inline constexpr int kFrameWidth = 1024;
inline constexpr int kFrameHeight = 768;

// The read-back frame: ARGB, top row first.
struct Frame
{
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[size_t(y) * kFrameWidth + size_t(x)]; }
    bool empty() const { return pixels.empty(); }
};

class Driver
{
public:
    // A fresh program folder holding a copy of the build's data tree; with a
    // folder given, that one is used as it stands (a second start on the
    // same install).
    explicit Driver(std::string folder = "");
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // Builds the application and runs its start-up; the start-up's code.
    ErrorCode start();
    // Ends the run as closing the program does (the application is deleted
    // and writes its files); the folder stays.
    void stop();
    GameApplication& game() { return *mGame; }
    bool running() const { return mGame != nullptr && !mQuit; }
    // True once the program has taken its quit message.
    bool quitTaken() const { return mQuit; }
    const std::string& folder() const { return mFolder; }
    std::string dataPath(const std::string& relative) const { return mFolder + "data/" + relative; }

    // One frame after stepMs of the test's clock; false once the program quit.
    bool step(int stepMs = 20);
    void run(int frames, int stepMs = 20);
    // Steps until the condition holds; false when the budget ran out first.
    bool waitFor(const std::function<bool()>& condition, int budget = 300, int stepMs = 20);
    // Lets the menus' unfolding, fades and infotips settle for frames x 40 ms
    // of the clock, in steps of 100 ms (animations follow the clock, not the
    // number of frames).
    void settle(int frames = 60) { run((frames * 40 + 99) / 100, 100); }

    // Input at window coordinates derived from frame coordinates, so that a
    // scaled window is driven where the player would point.
    void mouseMove(int x, int y);
    void mouseDown(int x, int y, bool right = false);
    void mouseUp(int x, int y, bool right = false);
    // Move, press, release, with a frame between each.
    void click(int x, int y, bool right = false);
    void doubleClick(int x, int y);
    void click(Component* widget);
    void wheel(int notches);
    // A key with what it types (UTF-8, may be empty).
    void keyDown(SDL_Scancode scancode, SDL_Keycode key, const std::string& typed = "");
    void keyUp(SDL_Scancode scancode, SDL_Keycode key);
    void pressKey(SDL_Scancode scancode, SDL_Keycode key, const std::string& typed = "");
    // Types each character (UTF-8) as a key press, accents included.
    void type(const std::string& utf8);

    // The widget tree as it is now.
    Container* root() const;
    std::vector<Component*> layers() const;
    std::vector<Component*> all(Component* under = nullptr) const;
    template <class T> std::vector<T*> allOf(Component* under = nullptr) const
    {
        std::vector<T*> found;
        for (Component* c : all(under))
            if (auto* t = dynamic_cast<T*>(c))
                found.push_back(t);
        return found;
    }
    template <class T> T* find(Component* under = nullptr) const
    {
        std::vector<T*> found = allOf<T>(under);
        return found.empty() ? nullptr : found.front();
    }
    // The top layer of a type, if one is open.
    template <class T> T* layer() const
    {
        std::vector<Component*> open = layers();
        for (auto it = open.rbegin(); it != open.rend(); ++it)
            if (auto* t = dynamic_cast<T*>(*it))
                return t;
        return nullptr;
    }
    // A label or text button showing exactly this text (Windows-1252).
    Component* findText(const std::string& text, Component* under = nullptr) const;
    // Shown: visible itself and every ancestor, attached to the root.
    static bool shown(Component* widget);
    static std::string textOf(Component* widget);

    // The frame as drawn by the last step.
    Frame readFrame();
    // Writes the last frame as <test name>-<tag>.png in the working folder.
    std::string savePng(const std::string& tag);
    // Message boxes shown through the program's message sink.
    const std::vector<Platform::RecordingMessageSink::Message>& messageBoxes() const
    {
        return mMessages->messages();
    }

    // The SDL id of the program's window; 0 before it is made.
    uint32_t windowId() const;

private:
    void pushMouse(uint32_t type, int x, int y, uint8_t button);
    void toWindow(int x, int y, int& wx, int& wy) const;

    std::unique_ptr<Platform::TemporaryDirectory> mOwnFolder;
    std::string mFolder;
    std::unique_ptr<Platform::ScopedMessageCapture> mMessages;
    ApplicationSettings mSettings;
    std::unique_ptr<GameApplication> mGame;
    bool mQuit = false;
    int mMouseX = 0;
    int mMouseY = 0;
};

// The frame saved as a PNG when the current test has failed by the end of
// the scope (declare it right after the driver).
class PngOnFailure
{
public:
    explicit PngOnFailure(Driver& driver, std::string tag = "failure") : mDriver(driver), mTag(std::move(tag))
    {
    }
    ~PngOnFailure();

private:
    Driver& mDriver;
    std::string mTag;
};

// How a run in a child process ended, and the message boxes it showed
// (UTF-8, one "title: text" each).
struct ChildRun
{
    bool exited = false;
    int exitCode = -1;
    int signal = 0;
    std::vector<std::string> messages;
};
// Runs the body in a forked child whose exit code is the body's result, so
// that a program that ends its process (a fatal error) or crashes does not
// end the test. The body's message boxes are recorded for the parent.
ChildRun runInChild(const std::function<int(Driver&)>& body);

// The same, started now and waited for later; a child not waited for is
// ended when the runner goes.
class ChildRunner
{
public:
    explicit ChildRunner(const std::function<int(Driver&)>& body);
    ~ChildRunner();
    ChildRunner(const ChildRunner&) = delete;
    ChildRunner& operator=(const ChildRunner&) = delete;
    ChildRun wait();

private:
    std::unique_ptr<Platform::TemporaryDirectory> mScratch;
    int mPid = -1;
};

// Copies a data folder (a build's data/) into folder/data, leaving out the
// files a game run from it wrote there (set-up, settings, records, language
// file, saved games): the copy holds the shipped data alone.
void copyShippedData(const std::string& fromData, const std::string& folder);

// The text as the program holds it (Windows-1252).
std::string cp1252(const std::string& utf8);

} // namespace Play
