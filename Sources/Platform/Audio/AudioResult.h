#pragma once
// The results of the sound layer, with the values the game's sound code tests
// for (PlatformResult.h has the type and the names).
#include "Platform/System/PlatformResult.h"

namespace Platform
{

inline constexpr PlatformResult kAudioOk = kResultOk;
// Success: a buffer was made in software because no hardware voice was asked for.
inline constexpr PlatformResult kAudioNoVirtualisation = 0x0878000A;
inline constexpr PlatformResult kAudioFailed = kResultFail;
inline constexpr PlatformResult kAudioNotImplemented = kResultNotImplemented;
inline constexpr PlatformResult kAudioInvalidArgument = kResultInvalidArgument;
inline constexpr PlatformResult kAudioNotInitialised = static_cast<PlatformResult>(0x800401F0u);
inline constexpr PlatformResult kAudioUnexpected = static_cast<PlatformResult>(0x8000FFFFu);
inline constexpr PlatformResult kAudioNoDriver = static_cast<PlatformResult>(0x88780078u);
inline constexpr PlatformResult kAudioBufferLost = static_cast<PlatformResult>(0x88780096u);
inline constexpr PlatformResult kAudioBadFormat = static_cast<PlatformResult>(0x88780064u);
inline constexpr PlatformResult kAudioControlUnavailable = static_cast<PlatformResult>(0x8878001Eu);

} // namespace Platform
