#include "Tarnaveli/WindowAskTutorial.h"

#include "Framework/LangTable.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/WindowNewGame.h"

WindowAskTutorial::WindowAskTutorial(uint32_t mode, MenuServices& services)
    : Dialog(400, 200, getLangText(LANG_WINDOWASKTUTORIAL_TITLE), 5, false, true, LOOK_DIALOG), mMode(mode),
      mServices(services)
{
    addTextLine(getLangText(LANG_WINDOWASKTUTORIAL_TEXT));
}

void WindowAskTutorial::startTutorialGame(MenuServices& services)
{
    LocalGameRequest request;
    request.playerKind[0] = 0;
    request.playerKind[1] = 1;
    request.level = 0;
    request.tutorial = true;
    services.startLocalGame(request);
}

void WindowAskTutorial::onResult(uint32_t buttonBits)
{
    if (buttonBits == 1)
        startTutorialGame(mServices);
    else if (mMode == MODE_SOLO)
        (new WindowNewGame(mServices))->open();
    else
        mServices.openNetworkMenu();
    close();
}
