// What the player does with the keyboard and with selections, and the menu
// music's length.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Gui/ComboBox.h"
#include "Gui/ComboDropList.h"
#include "Gui/FileDialog.h"
#include "Gui/Label.h"
#include "Gui/Text.h"
#include "Gui/TextField.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/WindowAskTutorial.h"
#include "Tarnaveli/WindowGameMenu.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowNewGame.h"
#include "Tarnaveli/WindowNewGameMulti.h"
#include "Tarnaveli/WindowOption.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

using namespace Play;
namespace fs = std::filesystem;

namespace
{
void pressEnter(Driver& driver)
{
    driver.pressKey(SDL_SCANCODE_RETURN, SDLK_RETURN, "\r");
    driver.settle(10);
}

void pressEscape(Driver& driver)
{
    driver.pressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    driver.settle(10);
}

// Double-clicks the list row showing the name.
bool openRow(Driver& driver, FileDialog& dialog, const std::string& name)
{
    for (Label* label : driver.allOf<Label>(&dialog))
        if (Driver::textOf(label) == name && Driver::shown(label))
        {
            const Rect r = label->getRect();
            driver.doubleClick(r.x + 10, r.y + r.height / 2);
            driver.settle(5);
            return true;
        }
    return false;
}
} // namespace

TEST(PlayInput, DialogsAnswerEnterWithOkAndEscapeWithNo)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    ASSERT_TRUE(openMainMenuEntry(driver, WindowMenu::SOLO));
    ASSERT_NE(driver.layer<WindowAskTutorial>(), nullptr);
    pressEscape(driver);
    EXPECT_EQ(driver.layer<WindowAskTutorial>(), nullptr) << "Echap did not answer Non";
    ASSERT_NE(driver.layer<WindowNewGame>(), nullptr);
    pressEnter(driver);
    ASSERT_TRUE(driver.waitFor([&] { return GameScreen::current() != nullptr; }, 100))
        << "Entrée did not answer OK";
    driver.settle(40);

    // In the save dialog Enter saves, wherever the caret is.
    driver.click(driver.find<BoardGraphics3D>()->getButton(3));
    driver.settle(40);
    clickMenuEntry(driver, WindowGameMenu::SAVE);
    auto* dialog = driver.layer<FileDialog>();
    ASSERT_NE(dialog, nullptr);
    driver.click(driver.allOf<TextField>(dialog).back());
    driver.type("clavier");
    pressEnter(driver);
    EXPECT_EQ(driver.layer<FileDialog>(), nullptr) << "Entrée did not save";
    EXPECT_TRUE(fs::exists(driver.dataPath("saves/clavier.tnv")));
}

TEST(PlayInput, TheDropListsHoveredItemReadsWithNoCaret)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    // The piece-set list: the item under the cursor reads, with no caret.
    auto* options = fromMainMenu<WindowOption>(driver, WindowMenu::OPTIONS);
    ASSERT_NE(options, nullptr);
    driver.click(options->getPieceSetCombo()->getArrowButton());
    driver.settle(10);
    auto* list = driver.find<ComboDropList>();
    ASSERT_NE(list, nullptr);
    Label* item = list->getItemLabel(0);
    ASSERT_NE(item, nullptr);
    driver.mouseMove(item->getX() + item->getWidth() - 4, item->getY() + item->getHeight() / 2);
    driver.settle(5);
    const Rect hovered = glyphSpan(item, 0, 8);
    EXPECT_GE(inkContrast(driver.readFrame(), hovered), 3.0) << "hovered item " << describe(item);
    EXPECT_EQ(item->getTextObject()->getFlags() & TEXT_SHOW_CARET, 0u) << "a caret in the drop list";
}

TEST(PlayInput, TextSelectedWithTheMouseReads)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    ASSERT_TRUE(openMainMenuEntry(driver, WindowMenu::MULTI));
    ASSERT_TRUE(clickText(driver, "Non"));
    driver.settle(20);
    auto* menu = driver.layer<WindowNewGameMulti>();
    ASSERT_NE(menu, nullptr);
    TextField* field = driver.find<TextField>(menu);
    ASSERT_NE(field, nullptr);
    driver.click(field);
    driver.type("Mireille");
    Text2D* text = field->getTextObject();
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t x1 = 0;
    int32_t y1 = 0;
    text->getCharPosition(0, x0, y0);
    text->getCharPosition(int32_t(text->getText().size()), x1, y1);
    const int32_t y = field->getY() + field->getHeight() / 2;
    driver.mouseMove(x1 + 2, y);
    driver.step();
    driver.mouseDown(x1 + 2, y);
    driver.step();
    for (int x = x1; x >= x0; x -= 8)
    {
        driver.mouseMove(x, y);
        driver.step();
    }
    driver.mouseMove(x0 - 2, y);
    driver.step();
    driver.mouseUp(x0 - 2, y);
    // The cursor and the caret are not the text.
    driver.mouseMove(1000, 20);
    driver.settle(5);
    ASSERT_EQ(field->getSelectedText(), "Mireille");
    // The measure itself reads the plain label beside the field.
    Component* caption = driver.findText("Pseudo :", menu);
    ASSERT_NE(caption, nullptr);
    ASSERT_GE(inkContrast(driver.readFrame(), glyphSpan(caption, 0, 5)), 3.0);
    const Rect selected = glyphSpan(field, 1, 7);
    EXPECT_GE(inkContrast(driver.readFrame(), selected), 3.0) << "selected text in " << describe(field);
}

TEST(PlayInput, TheFileDialogStartsAtTheAbsoluteSavesFolderAndGoesUpToTheProgramsFolder)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    fs::create_directories(driver.dataPath("saves"));
    auto* dialog = fromMainMenu<FileDialog>(driver, WindowMenu::LOAD);
    ASSERT_NE(dialog, nullptr);
    const std::string start = dialog->getFolder();
    EXPECT_FALSE(start.rfind("data", 0) == 0) << "a relative folder: " << start;
    ASSERT_TRUE(openRow(driver, *dialog, ".."));
    ASSERT_TRUE(openRow(driver, *dialog, ".."));
    bool programFolder = false;
    for (const FileDialog::Entry& entry : dialog->getEntries())
        programFolder = programFolder || (entry.isFolder && entry.name == "data");
    EXPECT_TRUE(programFolder) << "after \"..\" twice from " << start << ": " << dialog->getFolder();
}

// The menu's music is played once: it must outlast a player lingering in
// the menus.
TEST(PlayInput, TheMenuMusicLastsSeveralMinutes)
{
    const std::string path = std::string(VELMORIQUE_BUILD_DIR) + "/data/sons/intro.wav";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 12u);
    auto u32 = [&](size_t at)
    {
        uint32_t value = 0;
        std::memcpy(&value, bytes.data() + at, 4);
        return value;
    };
    uint32_t byteRate = 0;
    uint64_t dataBytes = 0;
    for (size_t at = 12; at + 8 <= bytes.size();)
    {
        const std::string id(bytes.data() + at, 4);
        const uint32_t size = u32(at + 4);
        if (id == "fmt " && at + 20 <= bytes.size())
            byteRate = u32(at + 16);
        else if (id == "data")
            dataBytes = size;
        at += 8 + size + (size & 1);
    }
    ASSERT_GT(byteRate, 0u);
    EXPECT_GE(dataBytes / byteRate, 180u) << "the menu music lasts " << dataBytes / byteRate << " s";
}
