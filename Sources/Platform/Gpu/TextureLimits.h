#pragma once
// The largest texture the graphics device makes, on each side. Kept apart so
// that the image layer can refuse what could never become a texture without
// depending on the device.
#include <cstdint>

namespace Platform::Gpu
{
constexpr uint32_t MAX_TEXTURE_SIDE = 8192;
} // namespace Platform::Gpu
