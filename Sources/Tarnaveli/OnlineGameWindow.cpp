#include "Tarnaveli/OnlineGameWindow.h"

#include "Framework/LangTable.h"
#include "Gui/Label.h"
#include "Gui/Look.h"
#include "NetworkDirectPlay/LobbyClient.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/SetupConfig.h"
#include "Tarnaveli/WindowMenu.h"

#include <algorithm>

namespace
{
// Reports to its window; the window owns it.
class OnlineLobbyClient final : public LobbyClient
{
public:
    explicit OnlineLobbyClient(OnlineGameWindow* window) : mWindow(window) {}
    void onFailure(const std::string& text) override { mWindow->onLobbyFailure(text); }
    void onChat(const std::string& text) override { mWindow->onLobbyChat(text); }

protected:
    void onStateChanged(uint32_t) override {}
    void onDisconnected(const std::string& text) override { mWindow->onLobbyDisconnected(text); }

private:
    OnlineGameWindow* mWindow;
};
} // namespace

std::string OnlineGameWindow::fillCounts(const std::string& text, int32_t first, int32_t second)
{
    // The text comes from the language file: it is never used as a format.
    std::string result;
    const int32_t values[2] = {first, second};
    size_t used = 0;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (used < 2 && text[i] == '%' && i + 1 < text.size() && text[i + 1] == 'i')
        {
            result += std::to_string(values[used++]);
            ++i;
        }
        else
            result += text[i];
    }
    return result;
}

OnlineGameWindow::OnlineGameWindow(MenuServices& services)
    : Dialog(300, 128, getLangText(LANG_WINDOW_MORVEX_GAMES_TITLE), 8, false, true, LOOK_DIALOG),
      mServices(services)
{
    mStatus = new Label(getContentLeft(), getContentTop(), getContentWidth(), getContentHeight(),
                        fillCounts(getLangText(LANG_WINDOW_MORVEX_GAMES_CONNECTING), 1,
                                   static_cast<int32_t>(LobbyClient::kMaxTries)),
                        0xFF000000, TEXT_WORD_WRAP);
    addChild(mStatus);
}

OnlineGameWindow::~OnlineGameWindow() = default;

void OnlineGameWindow::animate()
{
    Dialog::animate();
    if (mAborted)
        return;
    if (mClient == nullptr)
    {
        mClient = std::make_unique<OnlineLobbyClient>(this);
        ErrorCode code = mClient->resetConnection(0);
        if (code == ERROR_OK)
        {
            code = mClient->login(mServices.getSetup().mMorvexGamesServer, std::string(), std::string());
        }
        if (code != ERROR_OK)
        {
            abort(GameApplication::getErrorText(code));
            return;
        }
    }
    if (mAborted)
        return;
    mClient->update();
    // The try under way, from 1/5 to 5/5, while the server is looked for.
    if (!mAborted && mClient->getState() == LOBBY_STATE_LOOKING_FOR_SERVER)
    {
        uint32_t shown = std::min(mClient->getRetryCount() + 1, LobbyClient::kMaxTries);
        mStatus->setText(fillCounts(getLangText(LANG_WINDOW_MORVEX_GAMES_CONNECTING),
                                    static_cast<int32_t>(shown),
                                    static_cast<int32_t>(LobbyClient::kMaxTries)));
    }
}

void OnlineGameWindow::onResult(uint32_t)
{
    abort(std::string());
}

void OnlineGameWindow::abort(const std::string& message)
{
    // Several notifications may arrive in one update: one menu only.
    if (mAborted)
        return;
    mAborted = true;
    close();
    WindowMenu::openNew(mServices);
    if (!message.empty())
        (new MessageDialog(getLangText(LANG_ERROR), message, 1, nullptr, nullptr))->open();
}
