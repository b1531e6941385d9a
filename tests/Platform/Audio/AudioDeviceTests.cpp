#include "Platform/Audio/AudioDevice.h"
#include "Platform/Audio/AudioEvent.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace Platform;

namespace
{
struct ManualDevice
{
    ManualDevice() { EXPECT_EQ(device.open(AudioOutput::Manual), kAudioOk); }
    AudioDevice device;

    std::unique_ptr<AudioBuffer> buffer(const WaveFormat& format, const std::vector<uint8_t>& bytes,
                                        uint32_t flags = kBufferControlVolume | kBufferControlFrequency |
                                                         kBufferControlPan)
    {
        std::unique_ptr<AudioBuffer> result;
        AudioBufferDesc desc{flags, static_cast<uint32_t>(bytes.size()), format};
        EXPECT_EQ(device.createBuffer(desc, result), kAudioOk);
        if (result == nullptr)
            return nullptr;
        AudioLockRegions regions;
        EXPECT_EQ(result->lock(0, 0, regions, kLockEntireBuffer), kAudioOk);
        std::memcpy(regions.first, bytes.data(), regions.firstBytes);
        EXPECT_EQ(result->unlock(regions), kAudioOk);
        return result;
    }

    // Stereo frames of the primary format.
    std::vector<int16_t> pump(uint32_t frames)
    {
        std::vector<int16_t> out(frames * device.primaryFormat().channels);
        device.pump(out.data(), frames);
        return out;
    }
};

std::vector<uint8_t> samples16(const std::vector<int16_t>& values)
{
    std::vector<uint8_t> bytes(values.size() * 2);
    std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

bool isPlaying(AudioBuffer& buffer)
{
    uint32_t status = 0;
    buffer.getStatus(status);
    return (status & kStatusPlaying) != 0;
}
} // namespace

TEST(AudioMixer, OutputIsSourceTimesGainOnBothSides)
{
    ManualDevice m;
    auto buffer = m.buffer(makePcmFormat(1, 22050, 16), samples16({10000, -10000, 20000, 0}));
    ASSERT_EQ(buffer->setVolume(-2000), kAudioOk); // gain 0.1
    buffer->play(0);
    std::vector<int16_t> out = m.pump(4);
    EXPECT_EQ(out, (std::vector<int16_t>{1000, 1000, -1000, -1000, 2000, 2000, 0, 0}));

    // Any volume: the sample times 10^(v/2000), rounded.
    ASSERT_EQ(buffer->setVolume(-906), kAudioOk);
    buffer->setCurrentPosition(0);
    buffer->play(0);
    out = m.pump(1);
    EXPECT_EQ(out[0], static_cast<int16_t>(std::lrint(10000 * std::pow(10.0, -906 / 2000.0))));
}

TEST(AudioMixer, SumsAreClampedToSixteenBits)
{
    ManualDevice m;
    auto a = m.buffer(makePcmFormat(1, 22050, 16), samples16({30000, -30000}));
    auto b = m.buffer(makePcmFormat(1, 22050, 16), samples16({30000, -30000}));
    a->play(0);
    b->play(0);
    EXPECT_EQ(m.pump(2), (std::vector<int16_t>{32767, 32767, -32768, -32768}));
}

TEST(AudioMixer, EightBitStereoAndPanAreHonoured)
{
    ManualDevice m;
    // 8-bit unsigned: 0xC0 is +64, 0x40 is -64, scaled to 16 bits.
    auto eight = m.buffer(makePcmFormat(1, 22050, 8), {0xC0, 0x40});
    eight->play(0);
    EXPECT_EQ(m.pump(2), (std::vector<int16_t>{16384, 16384, -16384, -16384}));

    auto stereo = m.buffer(makePcmFormat(2, 22050, 16), samples16({1000, -2000}));
    stereo->setPan(2000); // towards the right: the left side at 0.1
    stereo->play(0);
    EXPECT_EQ(m.pump(1), (std::vector<int16_t>{100, -2000}));
}

TEST(AudioMixer, OnceStopsAtTheEndAndLoopingWraps)
{
    ManualDevice m;
    auto once = m.buffer(makePcmFormat(1, 22050, 16), samples16({1, 2, 3}));
    once->play(0);
    EXPECT_EQ(m.pump(5), (std::vector<int16_t>{1, 1, 2, 2, 3, 3, 0, 0, 0, 0}));
    EXPECT_FALSE(isPlaying(*once));

    once->play(kPlayLooping);
    uint32_t status = 0;
    once->getStatus(status);
    EXPECT_EQ(status, kStatusPlaying | kStatusLooping);
    EXPECT_EQ(m.pump(5), (std::vector<int16_t>{1, 1, 2, 2, 3, 3, 1, 1, 2, 2}));
    uint32_t cursor = 99;
    once->getCurrentPosition(&cursor, nullptr);
    EXPECT_EQ(cursor, 4u); // the third frame, in bytes
    once->stop();
    EXPECT_EQ(m.pump(1), (std::vector<int16_t>{0, 0}));
}

TEST(AudioMixer, FrequencySetsTheStepThroughTheSource)
{
    ManualDevice m;
    auto buffer = m.buffer(makePcmFormat(1, 22050, 16), samples16({1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(buffer->setFrequency(44100), kAudioOk);
    buffer->play(0);
    EXPECT_EQ(m.pump(4), (std::vector<int16_t>{1, 1, 3, 3, 5, 5, 0, 0}));
    uint32_t frequency = 0;
    buffer->setFrequency(kFrequencyOriginal);
    buffer->getFrequency(frequency);
    EXPECT_EQ(frequency, 22050u);
}

TEST(AudioBuffer, LockPastTheEndWrapsIntoTwoRegions)
{
    ManualDevice m;
    auto buffer = m.buffer(makePcmFormat(1, 22050, 8), std::vector<uint8_t>(100, 0x80));
    AudioLockRegions regions;
    ASSERT_EQ(buffer->lock(80, 40, regions), kAudioOk);
    EXPECT_EQ(regions.firstBytes, 20u);
    EXPECT_EQ(regions.secondBytes, 20u);
    EXPECT_EQ(regions.second + 80, regions.first);
    EXPECT_EQ(buffer->unlock(regions), kAudioOk);

    EXPECT_EQ(buffer->lock(100, 1, regions), kAudioInvalidArgument);
    EXPECT_EQ(buffer->lock(0, 101, regions), kAudioInvalidArgument);
    AudioLockRegions foreign{regions.first, 1, nullptr, 0};
    uint8_t outside[4];
    foreign.first = outside;
    EXPECT_EQ(buffer->unlock(foreign), kAudioInvalidArgument);
}

TEST(AudioBuffer, ControlsNeedTheirCreationFlagAndStayInRange)
{
    ManualDevice m;
    auto plain = m.buffer(makePcmFormat(1, 22050, 16), samples16({1, 2}), 0);
    EXPECT_EQ(plain->setVolume(-100), kAudioControlUnavailable);
    EXPECT_EQ(plain->setFrequency(11025), kAudioControlUnavailable);
    EXPECT_EQ(plain->setPan(0), kAudioControlUnavailable);
    AudioEvent event;
    EXPECT_EQ(plain->setNotificationPositions({{0, &event}}), kAudioControlUnavailable);

    auto full = m.buffer(makePcmFormat(1, 22050, 16), samples16({1, 2}));
    EXPECT_EQ(full->setVolume(1), kAudioInvalidArgument);
    EXPECT_EQ(full->setVolume(-10001), kAudioInvalidArgument);
    EXPECT_EQ(full->setPan(10001), kAudioInvalidArgument);
    EXPECT_EQ(full->setFrequency(99), kAudioInvalidArgument);
    EXPECT_EQ(full->setCurrentPosition(4), kAudioInvalidArgument);
}

TEST(AudioDevice, FormatsTheMixerCannotPlayAreRefused)
{
    ManualDevice m;
    std::unique_ptr<AudioBuffer> buffer;
    auto create = [&](WaveFormat format, uint32_t bytes) {
        return m.device.createBuffer({0, bytes, format}, buffer);
    };
    WaveFormat adpcm = makePcmFormat(1, 22050, 16);
    adpcm.formatTag = 2;
    EXPECT_EQ(create(adpcm, 100), kAudioBadFormat);
    EXPECT_EQ(create(makePcmFormat(3, 22050, 16), 120), kAudioBadFormat);
    EXPECT_EQ(create(makePcmFormat(1, 22050, 24), 120), kAudioBadFormat);
    WaveFormat zeroAlign = makePcmFormat(1, 22050, 16);
    zeroAlign.blockAlign = 0;
    EXPECT_EQ(create(zeroAlign, 100), kAudioBadFormat);
    EXPECT_EQ(create(makePcmFormat(1, 50, 16), 100), kAudioBadFormat);
    // Less than one frame, and more than the device makes.
    EXPECT_EQ(create(makePcmFormat(2, 22050, 16), 3), kAudioInvalidArgument);
    EXPECT_EQ(create(makePcmFormat(1, 22050, 8), 0x10000000), kAudioInvalidArgument);
    EXPECT_EQ(buffer, nullptr);
    // A partial frame at the end is dropped.
    ASSERT_EQ(create(makePcmFormat(2, 22050, 16), 10), kAudioOk);
    EXPECT_EQ(buffer->size(), 8u);

    AudioDevice closed;
    EXPECT_EQ(closed.createBuffer({0, 8, makePcmFormat(1, 22050, 16)}, buffer), kAudioNotInitialised);
}

TEST(AudioDevice, DuplicatesShareBytesButHaveTheirOwnCursor)
{
    ManualDevice m;
    auto original = m.buffer(makePcmFormat(1, 22050, 16), samples16({100, 200, 300}));
    std::unique_ptr<AudioBuffer> copy;
    ASSERT_EQ(m.device.duplicateBuffer(*original, copy), kAudioOk);
    original->play(0);
    EXPECT_EQ(m.pump(1), (std::vector<int16_t>{100, 100}));
    copy->play(0);
    EXPECT_EQ(m.pump(1), (std::vector<int16_t>{300, 300})); // 200 + 100
    EXPECT_TRUE(isPlaying(*copy));
    EXPECT_TRUE(isPlaying(*original));
}

TEST(AudioDevice, NotificationsFireWhenTheCursorPassesThem)
{
    ManualDevice m;
    // Four blocks of 10 frames (20 bytes), a position at the last byte of each.
    auto buffer = m.buffer(makePcmFormat(1, 22050, 16), std::vector<uint8_t>(80, 0),
                           kBufferControlVolume | kBufferControlNotify);
    AudioEvent events[4];
    std::vector<AudioNotification> positions;
    for (uint32_t i = 0; i < 4; ++i)
        positions.push_back({20 * (i + 1) - 1, &events[i]});
    ASSERT_EQ(buffer->setNotificationPositions(positions), kAudioOk);
    buffer->play(kPlayLooping);
    EXPECT_EQ(buffer->setNotificationPositions(positions), kAudioFailed);

    m.pump(9);
    EXPECT_FALSE(events[0].isSet());
    m.pump(1);
    EXPECT_TRUE(events[0].tryWait());
    EXPECT_FALSE(events[0].isSet());
    m.pump(15); // to frame 25: block 1 done, block 2 not yet
    EXPECT_TRUE(events[1].tryWait());
    EXPECT_FALSE(events[2].isSet());
    m.pump(20); // wraps to frame 5: blocks 2 and 3 done
    EXPECT_TRUE(events[2].tryWait());
    EXPECT_TRUE(events[3].tryWait());
    EXPECT_FALSE(events[0].isSet());
}

TEST(AudioEvent, WaitAnyWakesOnASetFromAnotherThread)
{
    AudioEvent first;
    AudioEvent second;
    AudioEvent* list[] = {&first, &second};
    std::thread setter(
        [&]
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            second.set();
        });
    EXPECT_EQ(AudioEvent::waitAny(list, 2), 1u);
    setter.join();
    EXPECT_FALSE(second.isSet());

    AudioEvent manual(true, false);
    EXPECT_TRUE(manual.tryWait());
    EXPECT_TRUE(manual.isSet());
    first.set();
    second.set();
    EXPECT_EQ(AudioEvent::waitAny(list, 2), 0u);
    EXPECT_EQ(AudioEvent::waitAny(list, 2), 1u);
}

TEST(AudioDevice, SystemOutputPlaysThroughTheDriver)
{
    // SDL's dummy driver consumes sound at the real rate without a sound card.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    AudioDevice device;
    ASSERT_EQ(device.open(AudioOutput::System), kAudioOk);
    ASSERT_EQ(device.setPrimaryFormat(2, 22050, 16), kAudioOk);
    std::unique_ptr<AudioBuffer> buffer;
    ASSERT_EQ(device.createBuffer({0, 400, makePcmFormat(1, 22050, 16)}, buffer), kAudioOk);
    buffer->play(0);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (isPlaying(*buffer) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(isPlaying(*buffer));
    buffer.reset();
    device.close();
}

TEST(AudioDevice, NoAudioOutputGivesTheNoDriverResult)
{
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    std::string previous = saved != nullptr ? saved : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    AudioDevice device;
    EXPECT_EQ(device.open(AudioOutput::System), kAudioNoDriver);
    EXPECT_FALSE(device.isOpen());
    if (saved != nullptr)
        setenv("SDL_AUDIODRIVER", previous.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
}
