#pragma once
// Files the program writes go to a temporary file beside the target that is
// renamed into place once complete, so that a failed write (full disk, a
// crash half-way) leaves the previous file whole.
#include "Framework/DiskFile.h"

#include <functional>
#include <string>

// Opens `path` + ".tmp" with the flags word, lets `write` fill it, closes it
// and renames it over `path`. Any failure removes the temporary file, leaves
// `path` untouched and returns the failure's code (13 when the file cannot be
// created, 15 when it cannot be written or put in place).
ErrorCode writeFileReplacing(const std::string& path, uint32_t flags,
                             const std::function<ErrorCode(DiskOutputFile&)>& write);
