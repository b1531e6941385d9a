#include "Gui/ContainerLift.h"

#include "Framework/Keys.h"
#include "Gui/GuiManager.h"

#include <algorithm>

namespace
{
const Margins kNoMargins;
// The skin's list-selection texture.
constexpr uint32_t kSelectionTexture = 1;
} // namespace

ListLook* findListLook(uint32_t lookId)
{
    static ListLook fallback;
    if (lookId == LOOK_EMPTY)
        lookId = LOOK_LIST;
    auto* look = dynamic_cast<ListLook*>(findLook(lookId));
    return look != nullptr ? look : &fallback;
}

ContainerLift::ContainerLift(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t lookId,
                             uint32_t selectionSound)
    : Container(x, y, width, height, LOOK_EMPTY, &kNoMargins), mSelectionSound(selectionSound)
{
    init(lookId);
}

ContainerLift::ContainerLift(const Rect& rect, uint32_t lookId, uint32_t selectionSound)
    : Container(rect, LOOK_EMPTY, &kNoMargins), mSelectionSound(selectionSound)
{
    init(lookId);
}

void ContainerLift::init(uint32_t lookId)
{
    mLook = findListLook(lookId);
    mStep = mLook->scrollStep;
    int32_t liftWidth = std::min(mLook->liftWidth, mWidth);
    mContent = new Container(0, 0, mWidth - liftWidth, mHeight, mLook->contentLook);
    mLift = new Lift(mWidth - liftWidth, 0, liftWidth, mHeight, 0, mLook->liftLook);
    mLift->onChange.mFunction = [this](Component*, uint32_t)
    {
        mScroll = mLift->getValue();
        placeRows();
        updateLayout();
    };
    addChild(mContent);
    addChild(mLift);
    mClipList = std::make_unique<RenderList>();
    clipToContent();
    mHighlightImage = std::make_unique<Image>(0, 0, 0, 0, static_cast<Texture*>(nullptr));
    mHighlightImage->setRenderList(mClipList.get());
    updateRange();
}

ContainerLift::~ContainerLift()
{
    // The rows and the highlight draw through the clip list: they go first.
    mContent->deleteAllChildren();
    mHighlightImage.reset();
}

void ContainerLift::clipToContent()
{
    mClipList->setRect(mContent->getX() + mContent->getMarginLeft(),
                       mContent->getY() + mContent->getMarginTop(), getRowWidth(), visibleHeight());
}

int32_t ContainerLift::getRowWidth() const
{
    return mContent->getWidth() - mContent->getMarginLeft() - mContent->getMarginRight();
}

int32_t ContainerLift::visibleHeight() const
{
    return mContent->getHeight() - mContent->getMarginTop() - mContent->getMarginBottom();
}

Component* ContainerLift::getRow(uint32_t index) const
{
    const ChildList rows = mContent->getChildren();
    return index < rows.size() ? rows[index] : nullptr;
}

void ContainerLift::placeRows()
{
    int32_t x = mContent->getX() + mContent->getMarginLeft();
    int32_t y = mContent->getY() + mContent->getMarginTop() - mScroll;
    for (Component* row : mContent->getChildren())
    {
        row->moveTo(x, y, true);
        y += row->getHeight();
    }
}

void ContainerLift::updateRange()
{
    int64_t total = 0;
    for (Component* row : mContent->getChildren())
        total += row->getHeight();
    int32_t visible = visibleHeight();
    double ratio = total == 0 ? 1.0 : static_cast<double>(visible) / static_cast<double>(total);
    int32_t step = std::max(mStep, 1);
    int64_t maximum = std::max<int64_t>(total - (visible / step) * step, 0);
    mScroll = static_cast<int32_t>(std::min<int64_t>(mScroll, maximum));
    mLift->setRange(0, static_cast<int32_t>(maximum), mStep, ratio, mScroll);
}

void ContainerLift::placeHighlight()
{
    Component* row = mSelected >= 0 ? getRow(static_cast<uint32_t>(mSelected)) : nullptr;
    mHighlightShown = row != nullptr && mSelectable;
    if (!mHighlightShown)
    {
        mHighlightImage->setTexture(nullptr);
        return;
    }
    mHighlight = {row->getX(), row->getY(), mContent->getWidth() - mContent->getMarginRight(),
                  row->getHeight()};
    mHighlightImage->moveTo(mHighlight.x, mHighlight.y, false);
    mHighlightImage->resize(mHighlight.width, mHighlight.height, false);
    mHighlightImage->setSkinTexture(kSelectionTexture);
    mHighlightImage->updateLayout();
}

ErrorCode ContainerLift::render()
{
    if (ErrorCode code = mRenderer->render())
        return code;
    if (mContent->isVisible())
    {
        if (ErrorCode code = mContent->getRenderer()->render())
            return code;
        if (mHighlightShown)
        {
            if (ErrorCode code = mHighlightImage->render())
                return code;
        }
        // Rows scrolled out of the window would only be clipped away: a long
        // list costs what it shows.
        const int32_t top = mContent->getY() + mContent->getMarginTop();
        const int32_t bottom = top + visibleHeight();
        for (Component* row : mContent->getChildren())
        {
            if (!row->isVisible() || row->getY() + row->getHeight() <= top || row->getY() >= bottom)
                continue;
            if (ErrorCode code = row->render())
                return code;
        }
    }
    return mLift->isVisible() ? mLift->render() : 0;
}

void ContainerLift::updateLayout()
{
    Container::updateLayout();
    placeHighlight();
}

void ContainerLift::moveTo(int32_t x, int32_t y, bool update)
{
    Container::moveTo(x, y, update);
    clipToContent();
    placeHighlight();
}

void ContainerLift::addRow(Component* row)
{
    mContent->addChild(row);
    row->setRenderList(mClipList.get());
    placeRows();
    updateRange();
    placeHighlight();
}

void ContainerLift::discardRow(Component* row)
{
    ChildPtr entry = mContent->takeChild(row);
    row->setRenderList(nullptr);
    // Under the root the row may be the one whose handler runs now: the
    // queue deletes it after the dispatch; elsewhere the entry does at once.
    GuiManager* manager = GuiManager::current();
    if (manager != nullptr && isInRootTree())
        manager->postOperation(entry.release(), GUI_OP_REMOVE_AND_DELETE, nullptr);
}

void ContainerLift::clear()
{
    while (!mContent->getChildren().empty())
        discardRow(mContent->getChildren().back());
    mSelected = -1;
    placeRows();
    updateRange();
    placeHighlight();
}

void ContainerLift::removeFirstRows(uint32_t count)
{
    count = std::min(count, getRowCount());
    for (uint32_t i = 0; i < count; ++i)
        discardRow(mContent->getChildren().front());
    mSelected = mSelected >= static_cast<int32_t>(count) ? mSelected - static_cast<int32_t>(count) : -1;
    placeRows();
    updateRange();
    placeHighlight();
}

void ContainerLift::select(int32_t index)
{
    if (index < -1 || index >= static_cast<int32_t>(getRowCount()))
        return;
    mSelected = index;
    onSelect.invoke(this);
    placeHighlight();
    if (index >= 0)
        bringIntoView(index);
    playWidgetSound(mSelectionSound);
}

void ContainerLift::bringIntoView(int32_t index)
{
    int32_t offset = 0;
    for (int32_t i = 0; i < index; ++i)
        offset += getRow(static_cast<uint32_t>(i))->getHeight();
    int32_t height = getRow(static_cast<uint32_t>(index))->getHeight();
    int32_t visible = visibleHeight();
    if (offset >= mScroll && offset + height <= mScroll + visible)
        return;
    setScrollPosition(std::clamp(offset + (height - visible) / 2, 0, std::max(maxScroll(), 0)));
}

void ContainerLift::setScrollStep(int32_t pixels)
{
    mStep = pixels;
    updateRange();
}

void ContainerLift::setScrollPosition(int32_t pixels)
{
    mScroll = std::clamp(pixels, 0, std::max(maxScroll(), 0));
    mLift->setValue(mScroll + mLift->getMinimum());
    placeRows();
    updateLayout();
}

void ContainerLift::setScrollPercent(int32_t percent)
{
    int64_t range = int64_t{mLift->getMaximum()} - mLift->getMinimum();
    setScrollPosition(static_cast<int32_t>(mLift->getMinimum() + range * percent / 100));
}

uint32_t ContainerLift::onMouseEvent(const MouseEvent& event)
{
    if (uint32_t result = Container::onMouseEvent(event))
        return result;
    if (event.mType == MOUSE_EVENT_WHEEL)
    {
        int64_t scroll = mScroll - int64_t{mStep} * event.mWheelDelta / 120;
        setScrollPosition(static_cast<int32_t>(std::clamp<int64_t>(scroll, 0, std::max(maxScroll(), 0))));
        return 1;
    }
    int32_t x = 0;
    int32_t y = 0;
    if (event.mType != MOUSE_EVENT_BUTTON_DOWN || event.mButton != MOUSE_BUTTON_LEFT || !mSelectable ||
        !getEventPosition(event, x, y))
        return 0;
    // Rows scrolled under the content's borders are hidden there.
    const Rect& clip = mClipList->getRect();
    if (x < clip.x || x >= clip.x + clip.width || y < clip.y || y >= clip.y + clip.height)
        return 0;
    const ChildList rows = mContent->getChildren();
    for (size_t i = 0; i < rows.size(); ++i)
    {
        if (!rows[i]->containsPoint(x, y))
            continue;
        playWidgetSound(mSelectionSound);
        mSelected = static_cast<int32_t>(i);
        onSelect.invoke(this);
        placeHighlight();
        return 1;
    }
    return 0;
}

uint32_t ContainerLift::onKeyEvent(const KeyEvent& event)
{
    if (uint32_t result = Container::onKeyEvent(event))
        return result;
    if (!mKeyboard || (event.mType != KEY_EVENT_PRESSED && event.mType != KEY_EVENT_REPEATED))
        return 0;
    int32_t count = static_cast<int32_t>(getRowCount());
    switch (event.mKeyId)
    {
    case KEY_UP:
        if (mSelected > 0)
            select(mSelected - 1);
        return 1;
    case KEY_DOWN:
        if (mSelected < count - 1)
            select(mSelected + 1);
        return 1;
    case KEY_HOME:
        if (count > 0)
            select(0);
        return 1;
    case KEY_END:
        if (count > 0)
            select(count - 1);
        return 1;
    default:
        return 0;
    }
}
