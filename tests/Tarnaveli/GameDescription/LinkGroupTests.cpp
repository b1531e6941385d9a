#include "Tarnaveli/GameDescription/LinkGroup.h"

#include "Framework/FileUtilities.h"
#include "Framework/Text1252Literal.h"
#include "Gui/Container.h"
#include "Gui/GuiManager.h"
#include "XmlTestHelpers.h"

#include <gtest/gtest.h>

using GameDescriptionTest::parseXml;

namespace
{

ErrorCode readGroup(const std::string& text, LinkGroup& group, std::string* message = nullptr)
{
    auto root = parseXml(text);
    XmlObjectReader reader(true, root.get());
    ErrorCode code = group.transfer(reader);
    if (message != nullptr)
        *message = reader.getErrorMessage();
    return code;
}

struct ShellRecorder
{
    ShellRecorder()
    {
        setShellLauncher(
            [this](const std::string& target)
            {
                targets.push_back(target);
                return true;
            });
    }
    ~ShellRecorder() { setShellLauncher(nullptr); }
    std::vector<std::string> targets;
};

} // namespace

TEST(LinkGroup, AreasReadInOrderWithEmptyDefaults)
{
    LinkGroup group;
    ASSERT_EQ(
        readGroup("<G><LinkArea><File>data\\Aide\\regles.html</File><Rect>40, 671, 320, 64</Rect></LinkArea>"
                  "<A><URL>http://example.org/</URL><Rect>1, 2, 3, 4</Rect></A>"
                  "<B><Rect>0, 0, 1, 1</Rect></B></G>",
                  group),
        ERROR_OK);
    ASSERT_EQ(group.getAreas().size(), 3u);
    EXPECT_EQ(group.getAreas()[0]->mFile, "data\\Aide\\regles.html");
    EXPECT_EQ(group.getAreas()[0]->mURL, "");
    EXPECT_EQ(group.getAreas()[0]->mRect, (XmlRect{40, 671, 320, 64}));
    EXPECT_EQ(group.getAreas()[1]->mURL, "http://example.org/");
    EXPECT_TRUE(group.getAreas()[2]->mURL.empty() && group.getAreas()[2]->mFile.empty());
}

TEST(LinkGroup, AnAreaWithUrlAndFileOrWithoutRectFails)
{
    LinkGroup group;
    std::string message;
    EXPECT_EQ(readGroup("<G><A><URL>u</URL><File>f</File><Rect>1, 2, 3, 4</Rect></A></G>", group, &message),
              ERROR_DOM_INTERPRETING);
    EXPECT_EQ(message, TEXT_1252("URL et fichier spécifiés en même temps"));
    EXPECT_EQ(readGroup("<G><A><URL>u</URL></A></G>", group, &message), ERROR_DOM_INTERPRETING);
    EXPECT_EQ(message, TEXT_1252("Balise fils nommée <Rect> non trouvée."));
}

TEST(LinkGroup, OpeningAnAreaPrefersItsUrl)
{
    LinkGroup group;
    ASSERT_EQ(readGroup("<G><A><URL>http://example.org/</URL><Rect>1, 2, 3, 4</Rect></A>"
                        "<B><File>data\\Aide\\credits.html</File><Rect>1, 2, 3, 4</Rect></B>"
                        "<C><Rect>1, 2, 3, 4</Rect></C></G>",
                        group),
              ERROR_OK);
    ShellRecorder recorder;
    group.openArea(0);
    group.openArea(1);
    group.openArea(2);
    group.openArea(3);
    ASSERT_EQ(recorder.targets.size(), 2u);
    EXPECT_EQ(recorder.targets[0], "http://example.org/");
    EXPECT_NE(recorder.targets[1].find("data/Aide/credits.html"), std::string::npos) << recorder.targets[1];
}

TEST(LinkGroup, ButtonsAreQueuedForTheParentAndOpenTheirArea)
{
    LinkGroup group;
    ASSERT_EQ(readGroup("<G><A><URL>http://example.org/</URL><Rect>1, 2, 3, 4</Rect></A>"
                        "<B><File>data\\Aide\\regles.html</File><Rect>5, 6, 7, 8</Rect></B></G>",
                        group),
              ERROR_OK);
    std::vector<XmlRect> rects;
    std::vector<std::string> infotips;
    std::vector<std::function<void()>> clicks;
    LinkGroup::setButtonCreator(
        [&](const XmlRect& rect, const std::string& infotip, std::function<void()> onClick)
        {
            rects.push_back(rect);
            infotips.push_back(infotip);
            clicks.push_back(std::move(onClick));
            return std::make_unique<Component>(rect.x, rect.y, rect.width, rect.height);
        });
    {
        GuiManager manager;
        Container parent(0, 0, 1024, 768, 0);
        group.createButtons(&parent);
        ASSERT_EQ(manager.getOperations().size(), 2u);
        EXPECT_EQ(manager.getOperations()[1].op, GUI_OP_ADD);
        EXPECT_EQ(manager.getOperations()[1].parent, &parent);
        EXPECT_EQ(manager.getOperations()[1].component->getRect().x, 5);
    }
    LinkGroup::setButtonCreator(nullptr);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[1], (XmlRect{5, 6, 7, 8}));
    EXPECT_EQ(infotips[0], "http://example.org/");
    EXPECT_EQ(infotips[1], "");
    ShellRecorder recorder;
    clicks[0]();
    ASSERT_EQ(recorder.targets.size(), 1u);
    EXPECT_EQ(recorder.targets[0], "http://example.org/");
}
