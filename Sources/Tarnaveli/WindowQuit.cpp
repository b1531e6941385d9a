#include "Tarnaveli/WindowQuit.h"

#include "Framework/ApplicationGeneric.h"
#include "Tarnaveli/GameDescription/GameDescription.h"

IntroScreen WindowQuit::makeScreen()
{
    IntroScreen screen;
    ApplicationGeneric* application = getApplication();
    screen.mImage = application != nullptr ? application->getImage(IMAGE_CLOSING) : nullptr;
    screen.mColor = 0xFF000000;
    screen.mSoundId = 0;
    screen.mDisplayMs = DISPLAY_MS;
    screen.mFadeMs = FADE_MS;
    return screen;
}

WindowQuit::WindowQuit(GameDescription* description)
    : FadePopup(
          makeScreen(),
          [](FadePopup*, uint32_t)
          {
              if (ApplicationGeneric* application = getApplication())
                  application->quitApplication(false);
          },
          0, 0)
{
    if (description != nullptr)
        description->getEndScreenLinkGroup().createButtons(this);
}
