#pragma once
// The one GLSL program that stands in for fixed-function drawing.

namespace Platform::Gpu
{

extern const char* const kVertexShaderSource;
extern const char* const kFragmentShaderSource;
constexpr int kMaxActiveLights = 8;

} // namespace Platform::Gpu
