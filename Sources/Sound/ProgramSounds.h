#pragma once
// Sounds built into the program, the counterpart of the program's own
// pictures: WAVE files found by name and kind ("WAVE", "WAV") when no file of
// that name exists. Names and kinds compare without regard to case, as the
// names of a program's resources do. The bytes are the program's own and
// live as long as it; registering a name again replaces the entry.
#include <cstdint>
#include <span>
#include <string>

void registerProgramSound(const std::string& name, const std::string& kind, std::span<const uint8_t> bytes);
// The bytes registered under the name and kind; empty when there are none.
std::span<const uint8_t> findProgramSound(const std::string& name, const std::string& kind);
void clearProgramSounds();
