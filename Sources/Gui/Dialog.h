#pragma once
// A window with a title, a row of buttons built from its dialog look, keyboard
// shortcuts for those buttons, and a running layout for its content lines.
// The pressed button reaches onResult as the bit 1 << its record index.
#include "Gui/Label.h"
#include "Gui/Look.h"
#include "Gui/Window.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class Dialog;
class LabeledCheckBox;
class TextField;
class WrapTextBox;

struct DialogButton
{
    // A language text id read when the button is made (the look is built
    // before the language file is read), or -1 to use caption as it stands.
    int32_t captionTextId = -1;
    std::string caption;
    uint32_t lookId = 0;
    // A program key id; KEY_NONE (0) is no shortcut.
    uint32_t shortcutKey = 0;
    // Which button index this record's place in the row shows.
    uint32_t orderIndex = 0;
};

// Draws a dialog's title: a centred label across the top of the client area.
class DialogTitleRenderer
{
public:
    DialogTitleRenderer(class DialogLook* look, Dialog* dialog);
    virtual ~DialogTitleRenderer() = default;
    virtual void setTitle(const std::string& title);
    virtual void update();
    Label* getLabel() const { return mLabel; }

protected:
    int32_t titleWidth() const;

    DialogLook* mLook;
    Dialog* mDialog;
    // A child of the dialog.
    Label* mLabel;
};

// The metrics of a dialog: buttons, title and content rows.
class DialogLook : public Look
{
public:
    // Four records: "OK", "Oui", "Non", "Annuler", in that order.
    DialogLook();
    uint32_t getKind() override { return LOOK_KIND_DIALOG; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override
    {
        return std::make_unique<EmptyRenderer>(this, widget);
    }
    virtual std::unique_ptr<DialogTitleRenderer> createTitleRenderer(Dialog* dialog)
    {
        return std::make_unique<DialogTitleRenderer>(this, dialog);
    }

    uint32_t buttonFont = 0;
    int32_t buttonWidth = 150;
    int32_t buttonHeight = 32;
    int32_t buttonGap = 0;
    std::vector<DialogButton> buttonRecords;
    uint32_t frameLook = 6;
    bool fitButtons = false;
    int32_t buttonExtraWidth = 0;
    // 0 left, 1 centred, 2 right.
    int32_t buttonAlign = 1;
    uint32_t titleFont = 0;
    int32_t titleGap = 40;
    int32_t spacing = 16;
    int32_t fieldHeight = 32;
    uint32_t titleColor = 0xFF000000;
    uint32_t textFont = 0;
    uint32_t textColor = 0xFF000000;
    int32_t insetLeft = 0;
    int32_t insetTop = 0;
    int32_t insetRight = 0;
    int32_t insetBottom = 0;
};

// What a dialog asks of the buttons of its row. The text button of the widget
// set provides it; until then a plain push button without drawing does.
struct DialogButtonSpec
{
    std::string caption;
    uint32_t lookId = 0;
    uint32_t font = 0;
    int32_t width = 0;
    int32_t height = 0;
    WidgetCallback onClick;
};

class DialogButtonKit
{
public:
    virtual ~DialogButtonKit() = default;
    // A new detached button at (0, 0).
    virtual Component* createButton(const DialogButtonSpec& request) = 0;
    virtual void setCaption(Component* button, const std::string& caption) = 0;
    virtual int32_t getCaptionWidth(Component* button) = 0;
    // A disabled button is nobody's shortcut either.
    virtual bool isEnabled(Component*) { return true; }
};
// An empty kit restores the plain one.
void setDialogButtonKit(std::unique_ptr<DialogButtonKit> kit);
DialogButtonKit& getDialogButtonKit();

class Dialog : public Window
{
public:
    Dialog(int32_t clientWidth, int32_t clientHeight, const std::string& title, uint32_t buttonMask,
           bool movable, bool modal, uint32_t lookId);
    ~Dialog() override;

    uint32_t onKeyEvent(const KeyEvent& event) override;
    int32_t getContentTop() override;
    virtual int32_t getContentHeight();
    virtual int32_t getContentLeft();
    virtual int32_t getContentWidth();
    virtual void onResult(uint32_t buttonBits) = 0;

    void addButton(uint32_t index);
    void removeButton(uint32_t index);
    void setButtonCaption(uint32_t index, const std::string& caption);
    Label* addTextLine(const std::string& text);
    // Fits the box to its text, adds it at the running y and re-fits the
    // dialog around the content.
    void addTextBox(WrapTextBox* box);
    // A labelled check box of the row height; width 0 spans the content.
    LabeledCheckBox* addCheckBox(const std::string& text, const std::string& infotip, bool checked,
                                 int32_t width = 0);
    // A caption (none when empty) then a field filling the rest of the row;
    // captionWidth 0 leaves the caption its text's width.
    TextField* addTextField(const std::string& caption, const std::string& text, uint32_t maxLength,
                            int32_t captionWidth = 0);
    void recenter();
    void fitAndCenter(int32_t contentWidth, int32_t contentHeight);

    Component* getButton(uint32_t index) const { return index < mButtons.size() ? mButtons[index] : nullptr; }
    uint32_t getButtonCount() const { return mButtonCount; }
    int32_t getCursorY() const { return mCursorY; }
    DialogLook* getDialogLook() const { return mLook; }
    DialogTitleRenderer* getTitleRenderer() const { return mLookRenderer.get(); }

protected:
    DialogLook* mLook;
    // Children of the dialog; null where the mask has no button.
    std::vector<Component*> mButtons;
    uint32_t mButtonCount = 0;
    std::unique_ptr<DialogTitleRenderer> mLookRenderer;
    int32_t mCursorY = 0;
};

// The toolkit's message box.
class MessageDialog : public Dialog
{
public:
    using Callback = std::function<void(MessageDialog* dialog, void* object)>;

    MessageDialog(const std::string& title, const std::string& text, uint32_t buttonMask, Callback callback,
                  void* callbackObject);
    // Stores the bits, calls back, then closes.
    void onResult(uint32_t buttonBits) override;
    uint32_t getResult() const { return mResult; }

private:
    void* mCallbackObject;
    [[maybe_unused]] uint32_t mReserved = 0;
    Callback mCallback;
    uint32_t mResult = 0;
};

// The dialog look of id lookId, or the built-in default when that entry holds
// none.
DialogLook* findDialogLook(uint32_t lookId);
