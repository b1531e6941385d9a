#include "Gui/Layer.h"

#include "Engine/Engine2D.h"
#include "Framework/ApplicationGeneric.h"
#include "Gui/GuiManager.h"
#include "Platform/System/Random.h"

Layer::Layer(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t lookId, bool randomEffect,
             const Margins* margins)
    : Container(x, y, width, height, lookId, margins)
{
    mEffectTimer.start();
    if (!randomEffect)
        return;
    ApplicationGeneric* application = getApplication();
    auto* engine = application != nullptr ? dynamic_cast<Engine2D*>(application->getEngine2D()) : nullptr;
    uint32_t count = engine != nullptr ? engine->getOpeningEffectCount() : 0;
    if (count == 0)
        return;
    mEffect = engine->createOpeningEffect(static_cast<uint32_t>(Platform::random()) % count);
    if (mEffect)
        mEffectTimer.start();
}

Layer::~Layer() = default;

ErrorCode Layer::render()
{
    if (mEffect)
    {
        uint32_t elapsed = mEffectTimer.getElapsed();
        uint32_t duration = mEffect->getDuration();
        if (elapsed <= duration)
        {
            Rect rect = getRect();
            float progress = duration > 0 ? static_cast<float>(elapsed) / static_cast<float>(duration) : 1.0f;
            mEffect->begin(progress, rect);
            ErrorCode code = Container::render();
            mEffect->end();
            return code;
        }
        mEffect.reset();
    }
    return Container::render();
}

uint32_t Layer::onMouseEvent(const MouseEvent& event)
{
    if (uint32_t result = Container::onMouseEvent(event))
        return result;
    return containsPoint(event) ? 1 : 0;
}

ErrorCode Layer::open()
{
    if (mOpened)
        return 1;
    GuiManager* manager = GuiManager::current();
    if (manager == nullptr)
        return ERROR_INVALID;
    mOpened = true;
    return manager->openLayer(this);
}

void Layer::close()
{
    if (GuiManager* manager = GuiManager::current())
        manager->closeLayer(this);
}
