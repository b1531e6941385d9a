#pragma once
// The application's 3D service (service 3): the camera, the ambient colour,
// the scene tree, the lights and the device-dependent models; it runs the
// 3D pass of each frame, picks scene nodes under a screen point and makes
// every 3D object. Engine3DD3D is its implementation. The engine that
// exists is the current one: scene nodes, transforms and lights made while
// it lives belong to it.
#include "Engine/ChildListNode.h"
#include "Engine/Material.h"
#include "Framework/ServiceInterfaces.h"
#include "Platform/Math/Matrix.h"
#include "Platform/Math/Vector.h"

#include <cstdint>
#include <memory>
#include <vector>

class Light;
class MeshInstance;
class MeshModel;
class ModelD3DBase;
class Sprite3D;

struct CameraSetup
{
    Platform::Vector3 mEye;
    Platform::Vector3 mTarget;
    Platform::Vector3 mUp;
    // Vertical, in radians.
    float mFieldOfView = 0;
};

// Filled by a pick; the caller owns it and sets the distance it accepts.
struct PickResult
{
    uint8_t mHit = 0;
    // A mesh instance, or the animated instance whose pick box was hit.
    ChildListNode* mNode = nullptr;
    // In the space of the instance hit.
    Platform::Vector3 mPoint;
    Platform::Vector2 mTextureCoords;
    uint32_t mFace = 0;
    // Along the ray, of the nearest hit so far.
    float mDistance = 0;
    // In view space; set only while a pick walks the tree.
    const Platform::Vector3* mRayDirection = nullptr;
};

// A model holding device data of its own, told about device resets.
class DeviceModel
{
public:
    virtual ~DeviceModel() = default;
    virtual ErrorCode onLostDevice() = 0;
    virtual ErrorCode onResetDevice() = 0;
};

class Engine3D : public Engine3DBase
{
public:
    Engine3D();
    // Deletes the scene root and the default material; the lists' elements
    // belong to others.
    ~Engine3D() override;
    Engine3D(const Engine3D&) = delete;
    Engine3D& operator=(const Engine3D&) = delete;

    // The engine made last and still alive, or null.
    static Engine3D* current();

    uint32_t getServiceId() override { return 3; }
    // What the application's render step calls: render3D.
    ErrorCode render() override { return render3D(); }
    // Draws the scene tree from its root.
    virtual ErrorCode render3D();
    // Picks at window point (x, y), from the start node or the scene root.
    virtual ErrorCode pick(float x, float y, PickResult* result, ChildListNode* start) = 0;
    virtual Material* createMaterial() = 0;
    virtual Light* createLight() = 0;
    virtual MeshModel* createMeshModel() = 0;
    // An empty animated model (the class lives with the implementation);
    // the caller owns it, loads it and makes its instances.
    virtual ModelD3DBase* createAnimatedMeshModel() = 0;
    // A new sprite, already in the engine's sprite list; the caller owns it.
    virtual Sprite3D* createSprite() = 0;
    virtual EngineTransform* createTransform() = 0;
    virtual ErrorCode onLostDevice() = 0;
    virtual ErrorCode onResetDevice() = 0;
    virtual void setAmbient(uint32_t color) { mAmbient = color; }

    // Appends the node to the scene root, once the root exists.
    void addToScene(ChildListNode* node);
    // Picks under the mouse position of the input manager.
    ErrorCode pickUnderCursor(PickResult* result);
    // The first enabled directional light, in the order lights were made.
    Light* findFirstDirectionalLight() const;

    void registerLight(Light* light);
    void unregisterLight(Light* light);
    // A sprite being destroyed leaves the engine's list.
    virtual void removeSprite(Sprite3D* sprite) { (void)sprite; }
    void addModel(DeviceModel* model);
    void removeModel(DeviceModel* model);

    // Installs a camera record (not owned); null goes back to the default.
    void setCamera(CameraSetup* camera) { mCamera = camera; }
    const CameraSetup& getCamera() const { return mCamera != nullptr ? *mCamera : mDefaultCamera; }
    float getFieldOfView() const { return getCamera().mFieldOfView; }
    uint32_t getAmbient() const { return mAmbient; }
    ChildListNode* getSceneRoot() const { return mSceneRoot.get(); }
    Material* getDefaultMaterial() const { return mDefaultMaterial.get(); }
    const std::vector<Light*>& getLights() const { return mLights; }

    // The window size the camera and the picking ray use.
    virtual void getViewSize(float* width, float* height) const;
    // The world matrix in force at this point of the scene walk; false
    // without a device to ask.
    virtual bool getWorldTransform(Platform::Matrix* world)
    {
        (void)world;
        return false;
    }

protected:
    // The root node, made before the engine knows it so that it stays
    // parentless; pickable.
    void createSceneRoot();
    CameraSetup mDefaultCamera{{0, 500, -1500}, {0, 0, 0}, {0, 0, 1}, 0.7853982f};
    CameraSetup* mCamera = nullptr;
    uint32_t mAmbient = 0xFFFFFFFF;
    std::unique_ptr<ChildListNode> mSceneRoot;
    std::unique_ptr<Material> mDefaultMaterial;
    ChildListNode* mRenderRoot = nullptr;
    std::vector<Light*> mLights;
    std::vector<DeviceModel*> mModels;
};
