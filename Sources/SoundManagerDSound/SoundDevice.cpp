#include "SoundManagerDSound/SoundDevice.h"

#include "Sound/WaveSoundReader.h"

#include <vector>

using namespace Platform;

PlatformResult SoundDevice::initialize()
{
    return mDevice.open(mOutput);
}

PlatformResult SoundDevice::setPrimaryBufferFormat(uint16_t channels, uint32_t rate, uint16_t bits)
{
    return mDevice.setPrimaryFormat(channels, rate, bits);
}

PlatformResult SoundDevice::openReader(const std::string& name, std::unique_ptr<SoundFileReader>& reader)
{
    reader = SoundFileReader::create(name);
    PlatformResult result = reader->openByName(name, nullptr, SoundFileReader::kModeRead);
    if (resultFailed(result))
        return result;
    if (reader->size() == 0 || reader->format() == nullptr)
        return kAudioFailed;
    return kAudioOk;
}

PlatformResult SoundDevice::createStaticSound(const std::string& name, uint32_t flags, uint32_t count,
                                              std::unique_ptr<StaticSound>& sound)
{
    // 1.
    sound.reset();
    if (!mDevice.isOpen())
        return kAudioNotInitialised;
    if (count < 1)
        return kAudioInvalidArgument;

    // 2. The reader.
    std::unique_ptr<SoundFileReader> reader;
    PlatformResult result = openReader(name, reader);
    if (resultFailed(result))
        return result;
    return buildStaticSound(std::move(reader), flags, count, sound);
}

PlatformResult SoundDevice::createStaticSoundFromMemory(const uint8_t* data, uint32_t size, uint32_t flags,
                                                        uint32_t count, std::unique_ptr<StaticSound>& sound)
{
    sound.reset();
    if (!mDevice.isOpen())
        return kAudioNotInitialised;
    if (count < 1 || (data == nullptr && size != 0))
        return kAudioInvalidArgument;
    auto reader = std::make_unique<WaveSoundReader>();
    PlatformResult result = reader->openCopy(std::vector<uint8_t>(data, data + size));
    if (resultFailed(result))
        return result;
    if (reader->size() == 0 || reader->format() == nullptr)
        return kAudioFailed;
    return buildStaticSound(std::move(reader), flags, count, sound);
}

PlatformResult SoundDevice::buildStaticSound(std::unique_ptr<SoundFileReader> reader, uint32_t flags,
                                             uint32_t count, std::unique_ptr<StaticSound>& sound)
{
    // 3. The first buffer, the size of the whole sound.
    std::vector<std::unique_ptr<AudioBuffer>> buffers(1);
    PlatformResult result = mDevice.createBuffer({flags, reader->size(), *reader->format()}, buffers[0]);
    if (resultFailed(result))
        return result;

    // 4. The others.
    for (uint32_t i = 1; i < count; ++i)
    {
        std::unique_ptr<AudioBuffer> buffer;
        if ((flags & kBufferControlEffects) != 0)
            result = mDevice.createBuffer({flags, reader->size(), *reader->format()}, buffer);
        else
            result = mDevice.duplicateBuffer(*buffers[0], buffer);
        if (resultFailed(result))
            return result;
        buffers.push_back(std::move(buffer));
    }

    // 5. Filled from the start.
    sound = std::make_unique<StaticSound>(std::move(buffers), flags, std::move(reader));
    for (uint32_t i = 0; i < sound->getBufferCount(); ++i)
        sound->fillBuffer(sound->getBuffer(i), false);
    return kAudioOk;
}

PlatformResult SoundDevice::createStreamingSound(const std::string& name, uint32_t flags,
                                                 uint32_t notificationCount, uint32_t notificationSize,
                                                 std::shared_ptr<AudioEvent> event,
                                                 std::unique_ptr<StreamingSound>& sound)
{
    sound.reset();
    if (!mDevice.isOpen())
        return kAudioNotInitialised;
    if (notificationCount < 1 || notificationSize < 1 || event == nullptr ||
        notificationSize > 0xFFFFFFFFu / notificationCount)
        return kAudioInvalidArgument;

    std::unique_ptr<SoundFileReader> reader;
    PlatformResult result = openReader(name, reader);
    if (resultFailed(result))
        return result;

    // The blocks must be whole frames, or the cursor never lands on their ends.
    uint32_t align = reader->format()->blockAlign;
    if (align == 0 || notificationSize % align != 0)
        return kAudioBadFormat;
    std::unique_ptr<AudioBuffer> buffer;
    result = mDevice.createBuffer({flags | kBufferControlNotify | kBufferPrecisePosition,
                                   notificationCount * notificationSize, *reader->format()},
                                  buffer);
    if (resultFailed(result))
        return result;
    std::vector<AudioNotification> positions;
    for (uint32_t i = 0; i < notificationCount; ++i)
        positions.push_back({notificationSize * (i + 1) - 1, event.get()});
    result = buffer->setNotificationPositions(positions);
    if (resultFailed(result))
        return result;

    sound = std::make_unique<StreamingSound>(std::move(buffer),
                                             flags | kBufferControlNotify | kBufferPrecisePosition,
                                             std::move(reader), notificationSize, std::move(event));
    sound->fillBuffer(sound->getBuffer(0), false);
    return kAudioOk;
}
