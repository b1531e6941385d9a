#include "Tarnaveli/GameDescription/LinkGroup.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/FileUtilities.h"
#include "Framework/Text1252Literal.h"
#include "Gui/Component.h"
#include "Gui/GuiManager.h"
#include "Gui/TextButton.h"

namespace
{
LinkGroup::ButtonCreator& buttonCreator()
{
    static LinkGroup::ButtonCreator creator;
    return creator;
}
} // namespace

ErrorCode LinkArea::transfer(XmlObjectReader& reader)
{
    const std::string none;
    ErrorCode code = reader.transferChild("URL", mURL, none, [&] { return reader.transferString(mURL); });
    if (code == ERROR_OK)
        code = reader.transferChild("File", mFile, none, [&] { return reader.transferString(mFile); });
    if (code == ERROR_OK)
        code = reader.transferChild("Rect", [&] { return reader.transferRect(mRect); });
    // A button opens one thing; an area naming two is a mistake in the file.
    if (code == ERROR_OK && reader.isReading() && !mURL.empty() && !mFile.empty())
        code = reader.fail(ERROR_DOM_INTERPRETING, TEXT_1252("URL et fichier spécifiés en même temps"));
    return code;
}

void LinkGroup::setButtonCreator(ButtonCreator creator)
{
    buttonCreator() = std::move(creator);
}

void LinkGroup::installTextButtons()
{
    // Look 8 draws nothing: the page or the closing picture shows the link.
    static constexpr uint32_t kEmptyLook = 8;
    setButtonCreator(
        [](const XmlRect& rect, const std::string& infotip, std::function<void()> onClick)
        {
            auto button = std::make_unique<TextButton>(rect.x, rect.y, rect.width, rect.height, std::string(),
                                                       kEmptyLook, infotip);
            button->onClick.mFunction = [onClick = std::move(onClick)](Component*, uint32_t) { onClick(); };
            return std::unique_ptr<Component>(std::move(button));
        });
}

ErrorCode LinkGroup::transfer(XmlObjectReader& reader)
{
    return reader.transferVector(mAreas, "LinkArea", kMaxAreas);
}

void LinkGroup::createButtons(Container* parent)
{
    GuiManager* manager = GuiManager::current();
    if (!buttonCreator() || manager == nullptr)
        return;
    for (size_t i = 0; i < mAreas.size(); ++i)
    {
        std::unique_ptr<Component> button =
            buttonCreator()(mAreas[i]->mRect, mAreas[i]->mURL, [this, i] { openArea(i); });
        if (button)
            manager->postOperation(button.release(), GUI_OP_ADD, parent);
    }
}

void LinkGroup::openArea(size_t index) const
{
    if (index >= mAreas.size())
        return;
    const LinkArea& area = *mAreas[index];
    if (!area.mURL.empty())
    {
        shellOpen(area.mURL);
        return;
    }
    // Neither: opening the bare program folder would help nobody.
    if (area.mFile.empty())
        return;
    ApplicationGeneric* application = getApplication();
    shellOpen((application != nullptr ? application->getApplicationFolder() : std::string()) + area.mFile);
}
