#pragma once
// A check box with a caption (and optionally a leading caption before the
// box's caption) that toggles it too. While its caption is disabled the
// widget keeps its state whatever is clicked.
#include "Gui/CheckBox.h"
#include "Gui/Container.h"
#include "Gui/TextButton.h"

#include <string>

class LabeledCheckBox : public Container
{
public:
    // captionHeight 0: the widget's height; boxSize 0: the widget's height.
    LabeledCheckBox(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& caption,
                    const std::string& infotipText, bool checked, uint32_t boxLookId, uint32_t captionLookId,
                    Font* captionFont = nullptr, int32_t captionHeight = 0, int32_t boxSize = 0,
                    const std::string& leadingCaption = std::string());

    std::string getInfotipText() override { return mInfotipText; }
    void resize(int32_t width, int32_t height, bool update) override;

    bool isChecked() const { return mBox->isChecked(); }
    void setChecked(bool checked);
    // The captions only; a disabled widget undoes clicks on its box.
    void setEnabled(bool enabled);
    bool isEnabled() const { return mCaption->isEnabled(); }
    int32_t getNaturalWidth() const;
    CheckBox* getBox() const { return mBox; }
    TextButton* getCaption() const { return mCaption; }
    TextButton* getLeadingCaption() const { return mLeadingCaption; }

    // Called with the widget after a click changed it (the captions enabled).
    WidgetCallback onChange;

private:
    void onClick(Component* sender);

    CheckBox* mBox;
    TextButton* mCaption;
    TextButton* mLeadingCaption = nullptr;
    std::string mInfotipText;
};
