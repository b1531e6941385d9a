#include "Tarnaveli/MenuVideoWindow.h"

#include "Engine/Engine2D.h"
#include "Engine2DD3D/EngineComponent.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/LangTable.h"
#include "Framework/Messages.h"
#include "Gui/Image.h"
#include "Gui/Look.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameLang.h"

namespace
{
MenuVideoWindow* gCurrent = nullptr;

int32_t clientSize(bool width)
{
    ApplicationGeneric* application = getApplication();
    if (application == nullptr)
        return width ? 1024 : 768;
    const ApplicationSettings& settings = application->getSettings();
    return static_cast<int32_t>(width ? settings.mClientWidth : settings.mClientHeight);
}
} // namespace

std::string MenuVideoWindow::fillTexts(const std::string& format, const std::string& first,
                                       const std::string& second)
{
    // The format comes from the language file: never handed to printf.
    const std::string* values[2] = {&first, &second};
    std::string result;
    size_t used = 0;
    for (size_t i = 0; i < format.size(); ++i)
    {
        if (used < 2 && format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's')
        {
            result += *values[used++];
            ++i;
        }
        else
            result += format[i];
    }
    return result;
}

MenuVideoWindow* MenuVideoWindow::current()
{
    return gCurrent;
}

MenuVideoWindow* MenuVideoWindow::openNew(MenuServices& services)
{
    auto* window = new MenuVideoWindow(services);
    window->open();
    return window;
}

MenuVideoWindow::MenuVideoWindow(MenuServices& services)
    : Layer(0, 0, clientSize(true), clientSize(false), LOOK_EMPTY, false), mServices(services)
{
    gCurrent = this;
    ApplicationGeneric* application = getApplication();
    Engine2D* engine = application != nullptr ? dynamic_cast<Engine2D*>(application->getEngine2D()) : nullptr;
    if (engine != nullptr)
        mVideo.reset(engine->createVideo(0, 0, mWidth, mHeight, mRenderList));
    if (mVideo != nullptr)
    {
        // The video takes a reference of its own; the application keeps its.
        Texture* still = application->getImage(IMAGE_STILL);
        if (still != nullptr)
            still->addRef();
        mVideo->setStillImage(still);
        mVideo->setEndCallback(&MenuVideoWindow::onVideoEnd, this);
        ErrorCode code = mVideo->open(VIDEO_FILE);
        if (code != ERROR_OK)
        {
            mVideo.reset();
            showMessage("%s", fillTexts(getLangText(LANG_FATAL_ERROR), GameApplication::getErrorText(code),
                                        getLangText(LANG_VIDEO_MENU_ERROR))
                                  .c_str());
            mServices.fatalQuit();
            return;
        }
        mVideo->play();
        mServices.startMenuMusic();
    }
    if (Texture* logo = application != nullptr ? application->getImage(IMAGE_LOGO) : nullptr)
    {
        mLogo = new Image(4, 0, logo);
        mLogo->moveTo(4, mHeight - mLogo->getHeight() - 4, false);
        addChild(mLogo);
    }
}

MenuVideoWindow::~MenuVideoWindow()
{
    if (gCurrent == this)
        gCurrent = nullptr;
    if (mVideo != nullptr)
        mVideo->stop();
}

void MenuVideoWindow::onVideoEnd(uint32_t, void* window)
{
    auto* self = static_cast<MenuVideoWindow*>(window);
    if (self->mVideo != nullptr)
    {
        self->mVideo->setPosition(0);
        self->mVideo->play();
    }
}

void MenuVideoWindow::animate()
{
    Layer::animate();
    if (mVideo != nullptr)
        mVideo->animate();
}

ErrorCode MenuVideoWindow::render()
{
    if (mVideo != nullptr)
    {
        if (ErrorCode code = mVideo->render())
            return code;
    }
    return Layer::render();
}
