#include "Sound/SoundFileReader.h"

#include "Framework/FileLookup.h"
#include "Platform/System/Paths.h"
#include "Sound/OggSoundReader.h"
#include "Sound/WaveSoundReader.h"

#include <mutex>

namespace
{
std::mutex gArchiveMutex;
SoundArchiveReader gArchiveReader;

ErrorCode readFromArchives(const std::string& name, std::unique_ptr<ByteBuffer>& bytes)
{
    SoundArchiveReader reader;
    {
        std::lock_guard lock(gArchiveMutex);
        reader = gArchiveReader;
    }
    bytes.reset();
    return reader ? reader(name, bytes) : readDataFromArchives(name, bytes);
}
} // namespace

void setSoundArchiveReader(SoundArchiveReader reader)
{
    std::lock_guard lock(gArchiveMutex);
    gArchiveReader = std::move(reader);
}

std::unique_ptr<SoundFileReader> SoundFileReader::create(const std::string& name)
{
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && name.compare(dot, std::string::npos, ".ogg") == 0)
        return std::make_unique<OggSoundReader>();
    return std::make_unique<WaveSoundReader>();
}

Platform::PlatformResult SoundFileReader::openByName(const std::string& name,
                                                     const Platform::WaveFormat* format, uint32_t mode)
{
    std::unique_ptr<ByteBuffer> bytes;
    if (readFromArchives(name, bytes) != ERROR_OK)
        return Platform::kAudioFailed;
    if (bytes != nullptr)
    {
        mArchiveBytes = std::move(bytes);
        return openMemory(mArchiveBytes->data(), mArchiveBytes->size(), format, mode);
    }
    mGameName = name;
    Platform::PlatformResult result = open(Platform::mapPath(name).c_str(), format, mode);
    mGameName.clear();
    return result;
}
