#pragma once
// The 2D engine on the graphics device of Platform/Gpu. It makes the
// program's one device (on the main window, or the one a test hands it),
// clears and presents every frame, sets the device up for the 2D pass (a
// projection that puts vertex (x, y, getZ()) on pixel (x, y), y downwards,
// alpha blending, no depth test, no lighting) and makes every 2D drawable.
// The 3D engine draws through the same device and render-state cache
// (getDevice, getStateCache).
//
// Around a device reset it tells the widget tree, every texture of its list
// and the 3D engine to let go of their device objects, resets the device,
// and has them made again in the reverse order.
#include "Engine/Engine2D.h"
#include "Engine2DD3D/RenderStateCache.h"
#include "Platform/Gpu/Device.h"

#include <memory>

class Engine2DD3D final : public Engine2D
{
public:
    // Makes Engine2D::create(1) build this engine and the application build
    // its 2D engine service through Engine2D::create with the settings' kind.
    static void registerKind();

    Engine2DD3D();
    ~Engine2DD3D() override;

    // Makes the device on the application's main window.
    ErrorCode init() override;
    // Takes the device it is given (a recording device in tests, a device a
    // test made on its own window) and prepares it as init does.
    ErrorCode initWithDevice(std::unique_ptr<Platform::Gpu::Device> device);

    std::unique_ptr<Image2D> createImage(float x, float y, Texture* texture, uint32_t flags, float width,
                                         float height, uint32_t color, RenderList* renderList) override;
    std::unique_ptr<Image2DStreched> createStretchedImage(const Platform::Vector3* corners, Texture* texture,
                                                          uint32_t color, uint32_t unused) override;
    Texture* createTexture(uint32_t width, uint32_t height, uint16_t flags) override;
    Texture* createTextureFromPixels(uint32_t width, uint32_t height, const void* pixels, uint16_t flags,
                                     uint32_t color) override;
    Texture* createTextureRegion(Texture* atlas, const ResourceRect& rect) override;
    Texture* getTextureByResourceId(uint32_t resourceId, uint16_t flags) override;
    Texture* getTextureByName(const std::string& name, uint16_t flags) override;
    std::unique_ptr<SheetMoveBase> createSheetMove(const Rect2D& rect) override;
    std::unique_ptr<SheetMove> createGridSheetMove() override;
    std::unique_ptr<RenderedComponent> createRenderedComponent(const Rect2D& rect) override;
    std::unique_ptr<LayerEffect> createOpeningEffect(uint32_t kind) override;
    EngineComponent* createVideo(int32_t x, int32_t y, int32_t width, int32_t height,
                                 RenderList* renderList) override;

    ErrorCode presentPending() override;
    ErrorCode beginFrame() override;
    ErrorCode endFrame() override;
    ErrorCode begin2DPass() override;
    ErrorCode begin2DPassBehindScene() override;
    ErrorCode end2DPass() override;
    uint64_t getTextureMemoryUsed() override;
    uint64_t getTextureMemoryAvailable() override;

    // Lets go of the device objects, resets the device and makes them again.
    ErrorCode reset();
    ErrorCode releaseDeviceObjects();
    ErrorCode restoreDeviceObjects();
    ErrorCode setup2DStates();
    void setup2DTransforms();

    Platform::Gpu::Device* getDevice() const { return mDevice.get(); }
    RenderStateCache& getStateCache() { return mStateCache; }
    ResourceList& textureList() { return mTextures; }
    // False after a reset that could not complete; the next frame tries
    // again.
    bool isDeviceReady() const { return mDeviceReady; }
    // Set while a presented frame may need presenting again.
    bool getPresentParity() const { return mPresentParity; }

private:
    bool pass3DEnabled() const;

    std::unique_ptr<Platform::Gpu::Device> mDevice;
    bool mPresentParity = false;
    bool mDeviceReady = true;
    bool mPresenterInstalled = false;
    Platform::Gpu::PresentParameters mPresentParameters;
    uint64_t mInitialTextureMemory = 0;
    RenderStateCache mStateCache;
    // Depth writes and test of the pass before a pass behind the scene.
    bool mBehindScene = false;
    uint32_t mSavedZWrite = 1;
    uint32_t mSavedZFunc = 0;
};
