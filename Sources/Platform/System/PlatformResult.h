#pragma once
// Result codes of the platform's graphics, sound and video services: the
// 32-bit COM-style values the game's code was written against, so that it
// compares with the same numbers and its error boxes show the same names.
// 0 and positive values are success, negative values failure. Each service
// names its own codes beside its interface (GpuTypes.h, AudioResult.h,
// MediaResult.h); the codes they share are here.
#include <cstdint>

namespace Platform
{

using PlatformResult = int32_t;

inline constexpr bool resultFailed(PlatformResult result)
{
    return result < 0;
}

inline constexpr PlatformResult kResultOk = 0;
inline constexpr PlatformResult kResultFail = static_cast<PlatformResult>(0x80004005u);
inline constexpr PlatformResult kResultNotImplemented = static_cast<PlatformResult>(0x80004001u);
inline constexpr PlatformResult kResultInvalidArgument = static_cast<PlatformResult>(0x80070057u);
inline constexpr PlatformResult kResultOutOfMemory = static_cast<PlatformResult>(0x8007000Eu);

// The name the code was published under ("D3DERR_DEVICELOST",
// "DSERR_BUFFERLOST", "DPNERR_TIMEDOUT"), "Unknown" for any other.
const char* resultName(PlatformResult result);

} // namespace Platform
