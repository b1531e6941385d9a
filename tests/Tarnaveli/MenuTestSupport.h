#pragma once
// The menus' test bench: the widget test application with the game's texts,
// a set-up record and a records table in a temporary program folder, and
// menu hooks that record what the windows ask of the game.
#include "../Gui/WidgetTestSupport.h"
#include "Framework/LangTable.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/GameLooks.h"
#include "Tarnaveli/MenuHooks.h"
#include "Tarnaveli/ScoreTable.h"
#include "Tarnaveli/SetupConfig.h"

#include <filesystem>
#include <fstream>

struct MenuFixture
{
    Platform::TemporaryDirectory directory;
    WidgetTestApplication app;
    SetupConfig setup;
    ScoreTable table;
    Log calls;
    std::vector<LocalGameRequest> games;
    bool network = false;
    bool gameOver = false;

    MenuFixture()
    {
        Platform::setProgramDirectory(directory.path());
        std::filesystem::create_directories(directory.path() + "data");
        app.setService(std::make_unique<LangTable>());
        registerGameTexts(*app.getLangTable());
        EXPECT_EQ(app.getLangTable()->init(), 0u);
        table.init();

        MenuHooks& hooks = menuHooks();
        hooks = MenuHooks{};
        hooks.setup = [this] { return &setup; };
        hooks.scoreTable = [this] { return &table; };
        hooks.openMenuVideo = [this] { calls.push_back("video on"); };
        hooks.closeMenuVideo = [this] { calls.push_back("video off"); };
        hooks.quit = [this] { calls.push_back("quit"); };
        hooks.openNetworkMenu = [this] { calls.push_back("network menu"); };
        hooks.playEffect = [this](uint32_t id) { calls.push_back("sound " + std::to_string(id)); };
        hooks.startLocalGame = [this](const LocalGameRequest& request) { games.push_back(request); };
        hooks.leaveToMainMenu = [this](const std::string& text) { calls.push_back("leave [" + text + "]"); };
        hooks.closeGameMenu = [this] { calls.push_back("board buttons back"); };
        hooks.isNetworkGame = [this] { return network; };
        hooks.isGameOver = [this] { return gameOver; };
        hooks.openLoadDialog = [this](bool inGame) { calls.push_back(inGame ? "load in game" : "load"); };
        hooks.openSaveDialog = [this] { calls.push_back("save"); };
        hooks.openOptions = [this] { calls.push_back("options"); };
    }
    ~MenuFixture() { menuHooks() = MenuHooks{}; }

    // The game's own dialog look (buttons, shortcut keys) instead of the
    // toolkit's default.
    void useGameDialogLook()
    {
        for (const LookEntry& entry : lookTable())
            if (entry.lookClass == LookClass::Dialog)
                app.looks().setLook(entry.id, makeGameLook(entry));
    }

    // The top-level layers of a type, bottom first.
    template <class T> std::vector<T*> layers()
    {
        std::vector<T*> found;
        for (Component* child : app.root().getChildren())
        {
            if (auto* layer = dynamic_cast<T*>(child))
                found.push_back(layer);
        }
        return found;
    }
    template <class T> T* only()
    {
        std::vector<T*> found = layers<T>();
        EXPECT_EQ(found.size(), 1u);
        return found.size() == 1 ? found[0] : nullptr;
    }
    template <class T> T* open(T* layer)
    {
        EXPECT_EQ(layer->open(), 0);
        app.gui().processDeferred();
        return layer;
    }
    void clickOn(Component* widget)
    {
        app.click(widget->getX() + widget->getWidth() / 2, widget->getY() + widget->getHeight() / 2);
        app.gui().processDeferred();
    }
    // A dialog's button by its result bit.
    void clickResult(Dialog* dialog, uint32_t bit)
    {
        uint32_t index = 0;
        while ((1u << index) != bit)
            ++index;
        Component* button = dialog->getButton(index);
        ASSERT_NE(button, nullptr);
        clickOn(button);
    }
};
