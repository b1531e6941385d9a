#pragma once
// A top-level container of the GUI root: screens, windows and message boxes.
// Built detached, shown once with open and removed with close; the manager adds
// and deletes it between dispatches. It may play an opening effect of the 2D
// engine while it first shows.
#include "Engine/LayerEffect.h"
#include "Framework/Timer.h"
#include "Gui/Container.h"

#include <concepts>
#include <memory>

class Layer : public Container
{
public:
    Layer(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t lookId, bool randomEffect,
          const Margins* margins = nullptr);
    ~Layer() override;

    ErrorCode render() override;
    // Consumes every event over the layer, so layers below never see it.
    uint32_t onMouseEvent(const MouseEvent& event) override;

    // Once only: 1 when already opened. An opened layer is the GUI
    // manager's, which deletes it when it closes (showLayer says so in the
    // types for a layer just made).
    virtual ErrorCode open();
    // Became the root's top child.
    virtual void activate() {}
    virtual void deactivate() {}
    virtual bool isModal() { return false; }

    // Removed and deleted after the current dispatch.
    void close();
    bool isOpened() const { return mOpened; }
    bool hasEffect() const { return mEffect != nullptr; }

protected:
    std::unique_ptr<LayerEffect> mEffect;
    Timer mEffectTimer;
    bool mOpened = false;
};

// Opens a layer made for the purpose: the GUI manager takes it. Without a
// manager to show it, it is deleted here and null comes back.
template <std::derived_from<Layer> T> T* showLayer(std::unique_ptr<T> layer)
{
    if (layer == nullptr || layer->open() != 0)
        return nullptr;
    return layer.release();
}
