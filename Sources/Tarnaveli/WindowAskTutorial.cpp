#include "Tarnaveli/WindowAskTutorial.h"

#include "Framework/LangTable.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/MenuHooks.h"
#include "Tarnaveli/WindowNewGame.h"

WindowAskTutorial::WindowAskTutorial(uint32_t mode)
    : Dialog(400, 200, getLangText(LANG_WINDOWASKTUTORIAL_TITLE), 5, false, true, LOOK_DIALOG), mMode(mode)
{
    addTextLine(getLangText(LANG_WINDOWASKTUTORIAL_TEXT));
}

void WindowAskTutorial::startTutorialGame()
{
    LocalGameRequest request;
    request.playerKind[0] = 0;
    request.playerKind[1] = 1;
    request.level = 0;
    request.tutorial = true;
    if (menuHooks().startLocalGame)
        menuHooks().startLocalGame(request);
}

void WindowAskTutorial::onResult(uint32_t buttonBits)
{
    if (buttonBits == 1)
        startTutorialGame();
    else if (mMode == MODE_SOLO)
        (new WindowNewGame())->open();
    else if (menuHooks().openNetworkMenu)
        menuHooks().openNetworkMenu();
    close();
}
