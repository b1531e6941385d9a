#include "Gui/ComboBox.h"

#include "Gui/ComboDropList.h"

namespace
{
const Margins kNoMargins;
constexpr uint32_t kBordersLook = 9;
constexpr uint32_t kArrowLook = 4;
} // namespace

ComboBox::ComboBox(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t selectionSound, Font* font)
    : Container(x, y, width, height, LOOK_EMPTY, &kNoMargins), mSelectionSound(selectionSound), mFont(font)
{
    mButton = new TextButton(0, 0, height, height, std::string(), kArrowLook, std::string(), font);
    mButton->onClick.mFunction = [this](Component*, uint32_t) { openDropList(); };
    addChild(mButton);
    mContent = new Container(height, 0, width - height, height, kBordersLook);
    addChild(mContent);
    int32_t innerWidth = mContent->getWidth() - mContent->getMarginLeft() - mContent->getMarginRight();
    mLabel = new Label(0, 0, innerWidth, getItemHeight(), std::string(), 0xFF000000, 0, font);
    // The text fills the box's inner height whatever the font's own size.
    mLabel->setTextSize(getItemHeight());
    mContent->addChild(mLabel);
}

ComboBox::~ComboBox()
{
    // The list outlives no combo box: it is closed and told to apply nothing.
    if (mDropList != nullptr)
        mDropList->forgetComboBox();
}

int32_t ComboBox::getItemHeight() const
{
    return mContent->getHeight() - mContent->getMarginTop() - mContent->getMarginBottom();
}

void ComboBox::addItem(const std::string& text)
{
    mItems.push_back({text, 0xFF000000});
}

void ComboBox::setSelectedIndex(int32_t index)
{
    if (index < 0 || index >= static_cast<int32_t>(mItems.size()))
        index = -1;
    mSelected = index;
    mLabel->setText(index >= 0 ? mItems[static_cast<size_t>(index)].text : std::string());
}

void ComboBox::resize(int32_t width, int32_t height, bool update)
{
    mWidth = width;
    mHeight = height;
    mButton->resize(height, height, false);
    mContent->moveTo(mX + height, mY, false);
    mContent->resize(width - height, height, false);
    mLabel->moveTo(mContent->getX() + mContent->getMarginLeft(), mContent->getY() + mContent->getMarginTop(),
                   false);
    mLabel->resize(mContent->getWidth() - mContent->getMarginLeft() - mContent->getMarginRight(),
                   getItemHeight(), false);
    mLabel->setTextSize(getItemHeight());
    if (update)
        updateLayout();
}

uint32_t ComboBox::onMouseEvent(const MouseEvent& event)
{
    if (uint32_t result = Container::onMouseEvent(event))
        return result;
    int32_t x = 0;
    int32_t y = 0;
    if (event.mType == MOUSE_EVENT_BUTTON_DOWN && event.mButton == MOUSE_BUTTON_LEFT &&
        getEventPosition(event, x, y) && x >= mX + mHeight)
        openDropList();
    return 0;
}

void ComboBox::openDropList()
{
    if (mDropList != nullptr)
        return;
    // Null when no manager shows it.
    mDropList = showLayer(std::make_unique<ComboDropList>(this));
}
