#include "Gui/GuiManager.h"

#include "Framework/ApplicationGeneric.h"
#include "Gui/Container.h"
#include "Gui/FadePopup.h"
#include "Gui/Infotip.h"
#include "Gui/Layer.h"
#include "Gui/Look.h"
#include "Gui/Text.h"
#include "Gui/TextButton.h"

#include <algorithm>

namespace
{
GuiManager* gCurrentManager = nullptr;

// A widget posted to be deleted or closed is the queue's: out of its parent
// (which may only have been showing it) and gone.
void deleteHandedOver(Component* component)
{
    if (component == nullptr)
        return;
    if (Container* parent = component->getParent())
        parent->removeChild(component);
    std::unique_ptr<Component> handedOver(component);
}

Engine2D* findEngine()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? dynamic_cast<Engine2D*>(application->getEngine2D()) : nullptr;
}

std::function<std::unique_ptr<InfotipPopup>()>& infotipCreator()
{
    static std::function<std::unique_ptr<InfotipPopup>()> creator;
    return creator;
}

std::function<void(const IntroScreen&, std::function<void()>)>& introScreenOpener()
{
    static std::function<void(const IntroScreen&, std::function<void()>)> opener;
    return opener;
}

// The timing overlay drawn with a text object of a font.
class OverlayText final : public OverlayTextBase
{
public:
    explicit OverlayText(std::unique_ptr<Text2D> text) : mText(std::move(text)) {}
    void setText(const std::string& text) override { mText->setText(text, true); }
    ErrorCode render() override { return mText->render(); }

private:
    std::unique_ptr<Text2D> mText;
};
} // namespace

GuiManager::GuiManager()
{
    gCurrentManager = this;
}

GuiManager::~GuiManager()
{
    std::lock_guard lock(getLock());
    // Every component of the tree forgets itself on the way, and the layers
    // still waiting to be added go with their parent.
    mRoot.reset();
    // What is left names detached components only: what was to be added or
    // deleted is deleted now rather than leaked (an add's widget goes with
    // its entry).
    while (!mOperations.empty())
    {
        Operation operation = std::move(mOperations.front());
        mOperations.pop_front();
        if (operation.op == GUI_OP_REMOVE_AND_DELETE || operation.op == GUI_OP_CLOSE)
            deleteHandedOver(operation.component);
    }
    mInfotip.reset();
    mListeners.clear();
    if (Engine2D* engine = findEngine())
        engine->setGuiDeviceListener(nullptr);
    if (gCurrentManager == this)
        gCurrentManager = nullptr;
}

void GuiManager::registerServices()
{
    setServiceCreator(SERVICE_LOOK_TABLE,
                      [](const ApplicationSettings&) { return std::make_unique<LookTable>(); });
    setServiceCreator(SERVICE_GUI_MANAGER,
                      [](const ApplicationSettings&) { return std::make_unique<GuiManager>(); });
    // The dialogs' buttons are the widget set's text buttons.
    installTextButtonDialogKit();
    // The toolkit's own tool-tip and fading intro window.
    Infotip::install();
    FadePopup::installIntroScreenOpener();
}

GuiManager* GuiManager::current()
{
    return gCurrentManager;
}

void GuiManager::setInfotipCreator(std::function<std::unique_ptr<InfotipPopup>()> creator)
{
    infotipCreator() = std::move(creator);
}

void GuiManager::setIntroScreenOpener(std::function<void(const IntroScreen&, std::function<void()>)> opener)
{
    introScreenOpener() = std::move(opener);
}

std::recursive_mutex& GuiManager::getLock()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? application->getLock() : mOwnLock;
}

ErrorCode GuiManager::init()
{
    std::lock_guard lock(getLock());
    const std::function<std::unique_ptr<InfotipPopup>()>& creator = infotipCreator();
    mInfotip = creator ? creator() : nullptr;
    if (!mInfotip)
        mInfotip = std::make_unique<InfotipPopup>();
    mInfotipRequest = InfotipRequest();
    ApplicationGeneric* application = getApplication();
    int32_t width =
        application != nullptr ? static_cast<int32_t>(application->getSettings().mClientWidth) : 1024;
    int32_t height =
        application != nullptr ? static_cast<int32_t>(application->getSettings().mClientHeight) : 768;
    mRoot = std::make_unique<GuiRoot>(width, height);
    if (Engine2D* engine = findEngine())
        engine->setGuiDeviceListener(this);
    return 0;
}

ErrorCode GuiManager::onDeviceLost()
{
    std::lock_guard lock(getLock());
    if (mRoot)
    {
        if (ErrorCode code = mRoot->onDeviceLost())
            return code;
    }
    return mInfotip ? mInfotip->onDeviceLost() : 0;
}

ErrorCode GuiManager::onDeviceReset()
{
    std::lock_guard lock(getLock());
    if (mRoot)
    {
        if (ErrorCode code = mRoot->onDeviceReset())
            return code;
    }
    return mInfotip ? mInfotip->onDeviceReset() : 0;
}

void GuiManager::animate()
{
    std::lock_guard lock(getLock());
    if (mRoot)
        mRoot->animate();
    if (mInfotip)
        mInfotip->animate();
    processDeferred();
}

ErrorCode GuiManager::render()
{
    std::lock_guard lock(getLock());
    if (!mRoot)
        return 0;
    if (ErrorCode code = mRoot->render())
        return code;
    // Over everything else.
    return mInfotip ? mInfotip->render() : 0;
}

void GuiManager::updateLayout()
{
    std::lock_guard lock(getLock());
    if (mRoot)
        mRoot->updateLayout();
}

void GuiManager::dispatchMouseEvent(const MouseEvent& event)
{
    std::lock_guard lock(getLock());
    if (!mRoot)
        return;
    bool move = event.mType == MOUSE_EVENT_MOVE;
    // 1. A move starts a new search for the hovered widget and its infotip.
    if (move)
    {
        mHoverCandidate = nullptr;
        mInfotipRequest.reset();
    }
    // 2. The widget that holds the press sees every event, wherever the cursor is.
    Component* target = getPressedOrRoot();
    target->onMouseEvent(event);
    // 3. The widget that asked last becomes the hovered one.
    if (move)
    {
        if (mHoverCandidate != mHovered)
        {
            Component* previous = mHovered;
            mHovered = nullptr;
            if (previous != nullptr)
                previous->setHovered(false);
            mHovered = mHoverCandidate;
            if (mHovered != nullptr)
                mHovered->setHovered(true);
        }
        mHoverCandidate = nullptr;
        if (mInfotip && !(mInfotipRequest == mInfotip->getRequest()))
            mInfotip->setRequest(mInfotipRequest);
    }
    processDeferred();
}

void GuiManager::dispatchKeyEvent(const KeyEvent& event)
{
    std::lock_guard lock(getLock());
    if (!mRoot)
        return;
    mSkipWidget = nullptr;
    Component* target = getFocusedOrRoot();
    uint32_t result = target->onKeyEvent(event);
    // A key the focused widget leaves goes to the rest of the tree, which
    // does not ask it again. The handler may have deleted it (the skip
    // pointer is then cleared and names nothing).
    if (result == 0 && target != mRoot.get())
    {
        mSkipWidget = mFocused == target ? target : nullptr;
        mRoot->onKeyEvent(event);
        mSkipWidget = nullptr;
    }
    processDeferred();
}

void GuiManager::broadcastWindowMessage(uint32_t message, uint64_t wParam, int64_t lParam)
{
    std::lock_guard lock(getLock());
    if (!mRoot || mListeners.empty())
        return;
    // The layers that hear it: from the top down to the first modal one.
    std::vector<Component*> layers;
    const ChildList children = mRoot->getChildren();
    for (size_t i = children.size(); i-- > 0;)
    {
        Component* child = children[i];
        if (!child->isVisible())
            continue;
        layers.push_back(child);
        Layer* layer = dynamic_cast<Layer*>(child);
        if (layer != nullptr && layer->isModal())
            break;
    }
    // A listener may make or drop listeners while it runs.
    std::vector<Component*> listeners = mListeners;
    for (Component* listener : listeners)
    {
        if (std::find(mListeners.begin(), mListeners.end(), listener) == mListeners.end())
            continue;
        Component* layer = listener->getLayer();
        if (layer == nullptr && listener->getParent() == mRoot.get())
            layer = listener;
        if (std::find(layers.begin(), layers.end(), layer) != layers.end())
            listener->onWindowMessage(message, wParam, lParam);
    }
}

void GuiManager::openIntroScreen(const IntroScreen& screen, std::function<void()> onEnd)
{
    const auto& opener = introScreenOpener();
    if (opener)
        opener(screen, std::move(onEnd));
    else if (onEnd)
        onEnd();
}

std::unique_ptr<OverlayTextBase> GuiManager::createOverlayText(BitmapFontBase* font, int32_t x, int32_t y,
                                                               int32_t width)
{
    Font* textFont = dynamic_cast<Font*>(font);
    if (textFont == nullptr)
        return nullptr;
    std::unique_ptr<Text2D> text = textFont->createText(x, y, width, std::string(), 0xFFFFFFFF, 0, 0);
    if (!text)
        return nullptr;
    return std::make_unique<OverlayText>(std::move(text));
}

void GuiManager::setPressed(Component* widget)
{
    if (mPressed != nullptr)
    {
        Component* previous = mPressed;
        mPressed = nullptr;
        previous->onLosePressed();
    }
    mPressed = widget;
}

void GuiManager::clearPressed(Component* widget)
{
    if (widget == nullptr || widget != mPressed)
        return;
    mPressed = nullptr;
    widget->onLosePressed();
}

void GuiManager::setFocus(Component* widget)
{
    if (mFocused != nullptr)
    {
        Component* previous = mFocused;
        mFocused = nullptr;
        previous->onLoseFocus();
    }
    mFocused = widget;
    if (widget != nullptr)
        widget->onGainFocus();
}

void GuiManager::clearFocus(Component* widget)
{
    if (widget == nullptr || widget != mFocused)
        return;
    mFocused = nullptr;
    widget->onLoseFocus();
}

Component* GuiManager::getPressedOrRoot()
{
    return mPressed != nullptr ? mPressed : mRoot.get();
}

Component* GuiManager::getFocusedOrRoot()
{
    return mFocused != nullptr ? mFocused : mRoot.get();
}

void GuiManager::setHoverCandidate(Component* widget)
{
    if (mHoverCandidate != nullptr && mHoverCandidate->keepsHover())
        return;
    mHoverCandidate = widget;
}

void GuiManager::showInfotip(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text,
                             uint32_t delay, Component* component, uint32_t placement)
{
    mInfotipRequest.x = x;
    mInfotipRequest.y = y;
    mInfotipRequest.width = width;
    mInfotipRequest.height = height;
    mInfotipRequest.text = text;
    mInfotipRequest.delay = delay == 0xFFFFFFFF ? mInfotipDelay : delay;
    mInfotipRequest.component = component;
    mInfotipRequest.placement = placement;
}

void GuiManager::postOperation(Component* component, uint32_t op, Container* parent)
{
    if ((op == GUI_OP_ADD || op == GUI_OP_ADD_ON_TOP) && component != nullptr)
        postAdd(ChildPtr(component), op, parent);
    else
        mOperations.push_back({component, op, parent});
}

void GuiManager::postAdd(ChildPtr child, uint32_t op, Container* parent)
{
    Component* component = child.get();
    // A widget already waiting to be added is not added (or owned) twice.
    for (const Operation& waiting : mOperations)
    {
        if (waiting.child != nullptr && waiting.child.get() == component)
        {
            (void)child.release();
            return;
        }
    }
    mOperations.push_back({component, op, parent, std::move(child)});
}

void GuiManager::raise(Component* component)
{
    postOperation(component, GUI_OP_RAISE, nullptr);
}

ErrorCode GuiManager::openLayer(Layer* layer)
{
    postOperation(layer, GUI_OP_ADD_ON_TOP, mRoot.get());
    postOperation(nullptr, GUI_OP_REHOVER, nullptr);
    // The new layer covers whatever the press was on.
    if (mPressed != nullptr)
    {
        Component* previous = mPressed;
        mPressed = nullptr;
        previous->onLosePressed();
    }
    return 0;
}

void GuiManager::closeLayer(Layer* layer)
{
    postOperation(layer, GUI_OP_CLOSE, nullptr);
    postOperation(nullptr, GUI_OP_REHOVER, nullptr);
}

void GuiManager::processDeferred()
{
    // A re-hover dispatches from inside the run and comes back here; what it
    // posts is taken by the running loop.
    if (mProcessing)
        return;
    std::lock_guard lock(getLock());
    mProcessing = true;
    while (!mOperations.empty())
    {
        Operation operation = std::move(mOperations.front());
        mOperations.pop_front();
        runOperation(operation);
    }
    mProcessing = false;
}

void GuiManager::switchActiveLayer(Container* parent, Component* previousTop)
{
    const ChildList children = parent->getChildren();
    Component* top = children.empty() ? nullptr : children.back();
    if (top == previousTop)
        return;
    if (Layer* layer = dynamic_cast<Layer*>(previousTop))
        layer->deactivate();
    if (Layer* layer = dynamic_cast<Layer*>(top))
        layer->activate();
}

void GuiManager::runOperation(Operation& operation)
{
    Component* component = operation.component;
    switch (operation.op)
    {
    case GUI_OP_ADD:
        if (operation.child != nullptr && operation.parent != nullptr)
            operation.parent->appendChild(std::move(operation.child));
        break;
    case GUI_OP_ADD_ON_TOP:
        if (operation.child != nullptr && operation.parent != nullptr)
        {
            const ChildList children = operation.parent->getChildren();
            if (!children.empty())
            {
                if (Layer* layer = dynamic_cast<Layer*>(children.back()))
                    layer->deactivate();
            }
            operation.parent->appendChild(std::move(operation.child));
            if (Layer* layer = dynamic_cast<Layer*>(component))
                layer->activate();
        }
        break;
    case GUI_OP_REMOVE:
        if (component != nullptr && component->getParent() != nullptr)
            component->getParent()->removeChild(component);
        break;
    case GUI_OP_REMOVE_AND_DELETE:
        // The root is the manager's to delete.
        if (component != nullptr && component != mRoot.get())
            deleteHandedOver(component);
        break;
    case GUI_OP_CLOSE:
        if (component != nullptr && component != mRoot.get())
        {
            if (Container* parent = component->getParent())
            {
                if (Layer* layer = dynamic_cast<Layer*>(component))
                    layer->deactivate();
                parent->removeChild(component);
                const ChildList children = parent->getChildren();
                if (!children.empty())
                {
                    if (Layer* layer = dynamic_cast<Layer*>(children.back()))
                        layer->activate();
                }
            }
            deleteHandedOver(component);
        }
        break;
    case GUI_OP_REHOVER:
    {
        MouseEvent event;
        ApplicationGeneric* application = getApplication();
        event.mCursor = application != nullptr ? application->getCursorManager() : nullptr;
        event.mType = MOUSE_EVENT_MOVE;
        dispatchMouseEvent(event);
        break;
    }
    case GUI_OP_RAISE:
    case GUI_OP_LOWER:
        if (component != nullptr && component->getParent() != nullptr)
        {
            Container* parent = component->getParent();
            Component* previousTop = parent->getChildren().back();
            // Placed anew at the parent's origin plus its current coordinates:
            // back to the relative position first, so that it stays put.
            int32_t x = component->getX() - parent->getX() - parent->getMarginLeft();
            int32_t y = component->getY() - parent->getY() - parent->getMarginTop();
            ChildPtr entry = parent->takeChild(component);
            component->moveTo(x, y, false);
            if (operation.op == GUI_OP_RAISE)
                parent->appendChild(std::move(entry));
            else
                parent->insertChildAtFront(std::move(entry));
            switchActiveLayer(parent, previousTop);
        }
        break;
    default:
        break;
    }
}

void GuiManager::forgetComponent(Component* component)
{
    if (component == nullptr)
        return;
    if (mHoverCandidate == component)
        mHoverCandidate = nullptr;
    if (mHovered == component)
        mHovered = nullptr;
    if (mPressed == component)
        mPressed = nullptr;
    if (mFocused == component)
        mFocused = nullptr;
    if (mSkipWidget == component)
        mSkipWidget = nullptr;
    if (mInfotipRequest.component == component)
        mInfotipRequest.component = nullptr;
    if (mInfotip)
        mInfotip->forgetComponent(component);
    mListeners.erase(std::remove(mListeners.begin(), mListeners.end(), component), mListeners.end());
    // A child still waiting to be added to this parent goes with the parent:
    // its entry is dropped with the operation, once the queue is consistent
    // again (its destructor comes back here).
    std::vector<ChildPtr> orphans;
    for (auto it = mOperations.begin(); it != mOperations.end();)
    {
        if (it->component == component || it->parent == component)
        {
            if (it->child != nullptr && it->child.get() != component)
                orphans.push_back(std::move(it->child));
            else
                (void)it->child.release();
            it = mOperations.erase(it);
        }
        else
            ++it;
    }
    orphans.clear();
}

void GuiManager::addWindowMessageListener(Component* component)
{
    if (std::find(mListeners.begin(), mListeners.end(), component) == mListeners.end())
        mListeners.push_back(component);
}

void GuiManager::removeWindowMessageListener(Component* component)
{
    mListeners.erase(std::remove(mListeners.begin(), mListeners.end(), component), mListeners.end());
}
