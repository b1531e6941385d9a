#pragma once
// The lights of the board scene as a list: switch one on or off, remove it,
// add a new one, or open the editor on it. Nothing writes the lights file;
// the list works on the scene's lights directly.
#include "Gui/Window.h"
#include "Tarnaveli/WindowLightEdit.h"

#include <memory>
#include <string>
#include <vector>

class ContainerLift;
class TextButton;

class WindowLightList : public Window
{
public:
    // The lights must outlive the window.
    WindowLightList(std::vector<std::unique_ptr<Light>>& lights, WindowLightEdit::LightMaker makeLight);
    ~WindowLightList() override;

    int32_t getContentTop() override;

    // The row text of light index.
    std::string rowText(uint32_t index) const;
    void refresh();
    void toggleSelected();
    void removeSelected();
    void addLight();
    // The editor of the selected light, opened; null without a selection.
    WindowLightEdit* editSelected();

    ContainerLift* getList() const { return mList; }
    WindowLightEdit* getEditor() const { return mEditor; }

private:
    Light* selected() const;

    std::vector<std::unique_ptr<Light>>& mLights;
    WindowLightEdit::LightMaker mMakeLight;
    ContainerLift* mList = nullptr;
    // The open editor, closed when its light is removed.
    WindowLightEdit* mEditor = nullptr;
};
