#include "Gui/Container.h"

#include "Framework/ErrorText.h"
#include "Framework/FrameworkTexts.h"
#include "Framework/LangTable.h"
#include "Framework/Messages.h"
#include "Gui/GuiManager.h"

#include <algorithm>

Container::Container(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t lookId,
                     const Margins* margins)
    : Component(x, y, width, height)
{
    initLook(lookId, margins);
}

Container::Container(const Rect& rect, uint32_t lookId, const Margins* margins) : Component(rect)
{
    initLook(lookId, margins);
}

void Container::initLook(uint32_t lookId, const Margins* margins)
{
    // A look id the table does not fill draws nothing rather than failing.
    Look* look = findLook(lookId);
    mRenderer = look != nullptr ? look->createRenderer(this) : nullptr;
    if (!mRenderer)
        mRenderer = std::make_unique<EmptyRenderer>(look, this);
    Margins chosen = margins != nullptr ? *margins : look != nullptr ? look->getMargins() : Margins{};
    mMarginLeft = chosen.left;
    mMarginTop = chosen.top;
    mMarginRight = chosen.right;
    mMarginBottom = chosen.bottom;
    // The container is still built: it only lacks its frame.
    if (ErrorCode code = mRenderer->update())
        showMessage(getLangText(LANG_ERROR_STRING).c_str(), errorCodeToText(code).c_str());
}

Container::~Container()
{
    while (!mChildren.empty())
    {
        ChildPtr child = std::move(mChildren.front());
        mChildren.erase(mChildren.begin());
        child->mParent = nullptr;
    }
    mRenderer.reset();
}

ErrorCode Container::render()
{
    if (ErrorCode code = mRenderer->render())
        return code;
    for (Component* child : getChildren())
    {
        if (!child->isVisible())
            continue;
        if (ErrorCode code = child->render())
            return code;
    }
    return 0;
}

void Container::updateLayout()
{
    mRenderer->update();
    for (Component* child : getChildren())
        child->updateLayout();
}

void Container::animate()
{
    // By index: an animation step may append a child.
    for (size_t i = 0; i < mChildren.size(); ++i)
        mChildren[i]->animate();
}

void Container::setRenderList(RenderList* list)
{
    mRenderList = list;
    mRenderer->setRenderList(list);
    for (Component* child : getChildren())
        child->setRenderList(list);
}

int64_t Container::onWindowMessage(uint32_t message, uint64_t wParam, int64_t lParam)
{
    for (Component* child : getChildren())
    {
        if (!child->isVisible())
            continue;
        if (int64_t result = child->onWindowMessage(message, wParam, lParam))
            return result;
    }
    return 0;
}

uint32_t Container::onMouseEvent(const MouseEvent& event)
{
    if (uint32_t result = Component::onMouseEvent(event))
        return result;
    // By index: a handler that breaks the rule of the queue must not leave
    // this loop on a stale iterator.
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        Component* child = mChildren[i].get();
        if (!child->hitTest(event))
            continue;
        if (uint32_t result = child->onMouseEvent(event))
            return result;
    }
    return 0;
}

uint32_t Container::onKeyEvent(const KeyEvent& event)
{
    GuiManager* manager = GuiManager::current();
    Component* skip = manager != nullptr ? manager->getSkipWidget() : nullptr;
    for (size_t i = mChildren.size(); i-- > 0;)
    {
        if (i >= mChildren.size())
            continue;
        Component* child = mChildren[i].get();
        if (!child->isVisible() || child == skip)
            continue;
        if (uint32_t result = child->onKeyEvent(event))
            return result;
    }
    return 0;
}

void Container::moveTo(int32_t x, int32_t y, bool update)
{
    int32_t dx = x - mX;
    int32_t dy = y - mY;
    mX = x;
    mY = y;
    for (Component* child : getChildren())
        child->moveTo(child->getX() + dx, child->getY() + dy, false);
    if (update)
        updateLayout();
}

ErrorCode Container::onDeviceLost()
{
    for (Component* child : getChildren())
    {
        if (ErrorCode code = child->onDeviceLost())
            return code;
    }
    return 0;
}

ErrorCode Container::onDeviceReset()
{
    for (Component* child : getChildren())
    {
        if (ErrorCode code = child->onDeviceReset())
            return code;
    }
    return 0;
}

void Container::placeNewChild(Component* child)
{
    child->mParent = this;
    child->moveTo(mX + mMarginLeft + child->getX(), mY + mMarginTop + child->getY(), true);
}

void Container::appendChild(ChildPtr child)
{
    Component* added = child.get();
    mChildren.push_back(std::move(child));
    placeNewChild(added);
}

bool Container::isInRootTree() const
{
    return dynamic_cast<const GuiRoot*>(this) != nullptr || isAttachedToRoot();
}

void Container::addOwned(ChildPtr child)
{
    GuiManager* manager = GuiManager::current();
    if (manager != nullptr && isInRootTree())
        manager->postAdd(std::move(child), GUI_OP_ADD, this);
    else
        appendChild(std::move(child));
}

void Container::insertChildAtFront(ChildPtr child)
{
    Component* inserted = child.get();
    mChildren.insert(mChildren.begin(), std::move(child));
    placeNewChild(inserted);
}

ChildPtr Container::takeChild(Component* child)
{
    auto found = std::find_if(mChildren.begin(), mChildren.end(),
                              [child](const ChildPtr& entry) { return entry.get() == child; });
    if (found == mChildren.end())
        return ChildPtr(nullptr, ChildDeleter{true});
    ChildPtr taken = std::move(*found);
    mChildren.erase(found);
    taken->mParent = nullptr;
    return taken;
}

void Container::removeAndDeleteChild(Component* child)
{
    // The entry deletes the child as it goes, unless the child is only lent.
    takeChild(child);
}

void Container::deleteChild(Component* child)
{
    GuiManager* manager = GuiManager::current();
    if (manager != nullptr && isInRootTree())
        manager->postOperation(child, GUI_OP_REMOVE_AND_DELETE, nullptr);
    else
        removeAndDeleteChild(child);
}

void Container::deleteAllChildren()
{
    while (!mChildren.empty())
    {
        ChildPtr child = std::move(mChildren.back());
        mChildren.pop_back();
        child->mParent = nullptr;
    }
}

void Container::setMargins(const Margins& margins)
{
    int32_t dx = margins.left - mMarginLeft;
    int32_t dy = margins.top - mMarginTop;
    mMarginLeft = margins.left;
    mMarginTop = margins.top;
    mMarginRight = margins.right;
    mMarginBottom = margins.bottom;
    for (Component* child : getChildren())
        child->moveTo(child->getX() + dx, child->getY() + dy, false);
    updateLayout();
}

void Container::setChildrenHovered(bool hovered)
{
    for (Component* child : getChildren())
    {
        if (child->isVisible())
            child->setHovered(hovered);
    }
}

GuiRoot::GuiRoot(int32_t width, int32_t height) : Container(0, 0, width, height, LOOK_EMPTY) {}

GuiRoot::~GuiRoot() = default;

uint32_t GuiRoot::onMouseEvent(const MouseEvent& event)
{
    if (uint32_t result = Component::onMouseEvent(event))
        return result;
    for (size_t i = childCount(); i-- > 0;)
    {
        if (i >= childCount())
            continue;
        Component* child = childAt(i);
        if (!child->hitTest(event))
            continue;
        if (uint32_t result = child->onMouseEvent(event))
            return result;
    }
    return 0;
}
