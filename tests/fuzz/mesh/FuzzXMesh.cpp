// The .X loader on arbitrary bytes: it must refuse or load, never read
// outside the input, and whatever it loads must be drawable and pickable.
#include "Platform/Gpu/RecordingDevice.h"
#include "Platform/Mesh/MeshIntersect.h"
#include "Platform/Mesh/XMeshLoader.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Platform::Gpu::RecordingDevice device;
    std::vector<uint8_t> copy(data, data + size);
    std::vector<Platform::XMaterial> materials;
    std::unique_ptr<Platform::Mesh> mesh;
    if (Platform::loadMeshFromX(copy.data(), copy.size(), Platform::MESH_MANAGED, &device, &materials,
                                &mesh) != Platform::Gpu::GPU_OK)
        return 0;
    for (uint32_t subset = 0; subset < materials.size() && subset < 8; ++subset)
        mesh->drawSubset(subset);
    Platform::MeshHit hit;
    Platform::intersectMesh(*mesh, {0.1f, 0.2f, -100}, {0, 0, 1}, &hit);
    device.clearCalls();
    return 0;
}
