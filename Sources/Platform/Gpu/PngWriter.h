#pragma once
// Screenshots: a frame of ARGB pixels, top row first, written as an RGB PNG.
#include <cstdint>
#include <string>

namespace Platform::Gpu
{

// Writes through a temporary file renamed into place, so a failed write
// leaves any earlier file untouched. False when the file cannot be written.
bool writePng(const std::string& path, uint32_t width, uint32_t height, const uint32_t* argb);

} // namespace Platform::Gpu
