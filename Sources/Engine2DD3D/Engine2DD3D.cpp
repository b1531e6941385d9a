#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine2DD3D/VideoControlAdapter.h"

#include "Engine2DD3D/Image2DD3D.h"
#include "Engine2DD3D/Image2DStrechedD3D.h"
#include "Engine2DD3D/LayerEffects.h"
#include "Engine2DD3D/RenderedComponentD3D.h"
#include "Engine2DD3D/SheetMoveD3D.h"
#include "Engine2DD3D/TextureD3D.h"
#include "Engine2DD3D/VideoVMR9Texture.h"
#include "Framework/AppWindow.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/ErrorText.h"
#include "Framework/LangTable.h"
#include "Framework/Messages.h"
#include "Framework/Text1252Literal.h"
#include "Platform/Gpu/GlDevice.h"

#include <bit>

using namespace Platform;
using namespace Platform::Gpu;

namespace
{
constexpr const char* kSourceFile = "Sources\\Engine2DD3D\\Engine2DD3D.cpp";
} // namespace

void Engine2DD3D::registerKind()
{
    Engine2D::registerKind(1, [] { return std::make_unique<Engine2DD3D>(); });
    // The GUI's video control bar plays its videos on this engine's textures.
    VideoControlAdapter::install();
    setServiceCreator(SERVICE_ENGINE_2D,
                      [](const ApplicationSettings& settings) -> std::unique_ptr<AppService>
                      { return Engine2D::create(settings.mEngine2DKind); });
}

Engine2DD3D::Engine2DD3D() = default;

Engine2DD3D::~Engine2DD3D()
{
    if (mPresenterInstalled)
    {
        if (ApplicationGeneric* application = getApplication())
            application->setPendingFramePresenter(nullptr);
    }
    // Textures still held elsewhere stop using the engine before the device
    // goes; their device data is let go with the device.
    while (!mTextures.empty())
        mTextures.front()->detachFromList();
    mStateCache.setDevice(nullptr);
    mDevice.reset();
}

ErrorCode Engine2DD3D::init()
{
    ApplicationGeneric* application = getApplication();
    AppWindow* appWindow = application != nullptr ? application->getAppWindow() : nullptr;
    Window* window = appWindow != nullptr ? appWindow->getWindow() : nullptr;
    // 1. Without a window there is no graphics system to draw with.
    if (window == nullptr)
        return reportD3DErrorAt(GPU_NODEVICE, kSourceFile);
    // 2. The frame has the client size of the settings.
    PresentParameters parameters;
    parameters.backBufferWidth = application->getSettings().mClientWidth;
    parameters.backBufferHeight = application->getSettings().mClientHeight;
    parameters.windowed = true;
    // 3. The device.
    std::unique_ptr<GlDevice> device;
    PlatformResult result = GlDevice::create(window->sdlWindow(), parameters, &device);
    if (resultFailed(result))
    {
        reportD3DError(static_cast<uint32_t>(result), "(%s)",
                       getLangText(LANG_ERROR_VIDEOCARDINCOMPATIBLE).c_str());
        return ERROR_VIDEOCARDINCOMPATIBLE;
    }
    if (ErrorCode code = initWithDevice(std::move(device)))
        return code;
    // Message boxes show over the last frame.
    application->setPendingFramePresenter([this] { presentPending(); });
    mPresenterInstalled = true;
    return 0;
}

ErrorCode Engine2DD3D::initWithDevice(std::unique_ptr<Device> device)
{
    if (device == nullptr)
        return reportD3DErrorAt(GPU_NODEVICE, kSourceFile);
    mDevice = std::move(device);
    mPresentParameters = mDevice->presentParameters();
    mInitialTextureMemory = mDevice->getAvailableTextureMem();
    mStateCache.setDevice(mDevice.get());
    mDeviceReady = true;
    if (ErrorCode code = setup2DStates())
        return code;
    setup2DTransforms();
    return 0;
}

bool Engine2DD3D::pass3DEnabled() const
{
    ApplicationGeneric* application = getApplication();
    return m3DListener != nullptr && (application == nullptr || application->getSettings().mPass3DEnabled);
}

ErrorCode Engine2DD3D::setup2DStates()
{
    if (mDevice == nullptr)
        return ERROR_INVALID;
    mStateCache.setState(RS_CULLMODE, CULL_NONE);
    mStateCache.setState(RS_LIGHTING, 0);
    mStateCache.setState(RS_ZENABLE, 0);
    mStateCache.setState(RS_ALPHABLENDENABLE, 1);
    mStateCache.setState(RS_SRCBLEND, BLEND_SRCALPHA);
    mStateCache.setState(RS_DESTBLEND, BLEND_INVSRCALPHA);
    const struct
    {
        uint32_t type, value;
    } stage[] = {{TSS_COLOROP, TOP_MODULATE}, {TSS_COLORARG1, TA_TEXTURE}, {TSS_COLORARG2, TA_DIFFUSE},
                 {TSS_ALPHAOP, TOP_MODULATE}, {TSS_ALPHAARG1, TA_TEXTURE}, {TSS_ALPHAARG2, TA_DIFFUSE}};
    for (const auto& entry : stage)
    {
        PlatformResult result = mDevice->setTextureStageState(0, entry.type, entry.value);
        if (resultFailed(result))
            return reportD3DErrorAt(result, kSourceFile);
    }
    PlatformResult result = mDevice->setSamplerState(0, SAMP_MIPFILTER, TEXF_NONE);
    if (resultFailed(result))
        return reportD3DErrorAt(result, kSourceFile);
    return 0;
}

void Engine2DD3D::setup2DTransforms()
{
    if (mDevice == nullptr)
        return;
    mDevice->setTransform(TS_WORLD, matrixIdentity());
    mDevice->setTransform(TS_VIEW, matrixIdentity());
    float width = static_cast<float>(mDevice->presentParameters().backBufferWidth);
    float height = static_cast<float>(mDevice->presentParameters().backBufferHeight);
    mDevice->setTransform(TS_PROJECTION,
                          matrixTranslation(-width / 2, -height / 2, 0) *
                              matrixPerspectiveOffCenterLH(0.5f - width / 2, width / 2 + 0.5f,
                                                           height / 2 + 0.5f, 0.5f - height / 2, mZ, 0.0f));
}

ErrorCode Engine2DD3D::begin2DPass()
{
    // The 3D pass may have changed both; a failure here only spoils the
    // pass, not the frame.
    setup2DStates();
    setup2DTransforms();
    return 0;
}

ErrorCode Engine2DD3D::begin2DPassBehindScene()
{
    begin2DPass();
    if (mBehindScene)
        return 0;
    mBehindScene = true;
    mSavedZWrite = mStateCache.getState(RS_ZWRITEENABLE);
    mSavedZFunc = mStateCache.getState(RS_ZFUNC);
    // Every fragment is pushed to the far plane: it passes only where the
    // depth is still as the frame was cleared, and it writes none.
    mStateCache.setState(RS_ZENABLE, 1);
    mStateCache.setState(RS_ZWRITEENABLE, 0);
    mStateCache.setState(RS_ZFUNC, CMP_LESSEQUAL);
    mStateCache.setState(RS_DEPTHBIAS, std::bit_cast<uint32_t>(1.0f));
    return 0;
}

ErrorCode Engine2DD3D::end2DPass()
{
    if (!mBehindScene)
        return 0;
    mBehindScene = false;
    mStateCache.setState(RS_DEPTHBIAS, 0);
    mStateCache.setState(RS_ZWRITEENABLE, mSavedZWrite);
    mStateCache.setState(RS_ZFUNC, mSavedZFunc);
    mStateCache.setState(RS_ZENABLE, 0);
    return 0;
}

ErrorCode Engine2DD3D::beginFrame()
{
    if (mDevice == nullptr)
        return ERROR_INVALID;
    // 1. A lost device draws nothing until it can be reset.
    PlatformResult level = mDevice->testCooperativeLevel();
    if (level == GPU_DEVICELOST)
        return 0;
    if (level == GPU_DEVICENOTRESET)
        reset();
    // 2. The frame, always opaque.
    PlatformResult result =
        mDevice->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000u | (mClearColor & 0x00FFFFFFu), 1.0f, 0);
    if (resultFailed(result))
        return reportD3DErrorAt(result, kSourceFile);
    // 3. The scene.
    return resultFailed(mDevice->beginScene()) ? ErrorCode(ERROR_INVALID) : ErrorCode(0);
}

ErrorCode Engine2DD3D::endFrame()
{
    if (mDevice == nullptr)
        return 0;
    mDevice->endScene();
    if (!resultFailed(mDevice->present()))
        mPresentParity = !mPresentParity;
    return 0;
}

ErrorCode Engine2DD3D::presentPending()
{
    if (mPresentParity && mDevice != nullptr)
    {
        if (!resultFailed(mDevice->present()))
            mPresentParity = !mPresentParity;
    }
    return 0;
}

ErrorCode Engine2DD3D::reset()
{
    if (mDevice == nullptr)
        return ERROR_INVALID;
    // 1. Nothing may hold device objects across the reset.
    if (ErrorCode code = releaseDeviceObjects())
    {
        showMessage(getLangText(LANG_FATAL_ERROR).c_str(), errorCodeToText(code).c_str(),
                    TEXT_1252("Impossible de libérer les objets du device Direct3D."));
        if (ApplicationGeneric* application = getApplication())
            application->quitApplication(true);
        mDeviceReady = false;
        return code;
    }
    // 2. The device.
    PlatformResult result = mDevice->reset(mPresentParameters);
    if (result == GPU_DEVICELOST)
    {
        mDeviceReady = false;
        return ERROR_FAILED;
    }
    if (resultFailed(result))
    {
        mDeviceReady = false;
        return reportD3DErrorAt(result, kSourceFile);
    }
    // 3. Everything made again.
    if (ErrorCode code = restoreDeviceObjects())
    {
        mDeviceReady = false;
        return code;
    }
    // 4. Ready again, with the 2D states and the cursor put back.
    mDeviceReady = true;
    if (ErrorCode code = setup2DStates())
        return code;
    mPresentParity = false;
    if (ApplicationGeneric* application = getApplication())
    {
        if (CursorManagerBase* cursor = application->getCursorManager())
            cursor->update();
    }
    return 0;
}

ErrorCode Engine2DD3D::releaseDeviceObjects()
{
    if (mGuiListener != nullptr)
    {
        if (ErrorCode code = mGuiListener->onDeviceLost())
            return code;
    }
    // A copy: a texture's own handling must not change the walk.
    ResourceList textures = mTextures;
    for (Resource* texture : textures)
    {
        if (ErrorCode code = texture->onLostDevice())
            return code;
    }
    if (pass3DEnabled())
    {
        if (ErrorCode code = m3DListener->onDeviceLost())
            return code;
    }
    return 0;
}

ErrorCode Engine2DD3D::restoreDeviceObjects()
{
    if (pass3DEnabled())
    {
        if (ErrorCode code = m3DListener->onDeviceReset())
            return code;
    }
    if (mGuiListener != nullptr)
    {
        if (ErrorCode code = mGuiListener->onDeviceReset())
            return code;
    }
    ResourceList textures = mTextures;
    for (Resource* texture : textures)
    {
        if (ErrorCode code = texture->onResetDevice())
            return code;
    }
    return 0;
}

uint64_t Engine2DD3D::getTextureMemoryUsed()
{
    if (mDevice == nullptr)
        return 0;
    uint64_t available = mDevice->getAvailableTextureMem();
    return mInitialTextureMemory > available ? mInitialTextureMemory - available : 0;
}

uint64_t Engine2DD3D::getTextureMemoryAvailable()
{
    return mDevice != nullptr ? mDevice->getAvailableTextureMem() : 0;
}

std::unique_ptr<Image2D> Engine2DD3D::createImage(float x, float y, ::Texture* texture, uint32_t flags,
                                                  float width, float height, uint32_t color,
                                                  RenderList* renderList)
{
    return std::make_unique<Image2DD3D>(*this, x, y, texture, flags, width, height, color, renderList);
}

std::unique_ptr<Image2DStreched> Engine2DD3D::createStretchedImage(const Vector3* corners, ::Texture* texture,
                                                                   uint32_t color, uint32_t unused)
{
    return std::make_unique<Image2DStrechedD3D>(*this, corners, texture, color, unused);
}

::Texture* Engine2DD3D::createTexture(uint32_t width, uint32_t height, uint16_t flags)
{
    return new TextureD3D(*this, width, height, flags);
}

::Texture* Engine2DD3D::createTextureFromPixels(uint32_t width, uint32_t height, const void* pixels,
                                                uint16_t flags, uint32_t color)
{
    return new TextureD3D(*this, width, height, pixels, flags, color);
}

::Texture* Engine2DD3D::createTextureRegion(::Texture* atlas, const ResourceRect& rect)
{
    auto* surface = dynamic_cast<TextureD3D*>(atlas);
    if (surface == nullptr || surface->isRegion() || rect.width == 0 || rect.height == 0 ||
        rect.x + rect.width > surface->getWidth() || rect.y + rect.height > surface->getHeight())
        return nullptr;
    return new TextureD3D(*this, *surface, rect);
}

::Texture* Engine2DD3D::getTextureByResourceId(uint32_t resourceId, uint16_t flags)
{
    if (::Texture* texture = findTextureByResourceId(resourceId))
    {
        texture->addRef();
        return texture;
    }
    return new TextureD3D(*this, resourceId, flags);
}

::Texture* Engine2DD3D::getTextureByName(const std::string& name, uint16_t flags)
{
    if (::Texture* texture = findTextureByName(name))
    {
        texture->addRef();
        return texture;
    }
    return new TextureD3D(*this, name, flags);
}

std::unique_ptr<SheetMoveBase> Engine2DD3D::createSheetMove(const Rect2D& rect)
{
    return std::make_unique<SheetMoveD3D>(*this, rect, false);
}

std::unique_ptr<SheetMove> Engine2DD3D::createGridSheetMove()
{
    return std::make_unique<SheetMoveGridD3D>(*this);
}

std::unique_ptr<RenderedComponent> Engine2DD3D::createRenderedComponent(const Rect2D& rect)
{
    return std::make_unique<RenderedComponentD3D>(*this, rect);
}

EngineComponent* Engine2DD3D::createVideo(int32_t x, int32_t y, int32_t width, int32_t height,
                                          RenderList* renderList)
{
    return new VideoVMR9Texture(*this, x, y, width, height, renderList);
}

std::unique_ptr<LayerEffect> Engine2DD3D::createOpeningEffect(uint32_t kind)
{
    switch (kind)
    {
    case 0:
    {
        ApplicationGeneric* application = getApplication();
        CursorManagerBase* cursor = application != nullptr ? application->getCursorManager() : nullptr;
        float mouseX = cursor != nullptr ? static_cast<float>(cursor->mMouseX) : 0.0f;
        float mouseY = cursor != nullptr ? static_cast<float>(cursor->mMouseY) : 0.0f;
        return std::make_unique<SpinLayerEffect>(*this, mouseX, mouseY);
    }
    case 1:
        return std::make_unique<ZoomLayerEffect>(*this);
    default:
        return nullptr;
    }
}
