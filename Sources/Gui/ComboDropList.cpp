#include "Gui/ComboDropList.h"

#include "Gui/ComboBox.h"
#include "Gui/GuiManager.h"
#include "Gui/TextButton.h"

#include <algorithm>

namespace
{
const Margins kNoMargins;
constexpr uint32_t kBordersLook = 9;
constexpr uint32_t kBlinkHalfMs = 50;

Rect screenRect()
{
    GuiManager* manager = GuiManager::current();
    GuiRoot* root = manager != nullptr ? manager->getRoot() : nullptr;
    return root != nullptr ? Rect{0, 0, root->getWidth(), root->getHeight()} : Rect{0, 0, 1024, 768};
}
} // namespace

ComboDropList::ComboDropList(ComboBox* comboBox)
    : Layer(screenRect().x, screenRect().y, screenRect().width, screenRect().height, LOOK_EMPTY, false,
            &kNoMargins),
      mComboBox(comboBox), mItemHeight(comboBox->getItemHeight())
{
    int32_t h = comboBox->getHeight();
    auto count = static_cast<int32_t>(comboBox->getItemCount());
    // An empty combo box still opens a list one box high.
    int32_t height = std::max(count - 1, 0) * mItemHeight + h;
    mList = new Container(comboBox->getX() + h - mX, comboBox->getY() + h - mY, comboBox->getWidth() - h,
                          height, kBordersLook);
    addChild(mList);
    int32_t innerWidth = mList->getWidth() - mList->getMarginLeft() - mList->getMarginRight();
    for (int32_t i = 0; i < count; ++i)
    {
        const ComboItem& item = comboBox->getItem(static_cast<uint32_t>(i));
        auto* label = new Label(0, i * mItemHeight, innerWidth, mItemHeight, item.text, item.color, 0,
                                comboBox->getFont());
        mList->addChild(label);
        mLabels.push_back(label);
        mHighlighted.push_back(false);
        setHighlight(i, false);
    }
    mBlinkTimer.start();
}

ComboDropList::~ComboDropList()
{
    if (mComboBox != nullptr && mComboBox->mDropList == this)
        mComboBox->mDropList = nullptr;
}

void ComboDropList::forgetComboBox()
{
    mComboBox = nullptr;
    mClosing = true;
    finish();
}

int32_t ComboDropList::getItemUnderCursor() const
{
    int32_t x = 0;
    int32_t y = 0;
    if (!getCursorPosition(x, y))
        return -1;
    int32_t left = mList->getX() + mList->getMarginLeft();
    int32_t top = mList->getY() + mList->getMarginTop();
    int32_t right = mList->getX() + mList->getWidth() - mList->getMarginRight();
    int32_t bottom = mList->getY() + mList->getHeight() - mList->getMarginBottom();
    if (x < left || x >= right || y < top || y >= bottom)
        return -1;
    for (size_t i = 0; i < mLabels.size(); ++i)
    {
        if (y < top + (static_cast<int32_t>(i) + 1) * mItemHeight)
            return static_cast<int32_t>(i);
    }
    return -1;
}

bool ComboDropList::isHighlighted(int32_t item) const
{
    return item >= 0 && static_cast<size_t>(item) < mHighlighted.size() &&
           mHighlighted[static_cast<size_t>(item)];
}

void ComboDropList::setHighlight(int32_t item, bool on)
{
    if (item < 0 || static_cast<size_t>(item) >= mLabels.size())
        return;
    mHighlighted[static_cast<size_t>(item)] = on;
    Text2D* text = mLabels[static_cast<size_t>(item)]->getTextObject();
    if (text == nullptr)
        return;
    // The whole item shows selected; a list has nothing to type into, so no
    // caret.
    text->setCaret(0, false);
    if (on)
        text->setCaret(static_cast<int32_t>(text->getText().size()), true);
    text->showCaret(false);
    text->showSelection(on);
}

void ComboDropList::followCursor()
{
    if (mClosing)
        return;
    int32_t item = getItemUnderCursor();
    if (item == mHovered)
        return;
    setHighlight(mHovered, false);
    mHovered = item;
    setHighlight(mHovered, true);
}

void ComboDropList::updateLayout()
{
    Layer::updateLayout();
    followCursor();
}

uint32_t ComboDropList::onMouseEvent(const MouseEvent& event)
{
    Layer::onMouseEvent(event);
    if (mClosing)
        return 1;
    if (event.mType == MOUSE_EVENT_MOVE)
    {
        followCursor();
        return 1;
    }
    bool button = event.mType == MOUSE_EVENT_BUTTON_DOWN || event.mType == MOUSE_EVENT_BUTTON_UP;
    if (!button || event.mButton != MOUSE_BUTTON_LEFT)
        return 1;
    int32_t item = getItemUnderCursor();
    if (item >= 0)
    {
        setHighlight(mHovered, false);
        mHovered = item;
        mClosing = true;
        mBlinkCount = 2;
        mBlinkTimer.start();
        if (mComboBox != nullptr)
            playWidgetSound(mComboBox->getSelectionSound());
    }
    else if (event.mType == MOUSE_EVENT_BUTTON_DOWN)
    {
        // The release of the click that opened the list lands outside the
        // items too; only a press closes.
        mClosing = true;
        finish();
    }
    return 1;
}

void ComboDropList::animate()
{
    Layer::animate();
    if (!mClosing || mFinished)
        return;
    uint32_t t = mBlinkTimer.getElapsed();
    if (t < kBlinkHalfMs)
    {
        setHighlight(mHovered, false);
        return;
    }
    if (t < 2 * kBlinkHalfMs)
    {
        setHighlight(mHovered, true);
        return;
    }
    if (mBlinkCount > 1)
    {
        --mBlinkCount;
        mBlinkTimer.start();
        return;
    }
    if (mComboBox != nullptr)
    {
        mComboBox->setSelectedIndex(mHovered);
        mComboBox->onChange.invoke(mComboBox);
    }
    finish();
}

void ComboDropList::finish()
{
    if (mFinished)
        return;
    mFinished = true;
    if (mComboBox != nullptr && mComboBox->mDropList == this)
        mComboBox->mDropList = nullptr;
    close();
}
