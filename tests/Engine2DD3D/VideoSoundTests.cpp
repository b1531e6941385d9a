// A video's sound track heard as the player hears it: the sound manager
// started on SDL's disk audio driver, whose output file records the mix in
// real time, the manager's device handed to the video layer as at start-up,
// and a video with a 440 Hz tone at a quarter of full scale played into a
// texture.
#include "Engine2DD3D/IntroVideoPlayer.h"
#include "Engine2DD3D/VideoVMR9Texture.h"

#include "SoundManagerDSound/SoundManagerDSound.h"
#include "VideoTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace
{

// The tone's peak in the recording at a sound level: 8191 scaled by the
// level's volume.
double expectedPeak(uint32_t level)
{
    return 8191.0 * Platform::volumeToGain(SoundManager::levelToVolume(static_cast<int32_t>(level)));
}

class VideoSoundTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mRecording = mFolder.path() + "mix.raw";
        const char* driver = std::getenv("SDL_AUDIODRIVER");
        mPreviousDriver = driver != nullptr ? driver : "";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", mRecording.c_str(), 1);

        // Configured as the application base configures it, at the
        // settings' default effects level.
        mManager = std::make_unique<SoundManagerDSound>();
        mManager->setChannelCount(8);
        mManager->setGroupCount(2);
        mManager->setGroupChannels(SoundManager::MUSIC_GROUP, 0, 1);
        mManager->setGroupChannels(SoundManager::EFFECTS_GROUP, 1, 7);
        mManager->setSoundLevel(178);
        ASSERT_EQ(mManager->init(), ERROR_OK);
        ASSERT_NE(mManager->getSharedAudioDevice(), nullptr);
        VideoVMR9Texture::setAudioDevice(mManager->getSharedAudioDevice());
        EngineComponent::listenToSoundManager(*mManager);

        TestVideo::Recipe recipe;
        recipe.container = "avi";
        recipe.codec = "mpeg4";
        recipe.audioCodec = "pcm_s16le";
        recipe.frames = 120;
        mClip = mFolder.path() + "tone.avi";
        ASSERT_FALSE(TestVideo::encode(recipe, mClip).empty());
        mVideo = std::make_unique<VideoVMR9Texture>(mEngine, 0, 0, 64, 48, nullptr);
    }

    void TearDown() override
    {
        mVideo.reset();
        VideoVMR9Texture::setAudioDevice(nullptr);
        if (mManager != nullptr)
            mManager->setLevelListener(nullptr);
        EngineComponent::setSoundLevel(255);
        mManager.reset();
        if (mPreviousDriver.empty())
            unsetenv("SDL_AUDIODRIVER");
        else
            setenv("SDL_AUDIODRIVER", mPreviousDriver.c_str(), 1);
        unsetenv("SDL_DISKAUDIOFILE");
    }

    // The loudest sample of the last tenth of a second recorded.
    int recentPeak()
    {
        std::ifstream in(mRecording, std::ios::binary | std::ios::ate);
        const std::streamoff size = in.tellg();
        const std::streamoff window = 2205 * 4;
        if (size < window)
            return -1;
        std::vector<int16_t> samples(static_cast<size_t>(window / 2));
        in.seekg((size - window) / 4 * 4);
        in.read(reinterpret_cast<char*>(samples.data()), window);
        int peak = 0;
        for (int16_t s : samples)
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        return peak;
    }

    // Waits (in real time: the disk driver records at the device's pace)
    // until the recording's last tenth of a second satisfies the test;
    // returns that peak, or -1 when it never did.
    int waitForPeak(const std::function<bool(int)>& heard)
    {
        int peak = -1;
        for (int i = 0; i < 1000; ++i)
        {
            if (mVideo != nullptr)
                mVideo->animateFor(10);
            peak = recentPeak();
            if (peak >= 0 && heard(peak))
                return peak;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    static std::function<bool(int)> near(double wanted)
    {
        return [wanted](int peak) { return std::abs(peak - wanted) <= wanted * 0.03 + 2; };
    }

    Platform::TemporaryDirectory mFolder;
    std::string mRecording;
    std::string mPreviousDriver;
    std::string mClip;
    std::unique_ptr<SoundManagerDSound> mManager;
    MemoryEngine2D mEngine;
    std::unique_ptr<VideoVMR9Texture> mVideo;
};

} // namespace

TEST_F(VideoSoundTest, TheToneIsHeardAtTheEffectsLevelAndStopsWithThePicture)
{
    ASSERT_EQ(mVideo->open(mClip), 0);
    ASSERT_TRUE(mVideo->hasSoundTrack());
    // Opened at the effects level, mapped back to it.
    EXPECT_EQ(mVideo->getVolume(), SoundManager::volumeToLevel(SoundManager::levelToVolume(178)));
    // Not a sound before it plays.
    EXPECT_EQ(waitForPeak([](int peak) { return peak == 0; }), 0);

    ASSERT_EQ(mVideo->play(), 0);
    const int atDefault = waitForPeak(near(expectedPeak(178)));
    EXPECT_GE(atDefault, 0) << "last peak " << recentPeak() << ", wanted " << expectedPeak(178);

    // A change of the effects level reaches the playing video.
    mManager->setSoundLevel(255);
    const int atFull = waitForPeak(near(expectedPeak(255)));
    EXPECT_GE(atFull, 0) << "last peak " << recentPeak() << ", wanted " << expectedPeak(255);
    mManager->setSoundLevel(60);
    const int atLow = waitForPeak(near(expectedPeak(60)));
    EXPECT_GE(atLow, 0) << "last peak " << recentPeak() << ", wanted " << expectedPeak(60);
    EXPECT_EQ(mVideo->getVolume(), SoundManager::volumeToLevel(SoundManager::levelToVolume(60)));

    // Paused, silent; resumed, the tone again.
    ASSERT_EQ(mVideo->pause(), 0);
    EXPECT_EQ(waitForPeak([](int peak) { return peak == 0; }), 0);
    ASSERT_EQ(mVideo->resume(), 0);
    EXPECT_GE(waitForPeak(near(expectedPeak(60))), 0);

    // Stopped (and so rewound), silent; played again, from the start.
    ASSERT_EQ(mVideo->stop(), 0);
    EXPECT_EQ(waitForPeak([](int peak) { return peak == 0; }), 0);
    ASSERT_EQ(mVideo->play(), 0);
    EXPECT_GE(waitForPeak(near(expectedPeak(60))), 0);

    // Closed: silent at once, and for good.
    mVideo.reset();
    EXPECT_EQ(waitForPeak([](int peak) { return peak == 0; }), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(recentPeak(), 0);
    EXPECT_EQ(mManager->getSharedAudioDevice()->playingBufferCount(), 0u);

    std::printf("recorded peaks: level 178 %d (expected %.0f), level 255 %d (expected %.0f), "
                "level 60 %d (expected %.0f)\n",
                atDefault, expectedPeak(178), atFull, expectedPeak(255), atLow, expectedPeak(60));
    RecordProperty("peak178", atDefault);
    RecordProperty("peak255", atFull);
    RecordProperty("peak60", atLow);
}

namespace
{
void replay(uint32_t, void* user)
{
    auto* loops = static_cast<std::pair<VideoVMR9Texture*, int>*>(user);
    ++loops->second;
    loops->first->play();
}
} // namespace

TEST_F(VideoSoundTest, ALoopedVideoStartsItsSoundAgainWithItsPictures)
{
    TestVideo::Recipe recipe;
    recipe.container = "avi";
    recipe.codec = "mpeg4";
    recipe.audioCodec = "pcm_s16le";
    recipe.frames = 20;
    const std::string clip = mFolder.path() + "short.avi";
    ASSERT_FALSE(TestVideo::encode(recipe, clip).empty());
    std::pair<VideoVMR9Texture*, int> loops{mVideo.get(), 0};
    mVideo->setEndCallback(replay, &loops);
    ASSERT_EQ(mVideo->open(clip), 0);
    ASSERT_EQ(mVideo->play(), 0);
    EXPECT_GE(waitForPeak(near(expectedPeak(178))), 0);
    // Twice round: each time the sound comes back, once, at its level.
    for (int round = 1; round <= 2; ++round)
    {
        for (int i = 0; i < 1000 && loops.second < round; ++i)
        {
            mVideo->animateFor(10);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_GE(loops.second, round);
        // Well inside the two seconds of the new round: its own sound, not
        // the end of the last one.
        for (int i = 0; i < 30; ++i)
        {
            mVideo->animateFor(10);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_TRUE(near(expectedPeak(178))(recentPeak())) << "round " << round << ": " << recentPeak();
        EXPECT_EQ(mManager->getSharedAudioDevice()->playingBufferCount(), 1u);
    }
    mVideo->setEndCallback(nullptr, nullptr);
}

TEST_F(VideoSoundTest, WithoutADeviceOrASoundTrackAVideoPlaysSilent)
{
    VideoVMR9Texture::setAudioDevice(nullptr);
    ASSERT_EQ(mVideo->open(mClip), 0);
    EXPECT_FALSE(mVideo->hasSoundTrack());
    // Without a graph there is no volume to read.
    VideoVMR9Texture closed(mEngine, 0, 0, 8, 8, nullptr);
    EXPECT_EQ(closed.getVolume(), -1);
    VideoVMR9Texture::setAudioDevice(mManager->getSharedAudioDevice());
    // The menu's kind of video: pictures only.
    ASSERT_EQ(mVideo->open(VideoClips::get().slow), 0);
    EXPECT_FALSE(mVideo->hasSoundTrack());
    ASSERT_EQ(mVideo->play(), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(recentPeak(), 0);
    EXPECT_EQ(mManager->getSharedAudioDevice()->playingBufferCount(), 0u);
}

TEST(IntroVideoSound, TheIntroPlaysItsSoundTrackOnTheSharedMixerAtTheEffectsLevel)
{
    Platform::TemporaryDirectory folder;
    TestVideo::Recipe recipe;
    recipe.container = "avi";
    recipe.codec = "mpeg4";
    recipe.audioCodec = "pcm_s16le";
    // Three seconds: time enough for the mixer's thread to run on a busy machine.
    recipe.frames = 30;
    const std::string clip = folder.path() + "intro.avi";
    ASSERT_FALSE(TestVideo::encode(recipe, clip).empty());

    Platform::AudioDevice device;
    ASSERT_EQ(device.open(Platform::AudioOutput::Manual), Platform::kAudioOk);
    VideoVMR9Texture::setAudioDevice(&device);
    EngineComponent::setSoundLevel(178);
    // The mixer runs beside the blocking call, as the sound card's would.
    std::atomic<bool> done{false};
    std::atomic<int> loudest{0};
    std::thread mixer(
        [&]
        {
            std::vector<int16_t> out(2 * 256);
            while (!done)
            {
                device.pump(out.data(), 256);
                for (int16_t sample : out)
                    loudest = std::max(loudest.load(), std::abs(static_cast<int>(sample)));
                // 256 frames take about 11.6 ms at 22050 Hz.
                std::this_thread::sleep_for(std::chrono::milliseconds(11));
            }
        });
    AppWindow window;
    MemoryEngine2D engine;
    const int32_t result = playIntroVideoOn(clip.c_str(), window, engine, 1024, 768, true);
    done = true;
    mixer.join();
    VideoVMR9Texture::setAudioDevice(nullptr);
    EngineComponent::setSoundLevel(255);

    EXPECT_EQ(result, kIntroVideoEnded);
    EXPECT_NEAR(loudest.load(), expectedPeak(178), 3);
    // Its sound ended with it.
    EXPECT_EQ(device.playingBufferCount(), 0u);
}
