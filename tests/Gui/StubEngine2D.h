#pragma once
// A 2D engine that draws and makes nothing: the widget tests' fakes derive
// from it and override only what they record or hand out.
#include "Engine/Engine2D.h"
#include "Gui/RenderedComponent.h"
#include "Gui/SheetMoveBase.h"

#include <memory>
#include <string>

class StubEngine2D : public Engine2D
{
public:
    ErrorCode init() override { return 0; }
    ErrorCode beginFrame() override { return 0; }
    ErrorCode begin2DPass() override { return 0; }
    ErrorCode end2DPass() override { return 0; }
    ErrorCode endFrame() override { return 0; }
    uint64_t getTextureMemoryUsed() override { return 0; }
    uint64_t getTextureMemoryAvailable() override { return 0; }
    std::unique_ptr<Image2D> createImage(float, float, Texture*, uint32_t, float, float, uint32_t,
                                         RenderList*) override
    {
        return nullptr;
    }
    std::unique_ptr<Image2DStreched> createStretchedImage(const Platform::Vector3*, Texture*, uint32_t,
                                                          uint32_t) override
    {
        return nullptr;
    }
    Texture* createTexture(uint32_t, uint32_t, uint16_t) override { return nullptr; }
    Texture* createTextureFromPixels(uint32_t, uint32_t, const void*, uint16_t, uint32_t) override
    {
        return nullptr;
    }
    Texture* getTextureByResourceId(uint32_t, uint16_t) override { return nullptr; }
    Texture* getTextureByName(const std::string&, uint16_t) override { return nullptr; }
    std::unique_ptr<SheetMoveBase> createSheetMove(const Rect2D&) override { return nullptr; }
    std::unique_ptr<SheetMove> createGridSheetMove() override { return nullptr; }
    std::unique_ptr<RenderedComponent> createRenderedComponent(const Rect2D&) override { return nullptr; }
    ErrorCode presentPending() override { return 0; }
    std::unique_ptr<LayerEffect> createOpeningEffect(uint32_t) override { return nullptr; }
};
