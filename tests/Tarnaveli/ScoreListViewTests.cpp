// The scores window: the cells of a row, the header bar's layout, and the
// level it follows.
#include "../Gui/GuiTestSupport.h"
#include "Framework/LangTable.h"
#include "Gui/Label.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/ScoreListView.h"
#include "Tarnaveli/ScoreTable.h"
#include "Tarnaveli/SetupConfig.h"

#include <cstdlib>
#include <filesystem>

namespace
{
struct ScoreViewFixture
{
    Platform::TemporaryDirectory directory;
    GuiTestApplication app;
    ScoreTable table;

    ScoreViewFixture()
    {
        Platform::setProgramDirectory(directory.path());
        std::filesystem::create_directories(directory.path() + "data");
        table.init();
        ScoreEntry e;
        e.mTime = 3723000;
        e.mMoves = 42;
        e.mName = "Zo\xE9";
        table.insert(e, 1);
        e.mTime = 60000;
        e.mMoves = 7;
        e.mName = "Max";
        table.insert(e, 1);
    }
    ~ScoreViewFixture() { ScoreHeaderBar::setSelectorMaker(nullptr); }

    static std::string cell(Component* row, size_t column)
    {
        auto* label = static_cast<Label*>(static_cast<Container*>(row)->getChildren()[column]);
        return label->getTextObject()->getText();
    }
};
} // namespace

TEST(ScoreListView, RowsShowRankNameDurationMovesAndLevel)
{
    ScoreViewFixture f;
    auto* view = openNow(f.app, new ScoreListView(&f.table, 1, 1));
    Container* rows = view->getListContainer();
    ASSERT_EQ(rows->getChildren().size(), 2u);
    Component* second = rows->getChildren()[1];
    EXPECT_EQ(ScoreViewFixture::cell(second, 0), " 2)");
    EXPECT_EQ(ScoreViewFixture::cell(second, 1), "Zo\xE9");
    EXPECT_EQ(ScoreViewFixture::cell(second, 2), "01:02:03");
    EXPECT_EQ(ScoreViewFixture::cell(second, 3), " 42");
    EXPECT_EQ(ScoreViewFixture::cell(second, 4), getLangText(LANG_WINDOW_NEW_GAME_DIFF_MEDIUM));
    EXPECT_EQ(view->getSelectedRow(), second);
    EXPECT_EQ(static_cast<Container*>(second)->getChildren()[3]->getX() - rows->getX(), 380);
}

// The game's dialog frame: wide margins around the client area.
class FrameLook final : public Look
{
public:
    FrameLook() : Look(0, 0, nullptr, nullptr) {}
    uint32_t getKind() override { return LOOK_KIND_CONTAINER; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override
    {
        return std::make_unique<EmptyRenderer>(this, widget);
    }
    Margins getMargins() override { return {189, 164, 186, 115}; }
};

TEST(ScoreListView, CentredOnTheScreenWithTheRowsScrollingInsideItsFrame)
{
    ScoreViewFixture f;
    f.app.looks().setLook(findDialogLook(LOOK_DIALOG)->frameLook, std::make_unique<FrameLook>());
    ScoreEntry e;
    for (uint32_t i = 0; i < ScoreTable::MAX_ENTRIES; ++i)
    {
        e.mTime = 1000 * (i + 1);
        f.table.insert(e, 0);
    }
    auto* view = openNow(f.app, new ScoreListView(&f.table, 0, 9));
    Rect frame = view->getRect();
    EXPECT_GE(frame.x, 0);
    EXPECT_GE(frame.y, 0);
    EXPECT_LE(frame.x + frame.width, 1024);
    EXPECT_LE(frame.y + frame.height, 768);
    EXPECT_LE(std::abs(2 * frame.x + frame.width - 1024), 1) << "centred";
    Rect client{frame.x + view->getMarginLeft(), frame.y + view->getMarginTop(),
                frame.width - view->getMarginLeft() - view->getMarginRight(),
                frame.height - view->getMarginTop() - view->getMarginBottom()};
    auto inside = [&](const Rect& r)
    {
        return r.x >= client.x && r.y >= client.y && r.x + r.width <= client.x + client.width &&
               r.y + r.height <= client.y + client.height;
    };
    ContainerLift* list = view->getList();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(inside(list->getRect()));
    for (Component* child : view->getChildren())
        EXPECT_TRUE(inside(child->getRect())) << child->getRect().x << "," << child->getRect().y;
    ASSERT_EQ(view->getListContainer()->getChildren().size(), ScoreTable::MAX_ENTRIES);
    // The record entered last in the table is scrolled into the list's view.
    Rect last = view->getSelectedRow()->getRect();
    EXPECT_GE(last.y, list->getY());
    EXPECT_LE(last.y + last.height, list->getY() + list->getHeight());
}

TEST(ScoreListView, AnEmptyLevelShowsNoRowsAndTheSelectorSwitchesLevels)
{
    ScoreViewFixture f;
    std::function<void(uint32_t)> choose;
    uint32_t presetLevel = 99;
    int32_t selectorX = -1;
    ScoreHeaderBar::setSelectorMaker(
        [&](int32_t x, int32_t y, int32_t width, int32_t height, uint32_t level,
            std::function<void(uint32_t)> pick)
        {
            presetLevel = level;
            selectorX = x;
            choose = std::move(pick);
            return new Container(x, y, width, height, LOOK_EMPTY);
        });
    auto* view = openNow(f.app, new ScoreListView(&f.table, 2, -1));
    EXPECT_EQ(presetLevel, 2u);
    EXPECT_TRUE(view->getListContainer()->getChildren().empty());
    ASSERT_TRUE(choose);
    choose(1);
    EXPECT_EQ(view->getListContainer()->getChildren().size(), 2u);
    EXPECT_EQ(ScoreViewFixture::cell(view->getListContainer()->getChildren()[0], 1), "Max");

    // The label is as wide as its text; the selector 20 further on. Widened
    // with the list, both take half the bar's width (at most 200).
    ScoreHeaderBar* header = nullptr;
    for (Component* child : view->getChildren())
        if (auto* bar = dynamic_cast<ScoreHeaderBar*>(child))
            header = bar;
    ASSERT_NE(header, nullptr);
    int32_t textWidth = header->getLabel()->getTextObject()->getMaxLineWidth();
    EXPECT_EQ(selectorX, textWidth + ScoreHeaderBar::SELECTOR_GAP);
    EXPECT_EQ(header->getSelector()->getX() - header->getX(), textWidth + ScoreHeaderBar::SELECTOR_GAP);
    EXPECT_EQ(header->getWidth(), view->getContentWidth());
    EXPECT_EQ(header->getLabel()->getWidth(), std::min(view->getContentWidth() / 2, 200));
    EXPECT_EQ(header->getSelector()->getHeight(), ScoreHeaderBar::HEIGHT);
}

TEST(ScoreListView, MainMenuShowsTheLevelOfTheLastComputerOpponent)
{
    SetupConfig setup;
    setup.mLastPlayerType1 = 1;
    setup.mLastComputerDiff1 = 2;
    setup.mLastComputerDiff0 = 1;
    EXPECT_EQ(ScoreListView::menuLevel(setup), 2u);
    setup.mLastPlayerType1 = 0;
    EXPECT_EQ(ScoreListView::menuLevel(setup), 1u);
}
