#pragma once
// A static model on the graphics device: its .X file read through the
// program's file lookup (archive first, then disk) into one mesh of
// position, normal and texture coordinates, one MaterialD3D per subset with
// the textures the file names (beside the .X file), drawn with the model's
// culling, transparency and texture addressing. MeshInstanceD3D draws an
// instance: its outline first when it has one, then the model, then its
// children.
#include "Engine/MeshModel.h"
#include "Platform/Mesh/Mesh.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class MeshModelD3D final : public MeshModel
{
public:
    // Files larger than this are refused before they are read.
    static constexpr uint64_t MAX_FILE_SIZE = 64u * 1024 * 1024;

    MeshModelD3D() = default;
    ~MeshModelD3D() override;

    MeshInstance* createInstance() override;
    ErrorCode pick(MeshInstance* instance, PickResult* result) override;
    ErrorCode computeBoundingBox() override;
    ErrorCode doLoad() override;
    ErrorCode doUnload() override;

    // A mesh built in code: position, normal and texture coordinates, 16-bit
    // indices; one new material per subset. The caller fills the buffers
    // through getMesh().
    ErrorCode createMesh(uint32_t faceCount, uint32_t vertexCount, uint32_t subsetCount);
    // Draws every subset with the instance's materials, or in the outline
    // pass only the geometry.
    ErrorCode draw(MeshInstance* instance, bool outlinePass);

    Platform::Mesh* getMesh() const { return mMesh.get(); }

private:
    // Notes that the fault with this model's file has been put before the
    // player already; returns the code.
    ErrorCode noteShownFault(ErrorCode code) const;

    std::unique_ptr<Platform::Mesh> mMesh;
};

class MeshInstanceD3D final : public MeshInstance
{
public:
    explicit MeshInstanceD3D(MeshModelD3D* model) : MeshInstance(model) {}
    ErrorCode render() override;
    ErrorCode pick(PickResult* result) override;

private:
    ErrorCode renderOutline(MeshModelD3D* model);
};

// The whole of a model file through the program's file lookup; false for an
// empty file or one larger than maxSize.
bool readModelFile(const std::string& fileName, uint64_t maxSize, std::vector<uint8_t>* bytes);
