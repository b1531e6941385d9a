#include "Tarnaveli/WindowHelp.h"

#include "Framework/ApplicationGeneric.h"
#include "Gui/Image.h"
#include "Gui/Look.h"
#include "Gui/TextButton.h"
#include "Tarnaveli/GameDescription/GameDescription.h"
#include "Tarnaveli/WindowMenu.h"

namespace
{
int32_t clientWidth()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? static_cast<int32_t>(application->getSettings().mClientWidth) : 1024;
}

int32_t clientHeight()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? static_cast<int32_t>(application->getSettings().mClientHeight) : 768;
}

Texture* image(uint32_t id)
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? application->getImage(id) : nullptr;
}
} // namespace

WindowHelp::WindowHelp(bool returnToMenu, MenuServices& services)
    : Window(0, 0, clientWidth(), clientHeight(), false, LOOK_EMPTY, false, false),
      mReturnToMenu(returnToMenu), mServices(services)
{
    mPage1 = new Image(0, 0, mWidth, mHeight, image(IMAGE_PAGE_1));
    mPage1->setColor(fadeColor(0));
    addChild(mPage1);
    mPage2 = new Image(0, 0, mWidth, mHeight, image(IMAGE_PAGE_2));
    mPage2->setVisible(false);
    addChild(mPage2);
    mButton = new TextButton(880, 671, 121, 64, std::string(), 20, std::string());
    mButton->setColor(fadeColor(0));
    mButton->onClick.mFunction = [this](Component*, uint32_t) { next(); };
    addChild(mButton);
    mTimer.start();
}

uint32_t WindowHelp::fadeColor(uint32_t t)
{
    const uint32_t alpha = t < FADE_MS ? t * 255 / FADE_MS : 255;
    return alpha << 24 | 0xFFFFFF;
}

void WindowHelp::animate()
{
    Window::animate();
    const uint32_t t = mTimer.getElapsed();
    if (mStage == 0)
    {
        mPage1->setColor(fadeColor(t));
        mButton->setColor(fadeColor(t));
    }
    else if (mStage == 1)
    {
        mPage2->setColor(fadeColor(t));
        if (t >= FADE_MS && mPage1 != nullptr)
        {
            deleteChild(mPage1);
            mPage1 = nullptr;
        }
    }
}

void WindowHelp::next()
{
    if (mStage == 0)
    {
        mTimer.start();
        mStage = 1;
        mPage2->setVisible(true);
        mPage2->setColor(fadeColor(0));
        mButton->setColor(0xFFFFFFFF);
        if (GameDescription* description = mServices.getGameDescription())
            description->getTutorialLinkGroup().createButtons(this);
        return;
    }
    if (mStage == 2)
        return;
    mStage = 2;
    close();
    if (mReturnToMenu)
        WindowMenu::openNew(mServices);
}
