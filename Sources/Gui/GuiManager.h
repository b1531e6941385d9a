#pragma once
// Application service 6: owns the widget tree (the GUI root) and the infotip,
// tracks the widget that holds the mouse press, the focused widget and the
// hovered widget, routes mouse and key events into the tree, and runs the tree
// operations that widgets post while an event is being dispatched. Structural
// changes wait in that queue so that no traversal ever walks a changed tree: a
// widget may close its own window from its click handler.
//
// A widget waiting in the queue to be added belongs to the queue until it is
// added. Posting a detached widget to be deleted or closed hands it to the
// manager; posting a plain removal gives the widget back to whoever posted it.
#include "Engine/Engine2D.h"
#include "Framework/ServiceInterfaces.h"
#include "Gui/Container.h"
#include "Gui/GuiTypes.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class Component;
class Container;
class GuiRoot;
class Layer;
class Text2D;

// What the widget under the cursor asks the infotip to show.
struct InfotipRequest
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 16;
    int32_t height = 16;
    uint32_t delay = 0;
    std::string text;
    Component* component = nullptr;
    uint32_t placement = 0;

    // Anchor, delay and placement are kept.
    void reset()
    {
        text.clear();
        component = nullptr;
    }
    // The placement is not compared: the same tip elsewhere is not restarted.
    bool operator==(const InfotipRequest& other) const
    {
        return x == other.x && y == other.y && width == other.width && height == other.height &&
               delay == other.delay && text == other.text && component == other.component;
    }
};

// The tool-tip popup the manager owns. The toolkit's infotip implements it;
// until one is installed a silent popup keeps the request and draws nothing.
class InfotipPopup
{
public:
    virtual ~InfotipPopup() = default;
    virtual void animate() {}
    virtual ErrorCode render() { return 0; }
    // A new request: starts the delay and the fade.
    virtual void setRequest(const InfotipRequest& request) { mRequest = request; }
    const InfotipRequest& getRequest() const { return mRequest; }
    virtual ErrorCode onDeviceLost() { return 0; }
    virtual ErrorCode onDeviceReset() { return 0; }
    // The component shown inside is being deleted.
    virtual void forgetComponent(Component* component)
    {
        if (mRequest.component == component)
            mRequest.component = nullptr;
    }

protected:
    InfotipRequest mRequest;
};

// The codes of the queued tree operations.
enum GuiOperation : uint32_t
{
    GUI_OP_ADD = 0,
    GUI_OP_ADD_ON_TOP = 1,
    GUI_OP_REMOVE = 2,
    GUI_OP_REMOVE_AND_DELETE = 3,
    GUI_OP_CLOSE = 4,
    GUI_OP_NONE = 5,
    GUI_OP_REHOVER = 6,
    GUI_OP_RAISE = 7,
    GUI_OP_LOWER = 8
};

// Also the 2D engine's listener for the device objects of the widget tree.
class GuiManager final : public GuiManagerBase, public DeviceObjectsListener
{
public:
    struct Operation
    {
        Component* component;
        uint32_t op;
        Container* parent;
        // The widget of an add, held until it is added.
        ChildPtr child{nullptr, ChildDeleter{true}};
    };

    GuiManager();
    ~GuiManager() override;

    // Installs the creators of services 5 (the look table) and 6 (this
    // manager) for the application built next.
    static void registerServices();
    // The manager of the running application (the last one made), or null.
    static GuiManager* current();
    // How the manager makes its infotip; an empty creator restores the silent one.
    static void setInfotipCreator(std::function<std::unique_ptr<InfotipPopup>()> creator);
    // How intro screens are shown; until the fading intro window is installed
    // an intro screen ends at once.
    static void setIntroScreenOpener(std::function<void(const IntroScreen&, std::function<void()>)> opener);

    ErrorCode init() override;
    void animate() override;
    ErrorCode render() override;
    void dispatchMouseEvent(const MouseEvent& event) override;
    void dispatchKeyEvent(const KeyEvent& event) override;
    void broadcastWindowMessage(uint32_t message, uint64_t wParam, int64_t lParam) override;
    void openIntroScreen(const IntroScreen& screen, std::function<void()> onEnd) override;
    std::unique_ptr<OverlayTextBase> createOverlayText(BitmapFontBase* font, int32_t x, int32_t y,
                                                       int32_t width) override;
    void updateLayout();
    // Around a device reset: the tree, then the infotip.
    ErrorCode onDeviceLost() override;
    ErrorCode onDeviceReset() override;

    void setPressed(Component* widget);
    void clearPressed(Component* widget);
    void setFocus(Component* widget);
    void clearFocus(Component* widget);
    Component* getPressed() const { return mPressed; }
    Component* getFocused() const { return mFocused; }
    Component* getHovered() const { return mHovered; }
    Component* getHoverCandidate() const { return mHoverCandidate; }
    // The widget already asked during the current key dispatch.
    Component* getSkipWidget() const { return mSkipWidget; }
    Component* getPressedOrRoot();
    Component* getFocusedOrRoot();
    GuiRoot* getRoot() const { return mRoot.get(); }
    void setHoverCandidate(Component* widget);

    // A delay of 0xFFFFFFFF takes the manager's default delay.
    void showInfotip(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text,
                     uint32_t delay, Component* component, uint32_t placement);
    bool isInfotipEnabled() const { return mInfotipEnabled; }
    void setInfotipEnabled(bool enabled) { mInfotipEnabled = enabled; }
    uint32_t getInfotipDelay() const { return mInfotipDelay; }
    void setInfotipDelay(uint32_t ms) { mInfotipDelay = ms; }
    const InfotipRequest& getInfotipRequest() const { return mInfotipRequest; }
    InfotipPopup* getInfotip() const { return mInfotip.get(); }

    // An add posted this way takes a widget just made with new.
    void postOperation(Component* component, uint32_t op, Container* parent);
    // Add and add-on-top with the widget's entry.
    void postAdd(ChildPtr child, uint32_t op, Container* parent);
    const std::deque<Operation>& getOperations() const { return mOperations; }
    void raise(Component* component);
    ErrorCode openLayer(Layer* layer);
    void closeLayer(Layer* layer);
    // Runs the queued operations, unless a run is already going on.
    void processDeferred();

    // Called by every component's destructor.
    void forgetComponent(Component* component);

    // Components that hear the raw window messages while their layer is
    // reachable (not under a modal layer).
    void addWindowMessageListener(Component* component);
    void removeWindowMessageListener(Component* component);

    // The lock the entry points hold: the application's, or the manager's own
    // when no application runs (tools and tests).
    std::recursive_mutex& getLock();

private:
    void runOperation(Operation& operation);
    // The top child of the container changed from previousTop.
    static void switchActiveLayer(Container* parent, Component* previousTop);

    std::deque<Operation> mOperations;
    std::unique_ptr<GuiRoot> mRoot;
    Component* mPressed = nullptr;
    Component* mFocused = nullptr;
    Component* mHovered = nullptr;
    Component* mHoverCandidate = nullptr;
    Component* mSkipWidget = nullptr;
    std::unique_ptr<InfotipPopup> mInfotip;
    InfotipRequest mInfotipRequest;
    bool mInfotipEnabled = true;
    uint32_t mInfotipDelay = 500;
    bool mProcessing = false;
    std::vector<Component*> mListeners;
    std::recursive_mutex mOwnLock;
};
