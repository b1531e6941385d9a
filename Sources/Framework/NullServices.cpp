#include "Framework/NullServices.h"

#include "Framework/Keys.h"
#include "Platform/Window/Window.h"

void NullCursorManager::update()
{
    Platform::showSystemCursor(true);
}

ErrorCode NullInputManager::init()
{
    mCursor.update();
    buildKeyNames();
    return 0;
}

void NullGuiManager::openIntroScreen(const IntroScreen&, std::function<void()> onEnd)
{
    if (onEnd)
        onEnd();
}

SoundChannel* NullSoundManager::createChannel()
{
    return new SilentSoundChannel(this);
}
