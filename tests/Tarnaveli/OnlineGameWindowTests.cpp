// The online-server window: leaving before the first frame, and the lobby's
// notifications sending the player back to the main menu.
#include "Gui/Label.h"
#include "MenuTestSupport.h"
#include "NetworkDirectPlay/LobbyClient.h"
#include "Tarnaveli/OnlineGameWindow.h"
#include "Tarnaveli/WindowMenu.h"

TEST(OnlineGameWindow, CancelBeforeTheFirstFrameReturnsToTheMenuSilently)
{
    MenuFixture f;
    auto* window = f.open(new OnlineGameWindow(f.game));
    EXPECT_EQ(window->getStatusLabel()->getTextObject()->getText(),
              "Connection au serveur Morvex Games... Essai 1/5");
    EXPECT_EQ(window->getLobbyClient(), nullptr);
    f.clickResult(window, 8);
    EXPECT_TRUE(f.layers<OnlineGameWindow>().empty());
    EXPECT_NE(f.only<WindowMenu>(), nullptr);
    EXPECT_TRUE(f.layers<MessageDialog>().empty());
}

TEST(OnlineGameWindow, AServerLineClosesTheWindowAndShowsItAsAnError)
{
    MenuFixture f;
    auto* window = f.open(new OnlineGameWindow(f.game));
    window->onLobbyChat("Bonjour");
    // A second report in the same update opens nothing more.
    window->onLobbyFailure("Perdu");
    f.app.gui().processDeferred();
    EXPECT_TRUE(f.layers<OnlineGameWindow>().empty());
    EXPECT_NE(f.only<WindowMenu>(), nullptr);
    auto* box = f.only<MessageDialog>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->getTitleRenderer()->getLabel()->getTextObject()->getText(), "Erreur");
}

TEST(OnlineGameWindow, CountsFillTheTextWithoutFormattingIt)
{
    EXPECT_EQ(OnlineGameWindow::fillCounts("Essai %i/%i", 2, 5), "Essai 2/5");
    EXPECT_EQ(OnlineGameWindow::fillCounts("%s %i %i %i", 1, 2), "%s 1 2 %i");
    EXPECT_EQ(OnlineGameWindow::fillCounts("fin %", 1, 2), "fin %");
}

TEST(OnlineGameWindow, ShowsEachTryFromOneToFiveThenGoesBackToTheMenu)
{
    // On the fixture's clock; nobody answers on this machine's lobby port.
    MenuFixture f;
    Platform::ManualClock& clock = f.app.clock;
    f.setup.mMorvexGamesServer = "127.0.0.1";
    auto* window = f.open(new OnlineGameWindow(f.game));
    auto status = [&] { return window->getStatusLabel()->getTextObject()->getText(); };
    window->animate();
    EXPECT_EQ(status(), "Connection au serveur Morvex Games... Essai 1/5");
    for (int attempt = 2; attempt <= 5; ++attempt)
    {
        clock.advanceMs(LobbyClient::kRetryIntervalMs);
        window->animate();
        EXPECT_EQ(status(), "Connection au serveur Morvex Games... Essai " + std::to_string(attempt) + "/5");
    }
    clock.advanceMs(LobbyClient::kRetryIntervalMs);
    window->animate();
    f.app.gui().processDeferred();
    EXPECT_TRUE(f.layers<OnlineGameWindow>().empty());
    EXPECT_NE(f.only<WindowMenu>(), nullptr);
}
