#pragma once
// The player's sound settings in data\settings.dat (14 bytes: the stream
// flags word 0, music level, sound-effect level, music on, sound effects on).
// The music drives channel group 1 (channel 0), the effects group 0.
#include "Framework/SettingsFile.h"

class GameSettings final : public SettingsFile
{
public:
    static constexpr const char* FILE_NAME = "data\\settings.dat";
    static constexpr uint32_t FILE_SIZE = 14;

    // Levels 178, both switches on, applied to the sound manager at once.
    GameSettings() : SettingsFile(FILE_NAME, 0) {}
};
