#pragma once
// Two peers in one process on 127.0.0.1 with free ports, the GUI services, and
// the fake game that records what the network windows hand to other screens.
#include "../Gui/GuiTestSupport.h"
#include "../NetworkDirectPlay/PeerHarness.h"
#include "FakeGameServices.h"
#include "Framework/LangTable.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/Board/NetworkPlayer.h"
#include "Tarnaveli/GameLang.h"

#include <chrono>
#include <filesystem>
#include <thread>

struct NetworkWindowFixture
{
    Platform::TemporaryDirectory directory;
    FakeGameServices game;
    GuiTestApplication app;
    int& menus = game.networkMenus;
    std::vector<StartedGame>& games = game.networkGames;

    NetworkWindowFixture()
    {
        // The game's texts, written to a language file of this run.
        Platform::setProgramDirectory(directory.path());
        auto table = std::make_unique<LangTable>();
        registerGameTexts(*table);
        std::filesystem::create_directories(directory.path() + "data/Ressources");
        EXPECT_EQ(table->init(), ERROR_OK);
        app.setService(std::move(table));
    }

    // Runs frames (the update, then the GUI queue) until the condition
    // holds; false on time-out.
    bool frames(const std::function<void()>& frame, const std::function<bool()>& done, int ms = 5000)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!done())
        {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            frame();
            app.gui().processDeferred();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }
};

#include "Gui/ContainerLift.h"
#include "Tarnaveli/WindowJoinGame.h"
#include "Tarnaveli/WindowPrepareGame.h"

// A host waiting in its window and a joiner that found it through the join
// window and now waits in its own. The peers outlive the windows.
struct JoinedGame
{
    TestPeer host{"Alice"};
    TestPeer joiner{"Bruno"};
    NetworkWindowFixture f;
    WindowPrepareGame* hostWindow = nullptr;
    WindowPrepareGame* joinerWindow = nullptr;

    bool hostAndList(WindowJoinGame*& join)
    {
        {
            std::scoped_lock guard(host.peer);
            if (host.peer.host("Partie d'Alice", 2) != ERROR_OK)
                return false;
        }
        joiner.peer.setRemotePort(host.peer.getHostedPort());
        hostWindow = openNow(f.app, new WindowPrepareGame(host.peer, f.game));
        join = openNow(f.app, new WindowJoinGame(joiner.peer, f.game));
        return f.frames([&] { join->update(); }, [&] { return join->getList()->getRowCount() > 0; });
    }

    bool join()
    {
        WindowJoinGame* window = nullptr;
        if (!hostAndList(window))
            return false;
        window->getList()->select(0);
        window->onResult(1);
        if (!f.frames([&] { window->update(); }, [&] { return WindowPrepareGame::current() != hostWindow; }))
            return false;
        joinerWindow = WindowPrepareGame::current();
        f.app.gui().processDeferred();
        // The slot fills before the joiner's name arrives: wait for the name.
        return f.frames([&] { hostWindow->update(); },
                        [&]
                        {
                            return hostWindow->isLaunchEnabled() && !hostWindow->getNotices().empty() &&
                                   hostWindow->getRows()[1]->getTextObject()->getText() == "Bruno";
                        });
    }
};
