// Effect texts on arbitrary bytes: an effect is refused or made, never read
// outside the input; whatever is made takes its parameters and its passes.
#include "Platform/Gpu/RecordingDevice.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Platform::Gpu::RecordingDevice device;
    std::unique_ptr<Platform::Gpu::Effect> effect;
    std::string text(reinterpret_cast<const char*>(data), size);
    if (device.createEffect(text, {{"MATRIX_PALETTE_SIZE_DEFAULT", "35"}}, &effect, nullptr) !=
        Platform::Gpu::GPU_OK)
        return 0;
    int32_t value = 0;
    effect->getInt("MATRIX_PALETTE_SIZE", &value);
    Platform::Matrix palette[4];
    effect->setMatrixArray("amPalette", palette, 4);
    uint32_t passes = 0;
    effect->begin(&passes, 0);
    effect->beginPass(0);
    effect->endPass();
    effect->end();
    device.clearCalls();
    return 0;
}
