#pragma once
// The sound manager's device object: the audio device with its primary
// format, and the factory of static and streaming sounds read from files.
#include "Platform/Audio/AudioDevice.h"
#include "Platform/Audio/AudioEvent.h"
#include "SoundManagerDSound/StaticSound.h"
#include "SoundManagerDSound/StreamingSound.h"

#include <memory>
#include <string>

class SoundDevice
{
public:
    explicit SoundDevice(Platform::AudioOutput output) : mOutput(output) {}
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    Platform::PlatformResult initialize();
    Platform::PlatformResult setPrimaryBufferFormat(uint16_t channels, uint32_t rate, uint16_t bits);
    Platform::PlatformResult getCaps(Platform::AudioCaps& caps) const { return mDevice.getCaps(caps); }

    // `count` buffers holding the whole sound: new buffers when the flags ask
    // for effects, duplicates of the first otherwise.
    Platform::PlatformResult createStaticSound(const std::string& name, uint32_t flags, uint32_t count,
                                               std::unique_ptr<StaticSound>& sound);
    // The same from a WAVE file held in memory; the sound keeps a copy of the bytes.
    Platform::PlatformResult createStaticSoundFromMemory(const uint8_t* data, uint32_t size, uint32_t flags,
                                                         uint32_t count, std::unique_ptr<StaticSound>& sound);
    // One buffer of notificationCount blocks of notificationSize bytes, each
    // block's last byte signalling the event once played.
    Platform::PlatformResult createStreamingSound(const std::string& name, uint32_t flags,
                                                  uint32_t notificationCount, uint32_t notificationSize,
                                                  std::shared_ptr<Platform::AudioEvent> event,
                                                  std::unique_ptr<StreamingSound>& sound);

    // The listener of the positional sounds.
    Platform::PlatformResult set3DListener(const Platform::Audio3DListener& listener)
    {
        return mDevice.setListener(listener);
    }
    Platform::PlatformResult get3DListener(Platform::Audio3DListener& listener) const
    {
        return mDevice.getListener(listener);
    }

    Platform::AudioDevice& audioDevice() { return mDevice; }

private:
    Platform::PlatformResult openReader(const std::string& name, std::unique_ptr<SoundFileReader>& reader);
    // Steps 3 to 5 of making a static sound, from an open reader.
    Platform::PlatformResult buildStaticSound(std::unique_ptr<SoundFileReader> reader, uint32_t flags,
                                              uint32_t count, std::unique_ptr<StaticSound>& sound);

    Platform::AudioOutput mOutput;
    Platform::AudioDevice mDevice;
};
