#include "Framework/ApplicationGeneric.h"

#include "Framework/LangTable.h"
#include "Sound/SoundManager.h"

#include <cassert>

namespace
{
ApplicationGeneric* gApplication = nullptr;
}

const char* const gTextUnavailable = "Text unavailable - ApplicationGeneric object not loaded";

ApplicationGeneric* getApplication()
{
    return gApplication;
}

ApplicationGeneric::ApplicationGeneric(const ApplicationSettings& settings) : mSettings(&settings)
{
    assert(gApplication == nullptr && "only one application exists at a time");
    gApplication = this;
}

ApplicationGeneric::~ApplicationGeneric()
{
    mServices[SERVICE_GUI_MANAGER].reset();
    for (uint32_t id = SERVICE_COUNT; id-- > 0;)
        mServices[id].reset();
    if (gApplication == this)
        gApplication = nullptr;
}

void ApplicationGeneric::setService(std::unique_ptr<AppService> service)
{
    uint32_t id = service->getServiceId();
    assert(id < SERVICE_COUNT);
    mServices[id] = std::move(service);
}

LangTable* ApplicationGeneric::getLangTable() const
{
    return static_cast<LangTable*>(mServices[SERVICE_LANG_TABLE].get());
}

SoundManager* ApplicationGeneric::getSoundManager() const
{
    return static_cast<SoundManager*>(mServices[SERVICE_SOUND_MANAGER].get());
}

void ApplicationGeneric::presentPendingFrame()
{
    if (mPresentPendingFrame)
        mPresentPendingFrame();
}
