#pragma once
// The player's sound settings, kept in a small binary file and applied to the
// sound manager. The game's settings derive from it and append their fields.
//
// Stored layout (little-endian): u32 stream flags word, u32 music level, u32
// sound level, u8 music on, u8 sound on; the subclass's fields follow.
#include "Framework/BinaryStream.h"

#include <cstdint>
#include <string>

class SettingsFile
{
public:
    static constexpr uint32_t DEFAULT_LEVEL = 178;

    // Levels 178, both switches on; the levels reach the sound manager at once.
    SettingsFile(std::string path, uint32_t flags);
    virtual ~SettingsFile() = default;
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // Both directions: 1 when a level read lies outside 0 to 255, the
    // stream's code when the file ends early.
    virtual ErrorCode serialize(BinaryStream& stream);
    // Pushes the switches and levels to the sound manager.
    virtual void apply();

    void setMusicLevel(uint32_t level);
    void setSoundLevel(uint32_t level);
    void setSoundEnabled(bool enabled);
    // Acts only when the flag changes.
    void setMusicEnabled(bool enabled);

    uint32_t getMusicLevel() const { return mMusicLevel; }
    uint32_t getSoundLevel() const { return mSoundLevel; }
    bool isMusicEnabled() const { return mMusicEnabled; }
    bool isSoundEnabled() const { return mSoundEnabled; }
    const std::string& getPath() const { return mPath; }

    // Written to a temporary file renamed into place.
    ErrorCode save();
    // Applies the values read. A file that is short or holds a level above
    // 255 is rejected as a whole: nothing changes and its code is returned.
    ErrorCode load();

protected:
    uint32_t mMusicLevel = DEFAULT_LEVEL;
    uint32_t mSoundLevel = DEFAULT_LEVEL;
    bool mMusicEnabled = true;
    bool mSoundEnabled = true;
    // Relative to the program's folder, like every other data file.
    std::string mPath;
    uint32_t mFlags;
};
