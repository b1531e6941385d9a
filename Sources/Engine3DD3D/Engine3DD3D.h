#pragma once
// The 3D engine on the graphics device of the 2D engine: the camera as a
// left-handed view and perspective projection, the render states of the 3D
// pass through the 2D engine's render-state cache, picking by a ray from
// the eye through a window point, and the factories of lights, mesh models
// and transforms. While no device is available (a 2D engine without one)
// the passes draw nothing and succeed.
#include "Engine/Engine3D.h"
#include "Engine2DD3D/RenderStateCache.h"
#include "Engine3DD3D/AnimatedMeshModelD3D.h"
#include "Platform/Gpu/Device.h"
#include "Platform/Math/Matrix.h"

#include <deque>
#include <vector>

#include "Framework/SourceLocation.h"
#include <memory>

class Engine3DD3D final : public Engine3D
{
public:
    static constexpr uint32_t KIND = 1;

    // Draws with the 2D engine's device and cache, looked up at init.
    explicit Engine3DD3D(Engine2DBase* engine2D);
    // Draws with the given device and cache (neither owned).
    Engine3DD3D(Platform::Gpu::Device* device, RenderStateCache* cache);
    ~Engine3DD3D() override;

    // Makes the application's 3D engine of kind 1 an Engine3DD3D on its 2D
    // engine.
    static void registerKind();
    // The current engine's device, or null.
    static Platform::Gpu::Device* currentDevice();
    static Engine3DD3D* currentD3D();

    ErrorCode init() override;
    ErrorCode beginPass3D() override;
    ErrorCode endPass3D() override;
    void beginReusablePass() override;
    void endReusablePass() override;
    ErrorCode render3D() override;
    ErrorCode pick(float x, float y, PickResult* result, ChildListNode* start) override;
    Material* createMaterial() override;
    Light* createLight() override;
    MeshModel* createMeshModel() override;
    AnimatedMeshModelD3D* createAnimatedMeshModel() override;
    Sprite3D* createSprite() override;
    EngineTransform* createTransform() override;
    ErrorCode onLostDevice() override;
    ErrorCode onResetDevice() override;
    void setAmbient(uint32_t color) override;

    // The sprite list and the shared quad buffer: a sprite takes a free quad,
    // or doubles the buffer when none is left.
    ErrorCode addSprite(Sprite3D* sprite);
    void removeSprite(Sprite3D* sprite) override;
    void updateSpriteQuad(Sprite3D* sprite);
    ErrorCode drawSprites();
    const std::vector<Sprite3D*>& getSprites() const { return mSprites; }
    const std::deque<uint32_t>& getFreeQuads() const { return mFreeQuads; }
    uint32_t getQuadCapacity() const { return mQuadCapacity; }
    Platform::Gpu::VertexBuffer* getSpriteVertices() const { return mSpriteVertices.get(); }

    void computeViewProjection(Platform::Matrix* view, Platform::Matrix* projection);
    ErrorCode applyCamera();

    Platform::Gpu::Device* getDevice() const { return mDevice; }
    RenderStateCache* getRenderStateCache() const { return mCache; }
    Engine2DBase* getEngine2D() const { return mEngine2D; }
    const Platform::Matrix& getInverseView() const { return mInverseView; }
    const Platform::Matrix& getBillboard() const { return mBillboard; }
    const Platform::Vector3& getEye() const { return mEye; }
    const Platform::Vector3& getViewDirection() const { return mViewDirection; }

    void getViewSize(float* width, float* height) const override;
    bool getWorldTransform(Platform::Matrix* world) override;

private:
    // Passes the 2D engine's reset notifications on to the engine.
    class DeviceListener;
    std::unique_ptr<DeviceListener> mDeviceListener;

    Engine2DBase* mEngine2D = nullptr;
    Platform::Gpu::Device* mDevice = nullptr;
    RenderStateCache* mCache = nullptr;
    ErrorCode createSpriteVertices(uint32_t quads, SourceLocation where = SourceLocation::current());

    std::vector<Sprite3D*> mSprites;
    std::deque<uint32_t> mFreeQuads;
    std::unique_ptr<Platform::Gpu::VertexBuffer> mSpriteVertices;
    uint32_t mQuadCapacity = 0;
    Platform::Matrix mInverseView;
    Platform::Matrix mBillboard;
    Platform::Vector3 mViewDirection;
    Platform::Vector3 mEye;
};

// Kind 1 makes an Engine3DD3D on the 2D engine; any other kind, null.
std::unique_ptr<Engine3D> createEngine3D(Engine2DBase* engine2D, uint32_t kind);
