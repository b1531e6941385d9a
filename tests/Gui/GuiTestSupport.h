#pragma once
// An application with the GUI services (look table, GUI manager), the null
// input manager's cursor, a recording sound manager and a fake font, plus
// widgets and layers that log what reaches them.
#include "../Sound/RecordingSoundManager.h"
#include "Engine/Engine2D.h"
#include "Framework/ApplicationGeneric.h"
#include "Gui/Container.h"
#include "Gui/Dialog.h"
#include "Gui/GuiManager.h"
#include "Gui/Layer.h"
#include "Gui/Look.h"
#include "Gui/Text.h"
#include "Gui/Window.h"
#include "Platform/System/MessageSink.h"
#include "StubEngine2D.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using Log = std::vector<std::string>;

// Lays a text out as one line of lineHeight per '\n'-separated line, a
// character being 7 pixels wide.
class FakeText final : public Text2D
{
public:
    FakeText(int32_t x, int32_t y, int32_t width, const std::string& text, uint32_t color, int32_t lineHeight)
        : x(x), y(y), width(width), text(text), color(color), lineHeight(lineHeight)
    {
    }
    void setPosition(int32_t newX, int32_t newY) override
    {
        x = newX;
        y = newY;
    }
    ErrorCode render() override
    {
        ++renders;
        return 0;
    }
    void setText(const std::string& newText, bool) override { text = newText; }
    const std::string& getText() const override { return text; }
    void setWidth(int32_t newWidth) override { width = newWidth; }
    void setColor(uint32_t argb) override { color = argb; }
    void setRenderList(RenderList* list) override { renderList = list; }
    int32_t getHeight() const override
    {
        if (text.empty())
            return 0;
        int32_t lines = 1;
        for (char c : text)
            lines += c == '\n' ? 1 : 0;
        return lines * lineHeight;
    }
    int32_t getMaxLineWidth() const override { return static_cast<int32_t>(text.size()) * 7; }

    int32_t x, y, width;
    std::string text;
    uint32_t color;
    int32_t lineHeight;
    RenderList* renderList = nullptr;
    int renders = 0;
};

class FakeFont final : public Font
{
public:
    explicit FakeFont(int32_t lineHeight) : mLineHeight(lineHeight) {}
    bool isLoaded() const override { return true; }
    ErrorCode load() override { return 0; }
    std::unique_ptr<Text2D> createText(int32_t x, int32_t y, int32_t width, const std::string& text,
                                       uint32_t color, int32_t size, uint32_t) override
    {
        return std::make_unique<FakeText>(x, y, width, text, color, size > 0 ? size : mLineHeight);
    }
    bool hasChar(uint8_t) override { return true; }
    int32_t getLineHeight() const override { return mLineHeight; }

private:
    int32_t mLineHeight;
};

// A 2D engine that draws nothing; its opening effects log their steps.
class FakeEngine2D final : public StubEngine2D
{
public:
    struct Effect final : LayerEffect
    {
        explicit Effect(Log* log) : log(log) {}
        uint32_t getDuration() override { return 1000; }
        void begin(float t, const Rect2D&) override { log->push_back(t < 1.0f ? "begin" : "begin 1"); }
        void end() override { log->push_back("end"); }
        Log* log;
    };

    uint32_t getOpeningEffectCount() override { return effectCount; }
    std::unique_ptr<LayerEffect> createOpeningEffect(uint32_t kind) override
    {
        return kind < 2 && effectLog != nullptr ? std::make_unique<Effect>(effectLog) : nullptr;
    }

    uint32_t effectCount = 0;
    Log* effectLog = nullptr;
};

class GuiTestApplication final : public ApplicationGeneric
{
public:
    GuiTestApplication() : ApplicationGeneric(settings())
    {
        setService(std::make_unique<RecordingSoundManager>());
        setService(std::make_unique<FakeEngine2D>());
        setService(std::make_unique<LookTable>());
        setService(std::make_unique<GuiManager>());
        gui().init();
        addFont(std::make_unique<FakeFont>(11));
    }
    void createFirstWindow() override {}

    static const ApplicationSettings& settings()
    {
        static ApplicationSettings s;
        return s;
    }
    GuiManager& gui() { return *static_cast<GuiManager*>(getGuiManager()); }
    GuiRoot& root() { return *gui().getRoot(); }
    LookTable& looks() { return *static_cast<LookTable*>(getService(SERVICE_LOOK_TABLE)); }
    RecordingSoundManager& sound() { return static_cast<RecordingSoundManager&>(*getSoundManager()); }
    CursorManagerBase& cursor() { return *getCursorManager(); }
    FakeEngine2D& engine() { return static_cast<FakeEngine2D&>(*getEngine2D()); }

    MouseEvent mouse(uint32_t type, int32_t x, int32_t y, uint32_t button = MOUSE_BUTTON_LEFT)
    {
        cursor().mMouseX = x;
        cursor().mMouseY = y;
        MouseEvent event;
        event.mCursor = &cursor();
        event.mType = type;
        event.mButton = button;
        return event;
    }
    void moveMouse(int32_t x, int32_t y) { gui().dispatchMouseEvent(mouse(MOUSE_EVENT_MOVE, x, y)); }
    void press(int32_t x, int32_t y) { gui().dispatchMouseEvent(mouse(MOUSE_EVENT_BUTTON_DOWN, x, y)); }
    void release(int32_t x, int32_t y) { gui().dispatchMouseEvent(mouse(MOUSE_EVENT_BUTTON_UP, x, y)); }
    void click(int32_t x, int32_t y)
    {
        press(x, y);
        release(x, y);
    }
    void key(uint32_t keyId, uint32_t type = KEY_EVENT_PRESSED)
    {
        KeyEvent event;
        event.mKeyId = keyId;
        event.mType = type;
        gui().dispatchKeyEvent(event);
    }

    Platform::ScopedMessageCapture messages;
};

// A widget that logs every event and answers as told.
class Probe : public Component
{
public:
    Probe(Log& log, std::string name, int32_t x, int32_t y, int32_t width, int32_t height)
        : Component(x, y, width, height), log(log), name(std::move(name))
    {
    }
    ~Probe() override { log.push_back(name + " deleted"); }

    uint32_t onMouseEvent(const MouseEvent& event) override
    {
        log.push_back(name + " mouse " + std::to_string(event.mType));
        Component::onMouseEvent(event);
        if (onMouse)
            onMouse(event);
        return mouseResult;
    }
    uint32_t onKeyEvent(const KeyEvent& event) override
    {
        log.push_back(name + " key " + std::to_string(event.mKeyId));
        if (onKey)
            onKey(event);
        return keyResult;
    }
    void onLosePressed() override { log.push_back(name + " lose pressed"); }
    void onLoseFocus() override { log.push_back(name + " lose focus"); }
    void onGainFocus() override { log.push_back(name + " gain focus"); }
    void onMouseEnter() override { log.push_back(name + " enter"); }
    void onMouseLeave() override { log.push_back(name + " leave"); }
    bool keepsHover() override { return keeps; }
    std::string getInfotipText() override { return infotip; }
    void animate() override { ++animations; }
    ErrorCode render() override
    {
        log.push_back(name + " render");
        return renderResult;
    }
    int64_t onWindowMessage(uint32_t message, uint64_t, int64_t) override
    {
        log.push_back(name + " message " + std::to_string(message));
        return 0;
    }

    Log& log;
    std::string name;
    uint32_t mouseResult = 0;
    uint32_t keyResult = 0;
    ErrorCode renderResult = 0;
    bool keeps = false;
    std::string infotip;
    int animations = 0;
    std::function<void(const MouseEvent&)> onMouse;
    std::function<void(const KeyEvent&)> onKey;
};

class TestLayer : public Layer
{
public:
    TestLayer(Log& log, std::string name, int32_t x, int32_t y, int32_t width, int32_t height,
              const Margins* margins = nullptr)
        : Layer(x, y, width, height, LOOK_EMPTY, false, margins), log(log), name(std::move(name))
    {
    }
    ~TestLayer() override { log.push_back(name + " deleted"); }
    void activate() override { log.push_back(name + " activate"); }
    void deactivate() override { log.push_back(name + " deactivate"); }

    Log& log;
    std::string name;
};

class TestWindow : public Window
{
public:
    TestWindow(Log& log, std::string name, int32_t x, int32_t y, int32_t width, int32_t height, bool movable,
               bool modal)
        : Window(x, y, width, height, movable, LOOK_EMPTY, modal, false), log(log), name(std::move(name))
    {
    }
    ~TestWindow() override { log.push_back(name + " deleted"); }
    void activate() override { log.push_back(name + " activate"); }
    void deactivate() override { log.push_back(name + " deactivate"); }
    int32_t getContentTop() override { return 0; }
    void setMargins(const Margins& margins) { Container::setMargins(margins); }

    Log& log;
    std::string name;
};

class TestDialog : public Dialog
{
public:
    TestDialog(Log& log, uint32_t mask, bool modal = true, uint32_t lookId = LOOK_DIALOG)
        : Dialog(300, 100, "Titre", mask, false, modal, lookId), log(log)
    {
    }
    void onResult(uint32_t bits) override
    {
        log.push_back("result " + std::to_string(bits));
        if (closeOnResult)
            close();
    }

    Log& log;
    bool closeOnResult = false;
};

// Opens a layer and runs the queue, as after a dispatch.
template <class T> T* openNow(GuiTestApplication& app, T* layer)
{
    EXPECT_EQ(layer->open(), 0);
    app.gui().processDeferred();
    return layer;
}
