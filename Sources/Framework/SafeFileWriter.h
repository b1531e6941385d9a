#pragma once
// Writes a file so that a failed write loses nothing: the bytes go to a
// temporary file beside the target, which replaces the target only once it
// has been written and synced to the disk whole. A target that is a device
// is written directly instead, never replaced; a symbolic link, a pipe or a
// folder is neither written to nor replaced.
#include "Framework/DiskFile.h"
#include "Framework/ErrorCodes.h"

#include <functional>
#include <string>

// path is a game path (relative to the program's folder unless absolute).
// 13 when the file cannot be created or the target is a link, the writer's code when it fails, 15
// when flushing or renaming fails.
ErrorCode writeFileSafely(const std::string& path, const std::function<ErrorCode(StdioFile& file)>& writer);
