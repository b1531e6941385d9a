#include "Framework/SettingsFile.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/DiskFile.h"
#include "Framework/SafeStreamWriter.h"
#include "Sound/SoundManager.h"

namespace
{
constexpr uint32_t kEffectsGroup = 0;
constexpr uint32_t kMusicGroup = 1;
constexpr uint32_t kMaxLevel = 255;

SoundManager* soundManager()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? application->getSoundManager() : nullptr;
}

// The settings file hands its stored flags word to the serializers.
class SettingsInputFile final : public DiskInputFile
{
public:
    using DiskInputFile::DiskInputFile;
    void setFlags(uint32_t flags) { mFlags = flags; }
};
} // namespace

SettingsFile::SettingsFile(std::string path, uint32_t flags) : mPath(std::move(path)), mFlags(flags)
{
    setMusicLevel(DEFAULT_LEVEL);
    setSoundLevel(DEFAULT_LEVEL);
}

ErrorCode SettingsFile::serialize(BinaryStream& stream)
{
    // Each value is read aside and kept only when it is whole and in range:
    // a damaged level or a file cut short spoils that value alone, and the
    // others keep what the file says.
    ErrorCode result = ERROR_OK;
    bool outOfRange = false;
    const auto level = [&](uint32_t& field)
    {
        uint32_t value = field;
        if (result != ERROR_OK || (result = stream.transferValue(value)) != ERROR_OK)
            return;
        if (value > kMaxLevel)
            outOfRange = true;
        else
            field = value;
    };
    const auto flag = [&](bool& field)
    {
        bool value = field;
        if (result != ERROR_OK || (result = stream.transferBool(value)) != ERROR_OK)
            return;
        field = value;
    };
    level(mMusicLevel);
    level(mSoundLevel);
    flag(mMusicEnabled);
    flag(mSoundEnabled);
    if (result == ERROR_OK && outOfRange)
        return ERROR_INVALID;
    return result;
}

void SettingsFile::apply()
{
    setMusicEnabled(mMusicEnabled);
    setSoundEnabled(mSoundEnabled);
    setMusicLevel(mMusicLevel);
    setSoundLevel(mSoundLevel);
}

void SettingsFile::setMusicLevel(uint32_t level)
{
    mMusicLevel = level;
    if (SoundManager* sound = soundManager())
        sound->setGroupLevel(kMusicGroup, level);
}

void SettingsFile::setSoundLevel(uint32_t level)
{
    mSoundLevel = level;
    if (SoundManager* sound = soundManager())
        sound->setSoundLevel(level);
}

void SettingsFile::setSoundEnabled(bool enabled)
{
    mSoundEnabled = enabled;
    if (SoundManager* sound = soundManager())
        sound->setGroupEnabled(kEffectsGroup, enabled);
}

void SettingsFile::setMusicEnabled(bool enabled)
{
    if (enabled == mMusicEnabled)
        return;
    mMusicEnabled = enabled;
    if (SoundManager* sound = soundManager())
        sound->setGroupEnabled(kMusicGroup, enabled);
}

ErrorCode SettingsFile::save()
{
    return writeStreamSafely(mPath, mFlags,
                             [this](OutputStream& file) -> ErrorCode
                             {
                                 uint32_t flags = mFlags;
                                 if (ErrorCode error = file.transferValue(flags))
                                     return error;
                                 return serialize(file);
                             });
}

ErrorCode SettingsFile::load()
{
    SettingsInputFile file(mPath, mFlags);
    if (ErrorCode error = file.open())
        return error;
    uint32_t storedFlags = 0;
    if (ErrorCode error = file.transferValue(storedFlags))
        return error;
    file.setFlags(storedFlags);
    ErrorCode result = serialize(file);
    file.close();
    // Whatever was kept is in range: it reaches the sound manager even when
    // another value was damaged.
    apply();
    return result;
}
