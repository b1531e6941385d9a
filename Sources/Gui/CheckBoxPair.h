#pragma once
// Two check boxes that always hold opposite states, followed by a text.
#include "Gui/CheckBox.h"
#include "Gui/Container.h"
#include "Gui/Label.h"

#include <string>

class CheckBoxPair : public Container
{
public:
    CheckBoxPair(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text,
                 const std::string& infotipText, bool firstChecked);

    std::string getInfotipText() override { return mInfotipText; }

    bool isFirstChecked() const { return mFirst->isChecked(); }
    void setFirstChecked(bool checked);
    CheckBox* getFirst() const { return mFirst; }
    CheckBox* getSecond() const { return mSecond; }
    Label* getLabel() const { return mLabel; }

    // Called with the pair after either box was clicked.
    WidgetCallback onChange;

private:
    void onClick(Component* sender);

    CheckBox* mFirst;
    CheckBox* mSecond;
    Label* mLabel;
    std::string mInfotipText;
};
