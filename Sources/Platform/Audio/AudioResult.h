#pragma once
// Results of the sound layer, with the values the game's sound code tests for:
// 0 and other non-negative values are success, negative values are failures.
#include <cstdint>

namespace Platform
{

using AudioResult = int32_t;

inline constexpr AudioResult kAudioOk = 0;
// Success: a buffer was made in software because no hardware voice was asked for.
inline constexpr AudioResult kAudioNoVirtualisation = 0x0878000A;
inline constexpr AudioResult kAudioFailed = static_cast<AudioResult>(0x80004005u);
inline constexpr AudioResult kAudioNotImplemented = static_cast<AudioResult>(0x80004001u);
inline constexpr AudioResult kAudioInvalidArgument = static_cast<AudioResult>(0x80070057u);
inline constexpr AudioResult kAudioNotInitialised = static_cast<AudioResult>(0x800401F0u);
inline constexpr AudioResult kAudioUnexpected = static_cast<AudioResult>(0x8000FFFFu);
inline constexpr AudioResult kAudioNoDriver = static_cast<AudioResult>(0x88780078u);
inline constexpr AudioResult kAudioBufferLost = static_cast<AudioResult>(0x88780096u);
inline constexpr AudioResult kAudioBadFormat = static_cast<AudioResult>(0x88780064u);
inline constexpr AudioResult kAudioControlUnavailable = static_cast<AudioResult>(0x8878001Eu);

inline constexpr bool audioFailed(AudioResult result)
{
    return result < 0;
}

// A short name of the result for error boxes ("AUDIO_NO_DRIVER"), or null for
// a value the layer never returns.
const char* audioResultName(AudioResult result);

} // namespace Platform
