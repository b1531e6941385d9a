#pragma once
// The GLSL program that stands in for fixed-function drawing, and the one
// that presents the frame scaled into the window.

namespace Platform::Gpu
{

extern const char* const kVertexShaderSource;
extern const char* const kFragmentShaderSource;
// Presenting a frame scaled into the window: a rectangle that only samples.
extern const char* const kPresentVertexShaderSource;
extern const char* const kPresentFragmentShaderSource;
constexpr int kMaxActiveLights = 8;

} // namespace Platform::Gpu
