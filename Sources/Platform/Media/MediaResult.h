#pragma once
// The results of the video service, as the game's video code expects them
// (PlatformResult.h has the type and the names).
#include "Platform/System/PlatformResult.h"

#include <cstdint>
#include <string>

namespace Platform
{

inline constexpr PlatformResult kMediaOk = kResultOk;
// The file does not exist.
inline constexpr PlatformResult kMediaFileNotFound = static_cast<PlatformResult>(0x80040216u);
// The bytes are not a container we can read (unknown, damaged or truncated).
inline constexpr PlatformResult kMediaUnknownFormat = static_cast<PlatformResult>(0x80040240u);
// A stream of the file needs a decoder that is not installed.
inline constexpr PlatformResult kMediaNoDecoder = static_cast<PlatformResult>(0x80040218u);
// The file holds no picture we could show (no video stream, or a size we refuse).
inline constexpr PlatformResult kMediaNoVideo = static_cast<PlatformResult>(0x80040265u);
// An operation on a player with no open video.
inline constexpr PlatformResult kMediaNotOpen = static_cast<PlatformResult>(0x80040209u);
// The player cannot do this (a backward rate): the caller emulates it.
inline constexpr PlatformResult kMediaNotImplemented = kResultNotImplemented;
inline constexpr PlatformResult kMediaInvalidArgument = kResultInvalidArgument;

// The game's error codes for a failed open: the values of ERROR_FILENOTFOUND,
// ERROR_VIDEO_CODEC_UNAVAILABLE and ERROR_VIDEO_CODEC_WMV9_UNAVAILABLE.
inline constexpr uint32_t kVideoErrorCodecUnavailable = 9;
inline constexpr uint32_t kVideoErrorWmv9Unavailable = 10;
inline constexpr uint32_t kVideoErrorFileNotFound = 11;

// The error code the game reports for an open result: 0 on success, 11 for a
// missing file, otherwise 9 (no way to play it), or 10 when the file name
// ends in ".wmv" (any case), whose decoder the player is told to install.
uint32_t videoOpenErrorCode(PlatformResult result, const std::string& fileName);

} // namespace Platform
