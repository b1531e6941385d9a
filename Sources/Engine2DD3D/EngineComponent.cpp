#include "Engine2DD3D/EngineComponent.h"

#include "Sound/SoundManager.h"

#include <algorithm>

namespace
{

std::vector<EngineComponent*>& registry()
{
    static std::vector<EngineComponent*> components;
    return components;
}

uint32_t gSoundLevel = 255;

} // namespace

EngineComponent::EngineComponent(int32_t x, int32_t y, int32_t width, int32_t height, RenderList* renderList)
    : Component(x, y, width, height)
{
    Component::setRenderList(renderList);
    registry().push_back(this);
}

EngineComponent::~EngineComponent()
{
    auto& all = registry();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

const std::vector<EngineComponent*>& EngineComponent::components()
{
    return registry();
}

uint32_t EngineComponent::soundLevel()
{
    return gSoundLevel;
}

void EngineComponent::setSoundLevel(uint32_t level)
{
    gSoundLevel = std::min<uint32_t>(level, 255);
    // A copy: a component's volume change must not see the list move.
    std::vector<EngineComponent*> all = registry();
    for (EngineComponent* component : all)
        component->setVolume(gSoundLevel);
}

void EngineComponent::listenToSoundManager(SoundManager& manager)
{
    setSoundLevel(manager.getGroup(SoundManager::EFFECTS_GROUP).level);
    manager.setLevelListener([](uint32_t level) { EngineComponent::setSoundLevel(level); });
}
