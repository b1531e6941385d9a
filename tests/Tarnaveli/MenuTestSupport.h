#pragma once
// The menus' test bench: the widget test application with the game's texts,
// a set-up record and a records table in a temporary program folder, and
// the fake game that records what the windows ask of it.
#include "../Gui/WidgetTestSupport.h"
#include "FakeGameServices.h"
#include "Framework/LangTable.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/GameLooks.h"
#include "Tarnaveli/ScoreTable.h"
#include "Tarnaveli/SetupConfig.h"

#include <filesystem>
#include <fstream>

struct MenuFixture
{
    Platform::TemporaryDirectory directory;
    FakeGameServices game;
    WidgetTestApplication app;
    SetupConfig& setup = game.setup;
    ScoreTable& table = game.table;
    Log& calls = game.calls;
    std::vector<LocalGameRequest>& games = game.localGames;
    bool& network = game.networkGame;
    bool& gameOver = game.gameOver;

    MenuFixture()
    {
        Platform::setProgramDirectory(directory.path());
        std::filesystem::create_directories(directory.path() + "data");
        app.setService(std::make_unique<LangTable>());
        registerGameTexts(*app.getLangTable());
        EXPECT_EQ(app.getLangTable()->init(), 0u);
        table.init();
    }

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
