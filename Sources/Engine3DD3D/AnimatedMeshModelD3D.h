#pragma once
// Skinned, animated models on the graphics device. AnimatedMeshModelD3D is
// the shared model: its .X file's frame hierarchy, one device mesh per Mesh
// of the file with its materials, the animation sets as a template
// controller, and a pick box around the bind pose. AnimatedMeshD3D is one
// instance in the scene tree: it owns a copy of the controller, advances it
// by the frame time, reports its animations' events to a listener and draws
// every mesh, the skinned ones moved by their bones.
//
// Skinned meshes are drawn through the matrix-palette skinning effect
// (data\models\MultiAnimation3.fx), one draw per bone combination of their
// blended mesh, lit by the engine's first enabled directional light. The
// technique follows the device's vertex-shader version: "t0" (2.0 and up)
// and "t1" (1.1) skin on the card; "t2" (none) has the processor move each
// group's vertices with the same palette into a plain copy of the mesh,
// which the effect then draws. Meshes without bones go through the device's
// own lighting, every enabled light.
#include "Engine/ChildListNode.h"
#include "Engine/Engine3D.h"
#include "Engine/Transform3D.h"
#include "Platform/Gpu/Effect.h"
#include "Platform/Mesh/BlendedMesh.h"
#include "Platform/Mesh/Mesh.h"
#include "Platform/Mesh/SkinnedMesh.h"

#include <memory>
#include <string>
#include <vector>

class AnimatedMeshD3D;
class Material;
class MeshInstance;
class MeshModel;

// The effect file the models need, relative to the program folder.
inline constexpr const char* kAnimationEffectPath = "data\\models\\MultiAnimation3.fx";

// One animation the owner means to play: the set's name, how many
// milliseconds before its end the event callback fires, and two values of
// the owner's.
struct AnimationDescriptor
{
    std::string mName;
    uint32_t mEventLead = 0;
    uint32_t mValue1 = 0;
    uint32_t mValue2 = 0;
};

// The base of device-dependent models: registered with the 3D engine for
// device resets while it lives.
class ModelD3DBase : public DeviceModel
{
public:
    ModelD3DBase();
    ~ModelD3DBase() override;
    ModelD3DBase(const ModelD3DBase&) = delete;
    ModelD3DBase& operator=(const ModelD3DBase&) = delete;

    virtual ErrorCode load(const std::string& fileName) = 0;
    virtual AnimatedMeshD3D* createInstance() = 0;
    virtual ErrorCode computeBoundingBox() = 0;
    virtual void setBoundingBox(const Platform::Vector3& low, const Platform::Vector3& high);
    // Moves the model so that point is at its origin; the box follows.
    ErrorCode setOrigin(const Platform::Vector3& point);

    Platform::Vector3 mBoxMin;
    Platform::Vector3 mBoxMax;
    Transform3D mTransform;
    std::string mFileName;

private:
    Engine3D* mEngine = nullptr;
};

class AnimatedMeshModelD3D final : public ModelD3DBase
{
public:
    static constexpr uint64_t MAX_FILE_SIZE = 64u * 1024 * 1024;
    static constexpr uint64_t MAX_EFFECT_SIZE = 1024u * 1024;
    static constexpr uint32_t TRACK_COUNT = 2;
    // The palette the effect is built for when the device has the room.
    static constexpr const char* PALETTE_SIZE_DEFAULT = "35";

    AnimatedMeshModelD3D();
    // Instances still alive lose their model.
    ~AnimatedMeshModelD3D() override;

    ErrorCode load(const std::string& fileName) override;
    ErrorCode onLostDevice() override;
    ErrorCode onResetDevice() override;
    AnimatedMeshD3D* createInstance() override;
    ErrorCode computeBoundingBox() override;
    void setBoundingBox(const Platform::Vector3& low, const Platform::Vector3& high) override;

    // 1 when the controller has no set of the descriptor's name.
    ErrorCode setAnimationDescriptor(uint32_t index, const AnimationDescriptor& descriptor);
    bool hasAnimationSet(const std::string& name) const;
    // The period of descriptor i's set in milliseconds, truncated; 0 when
    // there is none.
    uint32_t getAnimationLength(uint32_t index) const;

    bool isLoaded() const { return mController != nullptr; }
    const std::string& getTechnique() const { return mTechnique; }
    bool isSoftwareSkinning() const { return mSoftwareSkinning; }
    bool hasEffect() const { return mEffect != nullptr; }
    Platform::Gpu::Effect* getEffect() const { return mEffect.get(); }
    uint32_t getCulling() const { return mCulling; }
    void setCulling(uint32_t culling) { mCulling = culling; }
    const std::vector<AnimatedMeshD3D*>& getInstances() const { return mInstances; }
    const std::vector<AnimationDescriptor>& getDescriptors() const { return mDescriptors; }
    const Platform::AnimationController* getController() const { return mController.get(); }
    Platform::FrameHierarchy& getFrames() { return mData.frames; }
    const std::vector<Platform::SkinnedMeshPart>& getParts() const { return mData.meshes; }
    // The plain mesh of a part without bones; null for a skinned one.
    Platform::Mesh* getPartMesh(size_t part) const { return mParts[part].mesh.get(); }
    // The blended mesh of a skinned part; null for a plain one.
    const Platform::BlendedMesh* getBlendedMesh(size_t part) const
    {
        return mParts[part].blended.mesh ? &mParts[part].blended : nullptr;
    }
    // The copy that the processor skins into with "t2".
    Platform::Mesh* getSoftwareMesh(size_t part) const { return mParts[part].software.get(); }
    // Offset x combined matrix of bone id of a skinned part (the holder bone
    // included).
    Platform::Matrix boneMatrix(size_t part, uint32_t id) const;
    std::vector<Platform::Matrix>& getPalette() { return mPalette; }
    Material* getPartMaterial(size_t part, size_t material) const;
    size_t getPartMaterialCount(size_t part) const { return mParts[part].materials.size(); }
    MeshInstance* getPickBox() const { return mPickBox.get(); }

    // Instances join and leave the list as they are made and destroyed.
    void addInstance(AnimatedMeshD3D* instance);
    void removeInstance(AnimatedMeshD3D* instance);

private:
    struct Part
    {
        std::unique_ptr<Platform::Mesh> mesh;
        Platform::BlendedMesh blended;
        std::unique_ptr<Platform::Mesh> software;
        std::vector<std::unique_ptr<Material>> materials;
    };

    void release();
    // Reads and builds the effect file; the device's result, with the
    // compiler's reasons on standard error.
    Platform::PlatformResult createEffect(Platform::Gpu::Device* device);
    ErrorCode buildParts(Platform::Gpu::Device* device);
    Platform::PlatformResult buildSkinnedPart(const Platform::SkinnedMeshPart& source,
                                              Platform::Gpu::Device* device, Part* part);
    static Platform::PlatformResult buildPlainMesh(const Platform::SkinnedMeshPart& source,
                                                   Platform::Gpu::Device* device,
                                                   std::unique_ptr<Platform::Mesh>* out);
    ErrorCode buildPickBox();

    std::string mTechnique;
    bool mSoftwareSkinning = false;
    std::unique_ptr<Platform::Gpu::Effect> mEffect;
    std::vector<Platform::Matrix> mPalette;
    uint32_t mCulling = 0;
    Platform::SkinnedModelData mData;
    std::vector<Part> mParts;
    std::unique_ptr<Platform::AnimationController> mController;
    std::vector<AnimatedMeshD3D*> mInstances;
    std::vector<AnimationDescriptor> mDescriptors;
    std::string mEffectPath;
    std::unique_ptr<MeshModel> mPickBoxModel;
    std::unique_ptr<MeshInstance> mPickBox;
};

// Told about the animations of the track it listens on.
class AnimationListener
{
public:
    virtual ~AnimationListener() = default;
    // The event key, the descriptor's lead before the end of the set.
    virtual void onAnimationEvent(AnimatedMeshD3D* instance, uint32_t userValue) = 0;
    // The end of the set (once per loop).
    virtual void onAnimationEnd(AnimatedMeshD3D* instance, uint32_t userValue) = 0;
};

class AnimatedMeshD3D final : public ChildListNode
{
public:
    // Callback data of the two keys each descriptor's set gets.
    enum EventKind : uint32_t
    {
        EVENT_LEAD = 0,
        EVENT_END = 1
    };

    explicit AnimatedMeshD3D(AnimatedMeshModelD3D* model);
    ~AnimatedMeshD3D() override;

    ErrorCode onLostDevice() override;
    ErrorCode onResetDevice() override;
    ErrorCode render() override;
    ErrorCode pick(PickResult* result) override;

    // Takes a copy of the model's controller: every track off, each
    // descriptor's set given its two event keys, then the first
    // descriptor's set (or the first set without descriptors) played on
    // track 0. GPU_FAIL's code when a descriptor names no set.
    ErrorCode setAnimationController(const Platform::AnimationController& controller);
    // Plays descriptor i's set on track 0 from its start, speed and weight 1.
    ErrorCode playAnimation(uint32_t descriptor);
    // Cross-fades to descriptor i's set over duration ms: the set starts on
    // the other track, whose speed and weight rise from 0 to 1 while those
    // of the playing track fall from their values to 0; the playing track
    // is switched off at the end.
    ErrorCode switchAnimation(uint32_t descriptor, uint32_t duration);
    uint32_t getCurrentTrack() const { return mCurrentTrack; }
    // Moves the animation on; render does this with the frame time.
    void advanceTime(double seconds);
    // Poses the model's hierarchy as this instance's controller says, under
    // the root matrix.
    void pose(const Platform::Matrix& root = Platform::Matrix{});
    // A point of the model's space in window pixels: x = (ndc x + 1) x
    // width / 2, y = height x (1 - ndc y) / 2, z the projected depth.
    Platform::Vector3 projectToWindow(const Platform::Vector3& point);
    // Four lines of four "%05.5f" numbers.
    static std::string formatMatrix(const Platform::Matrix& matrix);
    // Writes formatMatrix to standard error.
    static void printMatrix(const Platform::Matrix& matrix);

    AnimatedMeshModelD3D* getModel() const { return mModel; }
    Platform::AnimationController* getController() const { return mController.get(); }
    void setListener(AnimationListener* listener, uint32_t userValue, uint32_t track)
    {
        mListener = listener;
        mUserValue = userValue;
        mListenedTrack = track;
    }
    AnimationListener* getListener() const { return mListener; }
    uint32_t getUserValue() const { return mUserValue; }
    uint32_t getListenedTrack() const { return mListenedTrack; }
    double getTime() const { return mTime; }
    // Material overrides, per mesh of the model and material of the mesh;
    // null draws the model's own.
    void setMaterial(size_t part, size_t material, Material* override);
    Material* getMaterial(size_t part, size_t material) const;

    // The model is going away.
    void detachModel() { mModel = nullptr; }

private:
    class Handler;
    friend class Handler;
    struct TrackRamp
    {
        uint32_t track = 0;
        double start = 0, duration = 0;
        float speedFrom = 0, speedTo = 0, weightFrom = 0, weightTo = 0;
        bool disableAtEnd = false;
    };
    void applyRamps();
    // The override, or the model's own.
    Material* effectiveMaterial(size_t part, size_t material) const;
    void setEffectParameters(Platform::Gpu::Effect* effect);
    Platform::PlatformResult drawPlainPart(size_t part);
    Platform::PlatformResult drawSkinnedPart(size_t part, Platform::Gpu::Effect* effect);

    AnimatedMeshModelD3D* mModel;
    std::vector<std::vector<Material*>> mOverrides;
    std::unique_ptr<Platform::AnimationController> mController;
    std::unique_ptr<Handler> mHandler;
    double mTime = 0;
    std::vector<int32_t> mSetIndices;
    AnimationListener* mListener = nullptr;
    uint32_t mUserValue = 0;
    uint32_t mListenedTrack = 0;
    uint32_t mCurrentTrack = 0;
    std::vector<TrackRamp> mRamps;
};
