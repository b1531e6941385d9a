// Every window the player can open, opened through the menus and buttons,
// checked for what the player sees: inside its frame and the screen, texts
// inside their widgets and readable, images drawn. A window the game gains
// is added to this list.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Gui/ComboBox.h"
#include "Gui/FileDialog.h"
#include "Gui/GuiManager.h"
#include "Gui/TextButton.h"
#include "Gui/TextField.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/MenuVideoWindow.h"
#include "Tarnaveli/ScoreListView.h"
#include "Tarnaveli/TutorialAdvisor.h"
#include "Tarnaveli/WindowAskTutorial.h"
#include "Tarnaveli/WindowGameMenu.h"
#include "Tarnaveli/WindowHelp.h"
#include "Tarnaveli/WindowJoinGame.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowNewGame.h"
#include "Tarnaveli/WindowNewGameMulti.h"
#include "Tarnaveli/WindowOption.h"
#include "Tarnaveli/WindowQuit.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Play;

namespace
{
struct WindowCase
{
    const char* name;
    // Opens the window as a player does; the layer to check, or null.
    std::function<Component*(Driver&)> open;
    // A column of buttons under a banner, with no frame drawn around them.
    bool frameless = false;
};

Component* helpPage(Driver& driver, int page)
{
    auto* help = fromMainMenu<WindowHelp>(driver, WindowMenu::HELP);
    if (help == nullptr)
        return nullptr;
    driver.settle(40);
    if (page == 2)
    {
        driver.click(driver.find<TextButton>(help));
        driver.settle(40);
    }
    return help;
}

Component* inGameMenu(Driver& driver)
{
    if (startSoloGame(driver) == nullptr)
        return nullptr;
    auto* view = driver.find<BoardGraphics3D>();
    driver.click(view->getButton(3));
    driver.settle(40);
    return driver.layer<WindowGameMenu>();
}

Component* networkMenu(Driver& driver)
{
    if (fromMainMenu<WindowAskTutorial>(driver, WindowMenu::MULTI) == nullptr || !clickText(driver, "Non"))
        return nullptr;
    driver.settle(20);
    auto* menu = driver.layer<WindowNewGameMulti>();
    if (menu == nullptr)
        return nullptr;
    // The longest nickname the field takes.
    driver.click(driver.find<TextField>(menu));
    driver.type(std::string(WindowNewGameMulti::NICKNAME_LENGTH, 'W'));
    return menu;
}

const WindowCase kWindows[] = {
    {"MainMenu", [](Driver& d) -> Component* { return reachMainMenu(d); }, true},
    {"MenuBackground",
     [](Driver& d) -> Component*
     { return reachMainMenu(d) != nullptr ? d.layer<MenuVideoWindow>() : nullptr; }},
    {"MainMenuInfotip",
     [](Driver& d) -> Component*
     {
         WindowMenu* menu = reachMainMenu(d);
         if (menu == nullptr)
             return nullptr;
         Component* button = menu->getMenuButton(WindowMenu::TUTORIAL);
         d.mouseMove(button->getX() + button->getWidth() / 2, button->getY() + button->getHeight() / 2);
         d.settle(40);
         return dynamic_cast<Component*>(GuiManager::current()->getInfotip());
     }},
    {"Scores", [](Driver& d) -> Component* { return fromMainMenu<ScoreListView>(d, WindowMenu::SCORES); }},
    {"Options", [](Driver& d) -> Component* { return fromMainMenu<WindowOption>(d, WindowMenu::OPTIONS); }},
    {"OptionsPieceSetList",
     [](Driver& d) -> Component*
     {
         auto* options = fromMainMenu<WindowOption>(d, WindowMenu::OPTIONS);
         if (options == nullptr)
             return nullptr;
         ComboBox* pieceSets = d.allOf<ComboBox>(options).back();
         d.click(pieceSets->getArrowButton());
         d.settle(10);
         return options;
     }},
    {"HelpPage1", [](Driver& d) { return helpPage(d, 1); }},
    {"HelpPage2", [](Driver& d) { return helpPage(d, 2); }},
    {"LoadDialog", [](Driver& d) -> Component* { return fromMainMenu<FileDialog>(d, WindowMenu::LOAD); }},
    {"FirstGameQuestion",
     [](Driver& d) -> Component* { return fromMainMenu<WindowAskTutorial>(d, WindowMenu::SOLO); }},
    {"NewGame",
     [](Driver& d) -> Component*
     {
         if (fromMainMenu<WindowAskTutorial>(d, WindowMenu::SOLO) == nullptr || !clickText(d, "Non"))
             return nullptr;
         d.settle(20);
         return d.layer<WindowNewGame>();
     }},
    {"NetworkMenu", networkMenu},
    {"JoinWindow",
     [](Driver& d) -> Component*
     {
         if (networkMenu(d) == nullptr || !clickText(d, "Rejoindre"))
             return nullptr;
         d.settle(20);
         return d.layer<WindowJoinGame>();
     }},
    {"GameScreen",
     [](Driver& d) -> Component*
     {
         startSoloGame(d);
         return GameScreen::current();
     }},
    {"NetworkGameScreen",
     [](Driver& d) -> Component*
     {
         startNetworkScreen(d);
         return GameScreen::current();
     }},
    {"ChatWindow",
     [](Driver& d) -> Component*
     { return startNetworkScreen(d) != nullptr ? GameScreen::current()->getChatWindow() : nullptr; }},
    {"GameMenu", inGameMenu, true},
    {"SaveDialog",
     [](Driver& d) -> Component*
     {
         auto* menu = dynamic_cast<WindowGameMenu*>(inGameMenu(d));
         if (menu == nullptr)
             return nullptr;
         clickMenuEntry(d, WindowGameMenu::SAVE);
         return d.layer<FileDialog>();
     }},
    {"TutorialAdvisor",
     [](Driver& d) -> Component*
     {
         if (!openMainMenuEntry(d, WindowMenu::TUTORIAL))
             return nullptr;
         d.settle(60);
         return d.find<TutorialAdvisor>();
     }},
    {"ClosingScreen",
     [](Driver& d) -> Component*
     {
         if (!openMainMenuEntry(d, WindowMenu::QUIT))
             return nullptr;
         d.settle(20);
         return d.layer<WindowQuit>();
     }},
};

class PlayWindow : public ::testing::TestWithParam<WindowCase>
{
};
} // namespace

TEST_P(PlayWindow, FitsAndReads)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    Component* window = GetParam().open(driver);
    ASSERT_NE(window, nullptr) << "the window did not open";
    driver.settle(20);
    ASSERT_TRUE(window->isVisible());
    Faults faults = checkWindow(driver, window, GetParam().frameless);
    EXPECT_TRUE(faults.empty()) << joined(faults);
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, PlayWindow, ::testing::ValuesIn(kWindows),
                         [](const ::testing::TestParamInfo<WindowCase>& info) { return info.param.name; });
