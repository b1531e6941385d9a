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
    if (ErrorCode error = stream.transferValue(mMusicLevel))
        return error;
    if (ErrorCode error = stream.transferValue(mSoundLevel))
        return error;
    if (ErrorCode error = stream.transferBool(mMusicEnabled))
        return error;
    if (ErrorCode error = stream.transferBool(mSoundEnabled))
        return error;
    if (mMusicLevel > kMaxLevel || mSoundLevel > kMaxLevel)
        return ERROR_INVALID;
    return ERROR_OK;
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
    // A file cut short or holding a level out of range is no one's choice:
    // it is rejected as a whole and the object keeps what it held.
    const uint32_t musicLevel = mMusicLevel;
    const uint32_t soundLevel = mSoundLevel;
    const bool musicEnabled = mMusicEnabled;
    const bool soundEnabled = mSoundEnabled;
    uint32_t storedFlags = 0;
    ErrorCode result = file.transferValue(storedFlags);
    if (result == ERROR_OK)
    {
        file.setFlags(storedFlags);
        result = serialize(file);
    }
    file.close();
    if (result != ERROR_OK)
    {
        mMusicLevel = musicLevel;
        mSoundLevel = soundLevel;
        mMusicEnabled = musicEnabled;
        mSoundEnabled = soundEnabled;
        return result;
    }
    apply();
    return ERROR_OK;
}
