#pragma once
// Shows one chosen item of a list of texts; a click on its arrow or its box
// opens a drop list under it to choose another.
#include "Gui/ComponentRef.h"
#include "Gui/Container.h"
#include "Gui/Label.h"
#include "Gui/TextButton.h"

#include <string>
#include <vector>

class ComboDropList;

struct ComboItem
{
    std::string text;
    uint32_t color = 0xFF000000;
};

class ComboBox : public Container
{
public:
    // A null font is the default font.
    ComboBox(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t selectionSound,
             Font* font = nullptr);
    ~ComboBox() override;

    void resize(int32_t width, int32_t height, bool update) override;
    // Reports every event not handled.
    uint32_t onMouseEvent(const MouseEvent& event) override;

    void addItem(const std::string& text);
    // Calls nobody; -1 (or an index past the items) shows an empty text.
    void setSelectedIndex(int32_t index);
    int32_t getSelectedIndex() const { return mSelected; }
    uint32_t getItemCount() const { return static_cast<uint32_t>(mItems.size()); }
    const ComboItem& getItem(uint32_t index) const { return mItems.at(index); }
    uint32_t getSelectionSound() const { return mSelectionSound; }
    Font* getFont() const { return mFont; }
    // The height of one item: the inner height of the box.
    int32_t getItemHeight() const;
    Label* getLabel() const { return mLabel; }
    TextButton* getArrowButton() const { return mButton; }
    Container* getContentBox() const { return mContent; }
    // The drop list open now, or null.
    ComboDropList* getDropList() const { return mDropList; }
    // Opens a drop list unless one is open already.
    void openDropList();

    // Called with the combo box once a choice in its drop list applied.
    WidgetCallback onChange;

private:
    friend class ComboDropList;

    Label* mLabel;
    int32_t mSelected = -1;
    std::vector<ComboItem> mItems;
    uint32_t mSelectionSound;
    Container* mContent;
    TextButton* mButton;
    Font* mFont;
    // The GUI root owns it once opened.
    ComponentRef<ComboDropList> mDropList;
};
