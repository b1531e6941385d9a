#pragma once
// An application for the widget tests: the GUI services, a recording sound
// manager, a manual clock, a null desktop for the clipboard and the control
// keys, and a font whose text objects keep a caret and a selection (every
// character 7 pixels wide, on one line).
#include "Framework/Desktop.h"
#include "Framework/Keys.h"
#include "Framework/Timer.h"
#include "GuiTestSupport.h"
#include "Platform/System/Clock.h"

#include <algorithm>
#include <set>

class EditText final : public Text2D
{
public:
    static constexpr int32_t kCharWidth = 7;

    EditText(int32_t x, int32_t y, int32_t width, const std::string& text, uint32_t color, int32_t size,
             uint32_t flags)
        : x(x), y(y), width(width), text(text), color(color), size(size), flags(flags)
    {
    }
    void setPosition(int32_t newX, int32_t newY) override
    {
        x = newX;
        y = newY;
    }
    ErrorCode render() override { return 0; }
    void setText(const std::string& newText, bool) override
    {
        if (newText == text)
            return;
        text = newText;
        auto length = static_cast<int32_t>(text.size());
        caret = std::min(caret, length);
        selectionEnd = std::min(selectionEnd, length);
        if (selectionEnd < selectionStart)
            selectionStart = selectionEnd = 0;
    }
    const std::string& getText() const override { return text; }
    void setWidth(int32_t newWidth) override { width = newWidth; }
    void setColor(uint32_t argb) override { color = argb; }
    void setRenderList(RenderList* list) override { renderList = list; }
    int32_t getHeight() const override { return text.empty() ? 0 : size; }
    int32_t getSize() const override { return size; }
    void setSize(int32_t newSize) override { size = newSize; }
    int32_t getMaxLineWidth() const override { return static_cast<int32_t>(text.size()) * kCharWidth; }
    void setCaret(int32_t index, bool extend) override
    {
        if (!extend)
        {
            caret = selectionStart = selectionEnd = index;
            return;
        }
        int32_t anchor = caret == selectionStart ? selectionEnd : selectionStart;
        selectionStart = std::min(anchor, index);
        selectionEnd = std::max(anchor, index);
        caret = index;
    }
    int32_t getCaret() const override { return caret; }
    int32_t getSelectionStart() const override { return selectionStart; }
    int32_t getSelectionEnd() const override { return selectionEnd; }
    void showCaret(bool show) override { flags = show ? flags | TEXT_SHOW_CARET : flags & ~TEXT_SHOW_CARET; }
    void showSelection(bool show) override
    {
        flags = show ? flags | TEXT_SHOW_SELECTION : flags & ~TEXT_SHOW_SELECTION;
    }
    uint32_t getFlags() const override { return flags; }
    void setAlignment(uint32_t alignment) override { flags = (flags & ~3u) | (alignment & 3u); }
    void setWordWrap(bool wrap) override { flags = wrap ? flags | TEXT_WORD_WRAP : flags & ~TEXT_WORD_WRAP; }
    void getCharPosition(int32_t index, int32_t& outX, int32_t& outY) const override
    {
        outX = x + index * kCharWidth;
        outY = y;
    }
    int32_t hitTestChar(int32_t px, int32_t) const override
    {
        for (int32_t i = 0; i < static_cast<int32_t>(text.size()); ++i)
        {
            if (x + i * kCharWidth + kCharWidth / 2 >= px)
                return i;
        }
        return static_cast<int32_t>(text.size());
    }

    bool caretShown() const { return (flags & TEXT_SHOW_CARET) != 0; }
    bool selectionShown() const { return (flags & TEXT_SHOW_SELECTION) != 0; }

    int32_t x, y, width;
    std::string text;
    uint32_t color;
    int32_t size;
    uint32_t flags;
    int32_t caret = 0;
    int32_t selectionStart = 0;
    int32_t selectionEnd = 0;
    RenderList* renderList = nullptr;
};

class EditFont final : public Font
{
public:
    bool isLoaded() const override { return true; }
    ErrorCode load() override { return 0; }
    std::unique_ptr<Text2D> createText(int32_t x, int32_t y, int32_t width, const std::string& text,
                                       uint32_t color, int32_t size, uint32_t flags) override
    {
        return std::make_unique<EditText>(x, y, width, text, color, size > 0 ? size : 11, flags);
    }
    bool hasChar(uint8_t code) override { return missing.count(code) == 0; }
    int32_t getLineHeight() const override { return 11; }

    std::set<uint8_t> missing;
};

// A button look that keeps a click sound id.
class SoundLook final : public Look
{
public:
    explicit SoundLook(uint32_t sound) : Look(0, 0, nullptr, nullptr), sound(sound) {}
    uint32_t getKind() override { return LOOK_KIND_BUTTON; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override
    {
        return std::make_unique<EmptyRenderer>(this, widget);
    }
    uint32_t getValue() override { return sound; }
    uint32_t sound;
};

// A look whose container frame has margins of its own.
class MarginLook final : public Look
{
public:
    explicit MarginLook(Margins margins) : Look(0, 0, nullptr, nullptr), margins(margins) {}
    uint32_t getKind() override { return LOOK_KIND_CONTAINER; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override
    {
        return std::make_unique<EmptyRenderer>(this, widget);
    }
    Margins getMargins() override { return margins; }
    Margins margins;
};

class WidgetTestApplication final : public ApplicationGeneric
{
public:
    WidgetTestApplication() : ApplicationGeneric(GuiTestApplication::settings())
    {
        resetTimeBase();
        setService(std::make_unique<RecordingSoundManager>());
        setService(std::make_unique<FakeEngine2D>());
        setService(std::make_unique<LookTable>());
        setService(std::make_unique<GuiManager>());
        gui().init();
        auto editFont = std::make_unique<EditFont>();
        font = editFont.get();
        addFont(std::move(editFont));
        previousDesktop = setDesktop(desktop);
    }
    ~WidgetTestApplication() override
    {
        // The layers log into this object.
        root().deleteAllChildren();
        setDesktop(previousDesktop);
    }
    void createFirstWindow() override {}

    GuiManager& gui() { return *static_cast<GuiManager*>(getGuiManager()); }
    GuiRoot& root() { return *gui().getRoot(); }
    LookTable& looks() { return *static_cast<LookTable*>(getService(SERVICE_LOOK_TABLE)); }
    std::vector<std::string>& sounds() { return static_cast<RecordingSoundManager&>(*getSoundManager()).log; }
    CursorManagerBase& cursor() { return *getCursorManager(); }

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
        moveMouse(x, y);
        press(x, y);
        release(x, y);
    }
    void wheel(int32_t x, int32_t y, int32_t delta)
    {
        MouseEvent event = mouse(MOUSE_EVENT_WHEEL, x, y);
        event.mWheelDelta = delta;
        gui().dispatchMouseEvent(event);
    }
    void key(uint32_t keyId, const char* chars = "", uint32_t type = KEY_EVENT_PRESSED)
    {
        KeyEvent event;
        event.mKeyId = keyId;
        event.mType = type;
        for (size_t i = 0; i < 2 && chars[i] != 0; ++i)
            event.mChars[i] = chars[i];
        gui().dispatchKeyEvent(event);
    }
    void setControl(bool down) { desktop->setVirtualKeyDown(keyIdToVirtualKey(KEY_LCTRL), down); }
    // A frame: the tree animates, then the queue runs.
    void frame(int64_t ms = 0)
    {
        clock.advanceMs(ms);
        gui().animate();
    }
    // A layer of the whole screen, opened, for widgets to live in.
    TestLayer* screen()
    {
        auto* layer = new TestLayer(layerLog, "screen", 0, 0, 1024, 768);
        layer->open();
        gui().processDeferred();
        return layer;
    }

    Platform::ManualClock clock;
    Platform::ScopedMessageCapture messages;
    std::shared_ptr<NullDesktop> desktop = std::make_shared<NullDesktop>();
    std::shared_ptr<Desktop> previousDesktop;
    EditFont* font = nullptr;
    Log layerLog;
};
