// What a player met and was not told or not given: a click that came with
// the pointer's move taken on the previous cell, links that opened nothing
// in silence, save names the file system cannot take blamed on permissions.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Gui/Dialog.h"
#include "Gui/FileDialog.h"
#include "Gui/Image.h"
#include "Gui/Label.h"
#include "Gui/TextButton.h"
#include "Platform/System/Paths.h"
#include "Platform/System/Text1252.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "Tarnaveli/GameDescription/GameDescription.h"
#include "Tarnaveli/GameDescription/LinkGroup.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/WindowGameMenu.h"
#include "Tarnaveli/WindowHelp.h"
#include "Tarnaveli/WindowMenu.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace Play;
namespace fs = std::filesystem;

namespace
{
// The pointer rests on a cell for a few frames, then moves onto another and
// presses in that same frame.
void restThenPressAt(Driver& driver, int restX, int restY, int x, int y)
{
    int px = 0;
    int py = 0;
    ASSERT_TRUE(cellPoint(driver, restX, restY, px, py));
    driver.mouseMove(px, py);
    driver.run(3);
    ASSERT_TRUE(cellPoint(driver, x, y, px, py));
    driver.mouseMove(px, py);
    driver.mouseDown(px, py);
    driver.step();
    driver.mouseUp(px, py);
    driver.step();
}

std::string dialogText(Driver& driver, Component* dialog)
{
    std::string text;
    for (Label* label : driver.allOf<Label>(dialog))
        text += Driver::textOf(label) + " ";
    return Platform::cp1252ToUtf8(text);
}

// PATH for the test's whole body, given back afterwards.
class ScopedPath
{
public:
    explicit ScopedPath(const std::string& path)
    {
        const char* old = std::getenv("PATH");
        mHad = old != nullptr;
        mOld = mHad ? old : "";
        setenv("PATH", path.c_str(), 1);
    }
    ~ScopedPath()
    {
        if (mHad)
            setenv("PATH", mOld.c_str(), 1);
        else
            unsetenv("PATH");
    }

private:
    bool mHad = false;
    std::string mOld;
};

// The second help page's rules link, clicked; what the link opens.
std::string clickRulesLink(Driver& driver)
{
    auto* help = fromMainMenu<WindowHelp>(driver, WindowMenu::HELP);
    if (help == nullptr)
        return {};
    driver.settle(40);
    auto* next = driver.find<TextButton>(help);
    driver.click(next);
    driver.settle(40);
    const auto& areas = driver.game().getGameDescription()->getTutorialLinkGroup().getAreas();
    if (areas.empty())
        return {};
    for (TextButton* button : driver.allOf<TextButton>(help))
        if (button != next && Driver::shown(button))
        {
            driver.click(button);
            const LinkArea& area = *areas.front();
            return area.mURL.empty() ? area.mFile : area.mURL;
        }
    return {};
}

bool toldAbout(Driver& driver, const std::string& what, const std::string& detail)
{
    for (const auto& box : driver.messageBoxes())
    {
        const std::string text = Platform::cp1252ToUtf8(box.text);
        if (text.find("Impossible d'ouvrir") != std::string::npos && text.find(what) != std::string::npos &&
            text.find(detail) != std::string::npos)
            return true;
    }
    return false;
}
} // namespace

TEST(PlayBoardClick, AClickThatComesWithThePointersMoveTakesTheCellItLandsOn)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    BoardGraphics3D* view = startSoloGame(driver);
    ASSERT_NE(view, nullptr);
    Board& board = *GameScreen::current()->getBoard();
    int fromX = 0, fromY = 0, toX = 0, toY = 0;
    ASSERT_TRUE(firstWhiteMove(board, fromX, fromY, toX, toY));
    Piece& piece = *board.getCell(fromX, fromY).mOccupant;

    // From the empty middle of the board onto the piece, pressed at once.
    restThenPressAt(driver, 4, 3, fromX, fromY);
    EXPECT_EQ(view->getSelectedPiece(), &piece) << "the press was taken on the cell the pointer came from";

    // From the piece's own cell onto its target, pressed at once.
    restThenPressAt(driver, fromX, fromY, toX, toY);
    EXPECT_TRUE(driver.waitFor([&] { return board.getMoveCount() >= 1 && !view->getCurrentMove(); }, 200, 50))
        << "the move to (" << toX << "," << toY << ") was not played";
    EXPECT_EQ(piece.getX(), toX);
    EXPECT_EQ(piece.getY(), toY);
}

TEST(PlayLinks, ALinkWithoutTheDesktopsOpenerSaysWhatItCouldNotOpen)
{
    SKIP_WITHOUT_DISPLAY();
    Platform::TemporaryDirectory nothing;
    ScopedPath path(nothing.path());
    Driver driver;
    PngOnFailure png(driver);
    const std::string what = clickRulesLink(driver);
    ASSERT_FALSE(what.empty()) << "no rules link";
    const std::string name = fs::path(Platform::cp1252ToUtf8(what)).filename().string();
    EXPECT_TRUE(driver.waitFor([&] { return toldAbout(driver, name, "xdg-utils"); }, 20))
        << "nothing said that " << name << " could not be opened";
}

TEST(PlayLinks, ALinkWhoseOpenerFailsSaysWhatItCouldNotOpen)
{
    SKIP_WITHOUT_DISPLAY();
    // An opener that finds no program for the link, as on a desktop
    // without a browser.
    Platform::TemporaryDirectory bin;
    {
        std::ofstream script(bin.path() + "xdg-open");
        script << "#!/bin/sh\nexit 3\n";
    }
    fs::permissions(bin.path() + "xdg-open", fs::perms::owner_all);
    ScopedPath path(bin.path() + ":/usr/bin:/bin");
    Driver driver;
    PngOnFailure png(driver);
    const std::string what = clickRulesLink(driver);
    ASSERT_FALSE(what.empty()) << "no rules link";
    const std::string name = fs::path(Platform::cp1252ToUtf8(what)).filename().string();
    EXPECT_TRUE(driver.waitFor([&] { return toldAbout(driver, name, "code 3"); }, 300, 20))
        << "nothing said that " << name << " could not be opened";
}

TEST(PlaySaveName, ANameTheFileSystemCannotTakeIsRefusedWithItsReasonAndNothingIsWritten)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    BoardGraphics3D* view = startSoloGame(driver);
    ASSERT_NE(view, nullptr);
    driver.click(view->getButton(3));
    driver.settle(40);
    clickMenuEntry(driver, WindowGameMenu::SAVE);
    auto* dialog = driver.layer<FileDialog>();
    ASSERT_NE(dialog, nullptr);
    const struct
    {
        std::string name;
        std::string reason;
    } cases[] = {{"a/b", "ne peut pas contenir le caractère /"},
                 {"", "Indiquez le nom"},
                 {std::string(300, 'x'), "trop long"}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE("name \"" + c.name.substr(0, 20) + "\"");
        dialog->setName(c.name);
        driver.click(driver.findText("OK", dialog));
        driver.settle(10);
        auto* message = driver.layer<MessageDialog>();
        ASSERT_NE(message, nullptr) << "nothing said";
        const std::string text = dialogText(driver, message);
        EXPECT_NE(text.find(c.reason), std::string::npos) << text;
        EXPECT_EQ(text.find("écrire des fichiers"), std::string::npos) << text;
        driver.click(driver.findText("OK", message));
        driver.settle(10);
        EXPECT_EQ(driver.layer<MessageDialog>(), nullptr);
        EXPECT_EQ(driver.layer<FileDialog>(), dialog) << "the dialog closed";
    }
    // Nothing written anywhere under the data folder's saves.
    size_t files = 0;
    if (fs::exists(driver.dataPath("saves")))
        for (const auto& entry : fs::recursive_directory_iterator(driver.dataPath("saves")))
            files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 0u);
}
