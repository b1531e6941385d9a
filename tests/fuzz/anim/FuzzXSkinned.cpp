// The animated-model reader on arbitrary bytes: it must refuse or read, never
// read outside the input, and whatever it reads must pose and skin safely.
#include "Platform/Mesh/SkinnedMesh.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> copy(data, data + size);
    Platform::SkinnedModelData model;
    if (Platform::readSkinnedModel(copy.data(), copy.size(), &model) != Platform::Gpu::GPU_OK)
        return 0;
    Platform::AnimationController controller(model.animationSets);
    controller.bindFrames(model.frames.names);
    for (uint32_t set = 0; set < controller.getNumAnimationSets() && set < 2; ++set)
    {
        controller.setTrackAnimationSet(set, int32_t(set));
        controller.setTrackEnable(set, true);
        controller.setTrackWeight(set, 0.5f);
    }
    for (double step : {0.0, 0.3, 1.7})
    {
        controller.advanceTime(step, nullptr);
        model.frames.resetLocals();
        controller.apply(&model.frames.locals);
        model.frames.updateCombined(Platform::Matrix{});
        for (const Platform::SkinnedMeshPart& part : model.meshes)
        {
            std::vector<Platform::Matrix> bones;
            part.computeBoneMatrices(model.frames, &bones);
            std::vector<Platform::SkinnedVertex> out(part.vertices.size());
            part.skin(bones, model.frames.combined[size_t(part.frame)], out.data());
        }
    }
    return 0;
}
