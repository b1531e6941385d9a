#include "Platform/Audio/AudioDevice.h"
#include "Platform/Media/MediaPlayer.h"

#include "Platform/System/Clock.h"
#include "Platform/System/Paths.h"
#include "TestVideo.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

using namespace Platform;

namespace
{

// Tells when the picture of a position has come, that is when a seek is done.
class PositionSink : public VideoFrameSink
{
public:
    void renderFrame(const VideoFrame& frame) override { mLastMs = frame.positionMs; }
    bool waitFor(int64_t positionMs)
    {
        for (int i = 0; i < 1000 && mLastMs != positionMs; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return mLastMs == positionMs;
    }

private:
    std::atomic<int64_t> mLastMs{-1};
};

class MediaAudioTest : public ::testing::TestWithParam<TestVideo::Recipe>
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(mDevice.open(AudioOutput::Manual), kAudioOk);
        TestVideo::Recipe recipe = GetParam();
        // Three seconds, so that the tone outlasts the test's listening.
        recipe.frames = 30;
        mBytes = TestVideo::encode(recipe, mDirectory.path() + "clip");
        ASSERT_FALSE(mBytes.empty());
    }

    // The loudest sample of the next tenth of a second of the mix.
    int peak()
    {
        std::vector<int16_t> out(2205 * 2);
        mDevice.pump(out.data(), 2205);
        int loudest = 0;
        for (int16_t sample : out)
            loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
        return loudest;
    }

    // Mixes small pieces, giving the decoding thread time to fill and react,
    // until the mix's loudness satisfies the test. The bound is generous: on a
    // loaded machine the decoding thread may take long to answer a command.
    bool listenUntil(const std::function<bool(int)>& heard)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline)
        {
            std::vector<int16_t> out(256 * 2);
            mDevice.pump(out.data(), 256);
            int loudest = 0;
            for (int16_t sample : out)
                loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
            if (heard(loudest))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    TemporaryDirectory mDirectory;
    AudioDevice mDevice;
    ManualClock mClock;
    std::vector<uint8_t> mBytes;
};

TestVideo::Recipe withSound(const char* container, const char* codec, const char* audioCodec)
{
    TestVideo::Recipe recipe;
    recipe.container = container;
    recipe.codec = codec;
    recipe.audioCodec = audioCodec;
    return recipe;
}

} // namespace

TEST_P(MediaAudioTest, SoundTrackPlaysAtTheVolumeAndOnlyWhilePlaying)
{
    MediaPlayer player;
    PositionSink sink;
    player.setAudioDevice(&mDevice);
    ASSERT_EQ(player.openMemory(mBytes, "clip"), kMediaOk);
    player.setFrameSink(&sink);
    ASSERT_TRUE(player.hasAudio());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(peak(), 0);

    ASSERT_EQ(player.play(), kMediaOk);
    ASSERT_TRUE(listenUntil([](int loudest) { return loudest > 4000; }));
    // A quarter of full scale.
    EXPECT_NEAR(peak(), 8192, 1500);

    // -20 dB: a tenth.
    ASSERT_EQ(player.setVolume(-2000), kMediaOk);
    EXPECT_NEAR(peak(), 819, 250);

    ASSERT_EQ(player.pause(), kMediaOk);
    ASSERT_TRUE(listenUntil([](int loudest) { return loudest == 0; }));
    EXPECT_EQ(peak(), 0);
    ASSERT_EQ(player.play(), kMediaOk);
    ASSERT_TRUE(listenUntil([](int loudest) { return loudest > 400; }));

    // Seeking restarts the sound at the new place.
    ASSERT_EQ(player.setPositionMs(1500), kMediaOk);
    ASSERT_TRUE(sink.waitFor(1500));
    ASSERT_TRUE(listenUntil([](int loudest) { return loudest > 400; }));
    EXPECT_NEAR(peak(), 819, 250);

    // The end of the video ends its sound.
    mClock.advanceMs(2000);
    uint32_t event = 0;
    for (int i = 0; i < 500 && !player.getEvent(event); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(event, kMediaEventComplete);
    ASSERT_TRUE(listenUntil([](int loudest) { return loudest == 0; }));
    EXPECT_EQ(peak(), 0);

    ASSERT_EQ(player.stop(), kMediaOk);
    player.close();
    EXPECT_FALSE(player.hasAudio());
}

INSTANTIATE_TEST_SUITE_P(Containers, MediaAudioTest,
                         ::testing::Values(withSound("asf", "wmv2", "wmav2"),
                                           withSound("avi", "mpeg4", "pcm_s16le")),
                         [](const auto& info) { return info.param.container + "_" + info.param.audioCodec; });

TEST(MediaAudio, NoDeviceOrNoTrackMeansNoSound)
{
    TemporaryDirectory directory;
    AudioDevice device;
    ASSERT_EQ(device.open(AudioOutput::Manual), kAudioOk);
    const auto withTrack = TestVideo::encode(withSound("asf", "wmv2", "wmav2"), directory.path() + "a.wmv");
    const auto silent = TestVideo::encode(TestVideo::Recipe{}, directory.path() + "b.wmv");
    ASSERT_FALSE(withTrack.empty());
    ASSERT_FALSE(silent.empty());

    MediaPlayer player;
    ASSERT_EQ(player.openMemory(withTrack, "a.wmv"), kMediaOk);
    EXPECT_FALSE(player.hasAudio());
    player.setAudioDevice(&device);
    ASSERT_EQ(player.openMemory(silent, "b.wmv"), kMediaOk);
    EXPECT_FALSE(player.hasAudio());
    EXPECT_EQ(player.play(), kMediaOk);
    // A closed device gets no buffer; the pictures still play.
    AudioDevice closed;
    player.setAudioDevice(&closed);
    ASSERT_EQ(player.openMemory(withTrack, "a.wmv"), kMediaOk);
    EXPECT_FALSE(player.hasAudio());
    player.close();
    // Repeated opens with sound, playing, under the sanitizers.
    player.setAudioDevice(&device);
    for (int i = 0; i < 6; ++i)
    {
        ASSERT_EQ(player.openMemory(withTrack, "a.wmv"), kMediaOk);
        EXPECT_TRUE(player.hasAudio());
        player.play();
        std::vector<int16_t> out(512 * 2);
        device.pump(out.data(), 512);
        std::this_thread::sleep_for(std::chrono::milliseconds(i));
    }
}
