#pragma once
// The clickable areas of the tutorial and end-of-game windows: each covers a
// rectangle of the window and opens a web link or a file of the program's
// folder. Read from game.xml; a group owns its areas.
#include "Tarnaveli/GameDescription/XmlObjectReader.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class Component;
class Container;

class LinkArea
{
public:
    ErrorCode transfer(XmlObjectReader& reader);

    std::string mURL;
    std::string mFile;
    XmlRect mRect;
};

class LinkGroup
{
public:
    // Makes the button of one area: no label, the infotip text, and what a
    // click does. Installed by whoever provides the text buttons.
    using ButtonCreator = std::function<std::unique_ptr<Component>(
        const XmlRect& rect, const std::string& infotip, std::function<void()> onClick)>;
    static void setButtonCreator(ButtonCreator creator);
    // The game's creator: a text button without caption or look of its own
    // over the area, whose picture shows the link.
    static void installTextButtons();
    // More areas than a window has room for: a damaged file.
    static constexpr size_t kMaxAreas = 64;

    ErrorCode transfer(XmlObjectReader& reader);

    // One button per area, in order, added to the parent through the GUI
    // manager's queue. Nothing without a button creator or a GUI manager.
    void createButtons(Container* parent);
    // What a click on the area's button does: its URL when it has one, else
    // its file taken relative to the application folder, opened with the
    // desktop's default program.
    void openArea(size_t index) const;

    const std::vector<std::unique_ptr<LinkArea>>& getAreas() const { return mAreas; }
    std::vector<std::unique_ptr<LinkArea>>& getAreas() { return mAreas; }

private:
    std::vector<std::unique_ptr<LinkArea>> mAreas;
};
