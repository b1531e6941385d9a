#pragma once
// The shared geometry of a static 3D object (MeshModel) and its placements
// in the scene (MeshInstance). A model is loaded while anyone uses it:
// instances and preloading descriptions hold use counts, the first use
// loads it and the last one unloads it (only models read from a file: one
// built in code keeps its geometry). The model owns one material per
// subset; an instance may put its own material over any subset and draw an
// outline around the object. MeshModelD3D and MeshInstanceD3D implement them.
#include "Engine/ChildListNode.h"
#include "Engine/Material.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Engine3D;
class MeshInstance;

class MeshModel
{
public:
    enum Culling : uint32_t
    {
        CULLING_NONE = 0,
        CULLING_CW = 1,
        CULLING_CCW = 2
    };
    enum Transparency : uint32_t
    {
        TRANSPARENCY_NONE = 0,
        TRANSPARENCY_ALPHA = 1,
        TRANSPARENCY_ALPHA_THRESHOLD = 2
    };

    MeshModel() = default;
    virtual ~MeshModel();
    MeshModel(const MeshModel&) = delete;
    MeshModel& operator=(const MeshModel&) = delete;

    // A new instance on this model, in the scene; the caller owns it.
    virtual MeshInstance* createInstance() = 0;
    // Tests the ray of the result against the model as the instance places it.
    virtual ErrorCode pick(MeshInstance* instance, PickResult* result) = 0;
    // The box of the vertices as the model's own transform places them.
    virtual ErrorCode computeBoundingBox() = 0;
    virtual ErrorCode doLoad() = 0;
    virtual ErrorCode doUnload() = 0;

    // One more user; the first one loads the model and gets its code.
    ErrorCode addUser();
    // One user less; the last one unloads a model read from a file.
    ErrorCode removeUser();
    // Centres the model on the point: its own transform moves by -point.
    ErrorCode setOrigin(const Platform::Vector3& point);

    uint32_t getCulling() const { return mCulling; }
    void setCulling(uint32_t culling) { mCulling = culling; }
    uint32_t getTransparency() const { return mTransparency; }
    void setTransparency(uint32_t mode) { mTransparency = mode; }
    uint8_t getThreshold() const { return mThreshold; }
    void setThreshold(uint8_t threshold) { mThreshold = threshold; }
    bool getTextureRepeat() const { return mTextureRepeat; }
    void setTextureRepeat(bool repeat) { mTextureRepeat = repeat; }
    const std::string& getFileName() const { return mFileName; }
    void setFileName(const std::string& fileName) { mFileName = fileName; }
    Transform3D& getTransform() { return mTransform; }
    uint32_t getUseCount() const { return mUseCount; }
    size_t getMaterialCount() const { return mMaterials.size(); }
    Material* getMaterial(size_t index) const
    {
        return index < mMaterials.size() ? mMaterials[index].get() : nullptr;
    }

    Platform::Vector3 mBoxMin;
    Platform::Vector3 mBoxMax;

protected:
    Transform3D mTransform;
    std::vector<std::unique_ptr<Material>> mMaterials;
    uint32_t mCulling = CULLING_NONE;
    uint32_t mTransparency = TRANSPARENCY_ALPHA;
    uint8_t mThreshold = 0;
    bool mTextureRepeat = true;
    // Relative to the program's folder; empty for a model built in code.
    std::string mFileName;
    uint32_t mUseCount = 0;
};

class MeshInstance : public ChildListNode
{
public:
    // Holds a use of the model (loading it on the first), with no material
    // of its own over any subset.
    explicit MeshInstance(MeshModel* model);
    ~MeshInstance() override;

    // Puts the material (null: the model's own) over every subset; returns
    // the subset count.
    size_t setAllMaterials(Material* material);
    size_t getSubsetCount() const { return mMaterials.size(); }
    Material* getMaterial(size_t index) const
    {
        return index < mMaterials.size() ? mMaterials[index] : nullptr;
    }
    void setMaterial(size_t index, Material* material);
    // The material a subset draws with: the instance's, else the model's.
    Material* getEffectiveMaterial(size_t index) const;
    // Appends one new material of the engine per subset, a copy of what the
    // subset draws with (textures shared, never owned); a subset without
    // any material gets the engine's new material as it comes. Returns the
    // number appended.
    size_t copyMaterials(Engine3D& engine, std::vector<std::unique_ptr<Material>>& copies) const;

    MeshModel* getModel() const { return mModel; }
    // 0x00RRGGBB colour, width (0 none, 1 or 2 pixels) in the top byte.
    uint32_t getOutline() const { return mOutline; }
    void setOutline(uint32_t outline) { mOutline = outline; }

protected:
    MeshModel* mModel;
    std::vector<Material*> mMaterials;
    uint32_t mOutline = 0;
};
