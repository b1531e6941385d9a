#include "Tarnaveli/WindowLightList.h"

#include "Engine/Light.h"
#include "Framework/Text1252Literal.h"
#include "Framework/Utilities.h"
#include "Gui/ContainerLift.h"
#include "Gui/Label.h"
#include "Gui/TextButton.h"

namespace
{
constexpr int32_t kWidth = 400;
constexpr int32_t kHeight = 400;
constexpr int32_t kTitleHeight = 32;
constexpr int32_t kRowHeight = 24;
constexpr int32_t kButtonWidth = 76;
constexpr int32_t kButtonHeight = 32;
constexpr uint32_t kListLook = 8;
constexpr uint32_t kButtonLook = 0;
constexpr uint32_t kWindowLook = 10;
constexpr uint32_t kBlack = 0xFF000000;
} // namespace

WindowLightList::WindowLightList(std::vector<std::unique_ptr<Light>>& lights,
                                 WindowLightEdit::LightMaker makeLight)
    : Window(0, 0, kWidth, kHeight, true, kWindowLook, false, false), mLights(lights),
      mMakeLight(std::move(makeLight))
{
    addChild(std::make_unique<Label>(0, 0, kWidth, kTitleHeight, TEXT_1252("Edition liste de lumières"),
                                     kBlack, TEXT_ALIGN_CENTER));
    // Children stand relative to the client area.
    const int32_t top = kTitleHeight;
    mList = new ContainerLift(0, top, kWidth, kHeight - kTitleHeight - kButtonHeight, kListLook, 0);
    addChild(mList);

    struct ButtonEntry
    {
        const char* caption;
        const char* infotip;
        void (WindowLightList::*action)();
    };
    const ButtonEntry buttons[] = {
        {"On/Off", TEXT_1252("Allumer / éteindre la lumiere"), &WindowLightList::toggleSelected},
        {"Supprimer", TEXT_1252("Supprimer la lumière selectionnée"), &WindowLightList::removeSelected},
        {"Ajouter", "Ajouter une nouvelle lumiere", &WindowLightList::addLight},
        {"Editer", TEXT_1252("Editer la lumiere selectionnée"), nullptr},
        {"Fermer", "", nullptr},
    };
    int32_t x = 0;
    const int32_t y = kHeight - kButtonHeight;
    for (size_t i = 0; i < std::size(buttons); ++i)
    {
        auto* button = new TextButton(x, y, kButtonWidth, kButtonHeight, buttons[i].caption, kButtonLook,
                                      buttons[i].infotip);
        auto action = buttons[i].action;
        if (action != nullptr)
            button->onClick.mFunction = [this, action](Component*, uint32_t) { (this->*action)(); };
        else if (i == 3)
            button->onClick.mFunction = [this](Component*, uint32_t) { editSelected(); };
        else
            button->onClick.mFunction = [this](Component*, uint32_t) { close(); };
        addChild(button);
        x += kButtonWidth + 4;
    }
    refresh();
}

WindowLightList::~WindowLightList()
{
    if (mEditor != nullptr)
        mEditor->onClosed = nullptr;
}

int32_t WindowLightList::getContentTop()
{
    // Relative to the client area, like the dialogs'.
    return kTitleHeight;
}

std::string WindowLightList::rowText(uint32_t index) const
{
    std::string text;
    bool on = index < mLights.size() && mLights[index] && mLights[index]->isEnabled();
    stringFormat(text, 255, TEXT_1252("Lumière %i - %s"), static_cast<int>(index), on ? "On" : "Off");
    return text;
}

void WindowLightList::refresh()
{
    int32_t selection = mList->getSelectedIndex();
    mList->clear();
    for (uint32_t i = 0; i < mLights.size(); ++i)
        mList->addRow(new Label(0, 0, mList->getContent()->getWidth(), kRowHeight, rowText(i), kBlack, 0));
    if (selection >= 0 && static_cast<size_t>(selection) < mLights.size())
        mList->select(selection);
}

Light* WindowLightList::selected() const
{
    int32_t index = mList->getSelectedIndex();
    return index >= 0 && static_cast<size_t>(index) < mLights.size()
               ? mLights[static_cast<size_t>(index)].get()
               : nullptr;
}

void WindowLightList::toggleSelected()
{
    Light* light = selected();
    if (light == nullptr)
        return;
    if (light->isEnabled())
        light->disable();
    else
        light->enable();
    refresh();
}

void WindowLightList::removeSelected()
{
    Light* light = selected();
    if (light == nullptr)
        return;
    // The editor must not outlive the light it would write to.
    if (mEditor != nullptr && &mEditor->getSceneLight() == light)
    {
        mEditor->onClosed = nullptr;
        mEditor->close();
        mEditor = nullptr;
    }
    mLights.erase(mLights.begin() + mList->getSelectedIndex());
    mList->select(-1);
    refresh();
}

void WindowLightList::addLight()
{
    std::unique_ptr<Light> light = mMakeLight ? mMakeLight() : nullptr;
    if (!light)
        return;
    mLights.push_back(std::move(light));
    refresh();
}

WindowLightEdit* WindowLightList::editSelected()
{
    Light* light = selected();
    if (light == nullptr)
        return nullptr;
    if (mEditor != nullptr)
    {
        mEditor->onClosed = nullptr;
        mEditor->close();
    }
    mEditor = new WindowLightEdit(*light, mMakeLight);
    mEditor->onClosed = [this] { mEditor = nullptr; };
    mEditor->open();
    return mEditor;
}
