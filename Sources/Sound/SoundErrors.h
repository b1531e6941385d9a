#pragma once
// How the sound code reports a failure of the sound layer: the error box
// names the result and the place, and the caller gets the error code back.
#include "Framework/ErrorCodes.h"
#include "Framework/SourceLocation.h"
#include "Platform/Audio/AudioResult.h"

#include <functional>
#include <string>

// By default the framework's error box reports it (the no-sound-card text for
// Platform::kAudioNoDriver, the result's name otherwise, captioned with the
// error code's text); tests may install a reporter of their own.
using SoundErrorReporter =
    std::function<void(ErrorCode code, Platform::PlatformResult result, const std::string& detail)>;
void setSoundErrorReporter(SoundErrorReporter reporter);

// Formats the detail (at most 255 characters), reports, returns `code`.
ErrorCode reportSoundError(ErrorCode code, Platform::PlatformResult result, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// The same with the caller's place as the detail: "(line L in file F)", F
// being the name the caller's source file goes by in error boxes.
ErrorCode reportSoundErrorAt(ErrorCode code, Platform::PlatformResult result, const char* sourceName,
                             SourceLocation where = SourceLocation::current());
