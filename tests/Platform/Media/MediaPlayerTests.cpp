#include "Platform/Media/MediaPlayer.h"

#include "Platform/System/Clock.h"
#include "Platform/System/Paths.h"
#include "TestVideo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace Platform;

namespace
{

struct Picture
{
    int colour;
    int64_t positionMs;
};

class RecordingSink : public VideoFrameSink
{
public:
    void renderFrame(const VideoFrame& frame) override
    {
        std::lock_guard<std::mutex> lock(mMutex);
        EXPECT_EQ(frame.width, 64u);
        EXPECT_EQ(frame.height, 48u);
        EXPECT_EQ(frame.pitch, 256u);
        const uint8_t* centre = frame.pixels + 24 * frame.pitch + 32 * 4;
        mPictures.push_back({TestVideo::nearestFrame(centre), frame.positionMs});
        mChanged.notify_all();
    }

    // Waits (in real time) until `count` pictures have come.
    bool waitFor(size_t count)
    {
        std::unique_lock<std::mutex> lock(mMutex);
        return mChanged.wait_for(lock, std::chrono::seconds(5), [&] { return mPictures.size() >= count; });
    }

    size_t count()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mPictures.size();
    }

    Picture last()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mPictures.empty() ? Picture{-1, -1} : mPictures.back();
    }

    std::vector<Picture> all()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mPictures;
    }

private:
    std::mutex mMutex;
    std::condition_variable mChanged;
    std::vector<Picture> mPictures;
};

// Gives the decoding thread time to do what it should not.
void settle()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
}

bool waitForEvent(MediaPlayer& player, uint32_t& event)
{
    // Generous: a loaded machine may hold the decoding thread back for a while.
    for (int i = 0; i < 2500; ++i)
    {
        if (player.getEvent(event))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

class MediaPlayerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mBytes = TestVideo::encode(TestVideo::Recipe{}, mDirectory.path() + "clip.wmv");
        ASSERT_FALSE(mBytes.empty());
    }

    void openPlayer()
    {
        ASSERT_EQ(mPlayer.openMemory(mBytes, "clip.wmv"), kMediaOk);
        mPlayer.setFrameSink(&mSink);
    }

    TemporaryDirectory mDirectory;
    std::vector<uint8_t> mBytes;
    ManualClock mClock;
    RecordingSink mSink;
    MediaPlayer mPlayer;
};

} // namespace

TEST_F(MediaPlayerTest, PlaysEachPictureWhenDueAndSignalsTheEndOnce)
{
    openPlayer();
    EXPECT_EQ(mPlayer.state(), MediaState::Stopped);
    EXPECT_EQ(mPlayer.durationMs(), 1000);
    EXPECT_EQ(mPlayer.videoWidth(), 64u);
    EXPECT_EQ(mPlayer.videoHeight(), 48u);
    settle();
    EXPECT_EQ(mSink.count(), 0u);

    ASSERT_EQ(mPlayer.play(), kMediaOk);
    EXPECT_EQ(mPlayer.state(), MediaState::Playing);
    ASSERT_TRUE(mSink.waitFor(1));
    for (int i = 1; i < 10; ++i)
    {
        mClock.advanceMs(60);
        settle();
        EXPECT_EQ(mSink.count(), static_cast<size_t>(i)) << "picture " << i << " came early";
        mClock.advanceMs(40);
        ASSERT_TRUE(mSink.waitFor(static_cast<size_t>(i + 1)));
        EXPECT_EQ(mPlayer.positionMs(), i * 100);
    }
    const auto pictures = mSink.all();
    for (size_t i = 0; i < pictures.size(); ++i)
    {
        EXPECT_EQ(pictures[i].colour, static_cast<int>(i));
        EXPECT_EQ(pictures[i].positionMs, static_cast<int64_t>(i * 100));
    }

    uint32_t event = 0;
    mClock.advanceMs(60);
    settle();
    EXPECT_FALSE(mPlayer.getEvent(event));
    mClock.advanceMs(40);
    ASSERT_TRUE(waitForEvent(mPlayer, event));
    EXPECT_EQ(event, kMediaEventComplete);
    mClock.advanceMs(500);
    settle();
    EXPECT_FALSE(mPlayer.getEvent(event));
    EXPECT_EQ(mPlayer.positionMs(), 1000);
    EXPECT_EQ(mPlayer.state(), MediaState::Playing);
    EXPECT_EQ(mSink.count(), 10u);
}

TEST_F(MediaPlayerTest, PausedPlayerShowsThePictureAtEachNewPositionAndHoldsTime)
{
    openPlayer();
    ASSERT_EQ(mPlayer.pause(), kMediaOk);
    ASSERT_TRUE(mSink.waitFor(1));
    EXPECT_EQ(mSink.last().colour, 0);
    EXPECT_EQ(mPlayer.state(), MediaState::Paused);

    ASSERT_EQ(mPlayer.setPositionMs(550), kMediaOk);
    ASSERT_TRUE(mSink.waitFor(2));
    EXPECT_EQ(mSink.last().colour, 5);
    mClock.advanceMs(500);
    settle();
    EXPECT_EQ(mPlayer.positionMs(), 550);
    EXPECT_EQ(mSink.count(), 2u);

    // Playing on shows the next picture when its time comes, not the held one again.
    ASSERT_EQ(mPlayer.play(), kMediaOk);
    settle();
    EXPECT_EQ(mSink.count(), 2u);
    mClock.advanceMs(50);
    ASSERT_TRUE(mSink.waitFor(3));
    EXPECT_EQ(mSink.last().colour, 6);

    // Pausing in the middle of a picture keeps it and the time.
    mClock.advanceMs(70);
    ASSERT_EQ(mPlayer.pause(), kMediaOk);
    EXPECT_EQ(mPlayer.positionMs(), 670);
    mClock.advanceMs(300);
    settle();
    EXPECT_EQ(mSink.count(), 3u);
    EXPECT_EQ(mPlayer.positionMs(), 670);

    // Positions are kept inside the video.
    EXPECT_EQ(mPlayer.setPositionMs(-40), kMediaOk);
    ASSERT_TRUE(mSink.waitFor(4));
    EXPECT_EQ(mSink.last().colour, 0);
    EXPECT_EQ(mPlayer.positionMs(), 0);
    EXPECT_EQ(mPlayer.setPositionMs(99999), kMediaOk);
    ASSERT_TRUE(mSink.waitFor(5));
    EXPECT_EQ(mSink.last().colour, 9);
    EXPECT_EQ(mPlayer.positionMs(), 1000);
}

TEST_F(MediaPlayerTest, RateScalesThePaceAndBackwardRatesAreLeftToTheCaller)
{
    openPlayer();
    ASSERT_EQ(mPlayer.play(), kMediaOk);
    ASSERT_TRUE(mSink.waitFor(1));
    mClock.advanceMs(200);
    EXPECT_EQ(mPlayer.positionMs(), 200);
    ASSERT_EQ(mPlayer.setRate(2.0), kMediaOk);
    mClock.advanceMs(100);
    EXPECT_EQ(mPlayer.positionMs(), 400);
    ASSERT_TRUE(mSink.waitFor(5));
    EXPECT_EQ(mSink.last().colour, 4);

    EXPECT_EQ(mPlayer.setRate(-2.0), kMediaNotImplemented);
    EXPECT_EQ(mPlayer.setRate(0.0), kMediaInvalidArgument);
    EXPECT_FALSE(mPlayer.canPlayBackwards());
    EXPECT_EQ(mPlayer.rate(), 2.0);
    mClock.advanceMs(50);
    EXPECT_EQ(mPlayer.positionMs(), 500);
}

TEST_F(MediaPlayerTest, RewindingAtTheEndAndPlayingAgainLoops)
{
    openPlayer();
    for (int round = 0; round < 3; ++round)
    {
        const size_t before = mSink.count();
        ASSERT_EQ(mPlayer.play(), kMediaOk);
        // Time jumps past the whole video: every picture still comes, in order.
        mClock.advanceMs(1500);
        ASSERT_TRUE(mSink.waitFor(before + 10)) << "round " << round;
        uint32_t event = 0;
        ASSERT_TRUE(waitForEvent(mPlayer, event)) << "round " << round;
        EXPECT_EQ(event, kMediaEventComplete);
        // The rewind of the round before is a seek of a running player: it
        // may show the first picture once more before the stop lands, and
        // that picture may still be on its way when this round starts.
        const auto all = mSink.all();
        const std::vector<Picture> pictures(all.begin() + static_cast<ptrdiff_t>(before), all.end());
        ASSERT_TRUE(pictures.size() == 10 || (pictures.size() == 11 && pictures.front().colour == 0))
            << "round " << round << ": " << pictures.size() << " pictures";
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(pictures[pictures.size() - 10 + static_cast<size_t>(i)].colour, i) << "round " << round;
        // As the menu video does it at its end.
        ASSERT_EQ(mPlayer.setPositionMs(0), kMediaOk);
        ASSERT_EQ(mPlayer.stop(), kMediaOk);
        EXPECT_EQ(mPlayer.state(), MediaState::Stopped);
        EXPECT_EQ(mPlayer.positionMs(), 0);
        mClock.advanceMs(500);
        EXPECT_EQ(mPlayer.positionMs(), 0);
    }
    uint32_t event = 0;
    EXPECT_FALSE(mPlayer.getEvent(event));
}

TEST_F(MediaPlayerTest, StopHoldsThePositionAndPlayResumesFromIt)
{
    openPlayer();
    ASSERT_EQ(mPlayer.play(), kMediaOk);
    mClock.advanceMs(320);
    ASSERT_TRUE(mSink.waitFor(4));
    ASSERT_EQ(mPlayer.stop(), kMediaOk);
    EXPECT_EQ(mPlayer.positionMs(), 320);
    mClock.advanceMs(1000);
    settle();
    EXPECT_EQ(mSink.count(), 4u);
    ASSERT_EQ(mPlayer.play(), kMediaOk);
    ASSERT_TRUE(mSink.waitFor(5));
    EXPECT_EQ(mSink.last().colour, 3);
    // A position set while stopped is where playback starts.
    ASSERT_EQ(mPlayer.stop(), kMediaOk);
    ASSERT_EQ(mPlayer.setPositionMs(720), kMediaOk);
    EXPECT_EQ(mPlayer.positionMs(), 720);
    ASSERT_EQ(mPlayer.play(), kMediaOk);
    ASSERT_TRUE(mSink.waitFor(6));
    EXPECT_EQ(mSink.last().colour, 7);
}

TEST_F(MediaPlayerTest, WithoutAVideoEveryCallFailsCleanly)
{
    MediaPlayer player;
    EXPECT_FALSE(player.isOpen());
    EXPECT_EQ(player.play(), kMediaNotOpen);
    EXPECT_EQ(player.pause(), kMediaNotOpen);
    EXPECT_EQ(player.stop(), kMediaNotOpen);
    EXPECT_EQ(player.setPositionMs(10), kMediaNotOpen);
    EXPECT_EQ(player.setRate(2.0), kMediaNotOpen);
    int32_t volume = 1;
    EXPECT_EQ(player.setVolume(-100), kMediaNotOpen);
    EXPECT_EQ(player.getVolume(volume), kMediaNotOpen);
    EXPECT_EQ(player.state(), MediaState::Stopped);
    EXPECT_EQ(player.durationMs(), 0);
    EXPECT_EQ(player.positionMs(), 0);
    uint32_t event = 0;
    EXPECT_FALSE(player.getEvent(event));

    EXPECT_EQ(player.openFile(mDirectory.path() + "missing.wmv"), kMediaFileNotFound);
    EXPECT_FALSE(player.isOpen());
    std::vector<uint8_t> cut(mBytes.begin(), mBytes.begin() + 200);
    EXPECT_TRUE(resultFailed(player.openMemory(cut, "cut.wmv")));
    EXPECT_FALSE(player.isOpen());
    EXPECT_EQ(player.openMemory(nullptr, 10, nullptr, "null.wmv"), kMediaInvalidArgument);

    // A failed open also closes the video that was open.
    ASSERT_EQ(player.openFile(mDirectory.path() + "clip.wmv"), kMediaOk);
    EXPECT_EQ(player.openFile(mDirectory.path() + "missing.wmv"), kMediaFileNotFound);
    EXPECT_FALSE(player.isOpen());
    EXPECT_EQ(player.play(), kMediaNotOpen);
}

TEST_F(MediaPlayerTest, VolumeIsKeptInItsRange)
{
    openPlayer();
    int32_t volume = 1;
    ASSERT_EQ(mPlayer.getVolume(volume), kMediaOk);
    EXPECT_EQ(volume, 0);
    EXPECT_EQ(mPlayer.setVolume(-1500), kMediaOk);
    EXPECT_EQ(mPlayer.setVolume(-10001), kMediaInvalidArgument);
    EXPECT_EQ(mPlayer.setVolume(1), kMediaInvalidArgument);
    ASSERT_EQ(mPlayer.getVolume(volume), kMediaOk);
    EXPECT_EQ(volume, -1500);
}

TEST(MediaPlayer, PlaysToTheEndOnTheRealClock)
{
    TemporaryDirectory directory;
    const auto bytes = TestVideo::encode(TestVideo::Recipe{}, directory.path() + "clip.avi");
    ASSERT_FALSE(bytes.empty());
    RecordingSink sink;
    MediaPlayer player;
    ASSERT_EQ(player.openFile(directory.path() + "clip.avi"), kMediaOk);
    player.setFrameSink(&sink);
    ASSERT_EQ(player.setRate(8.0), kMediaOk);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(player.play(), kMediaOk);
    uint32_t event = 0;
    ASSERT_TRUE(waitForEvent(player, event));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(event, kMediaEventComplete);
    EXPECT_EQ(sink.count(), 10u);
    // 1000 ms of video at 8 times the speed.
    EXPECT_GE(elapsed, std::chrono::milliseconds(120));
}

TEST(MediaPlayer, RepeatedOpenAndCloseWhilePlaying)
{
    TemporaryDirectory directory;
    const auto bytes = TestVideo::encode(TestVideo::Recipe{}, directory.path() + "clip.wmv");
    ASSERT_FALSE(bytes.empty());
    auto shared = std::make_shared<const std::vector<uint8_t>>(bytes);
    RecordingSink sink;
    for (int i = 0; i < 12; ++i)
    {
        auto player = std::make_unique<MediaPlayer>();
        player->setFrameSink(&sink);
        const PlatformResult opened =
            i % 2 == 0 ? player->openFile(directory.path() + "clip.wmv")
                       : player->openMemory(shared->data(), shared->size(), shared, "clip.wmv");
        ASSERT_EQ(opened, kMediaOk);
        player->setRate(16.0);
        player->play();
        if (i % 3 == 0)
            player->setPositionMs(300);
        if (i % 4 == 1)
        {
            // Opening over a playing video replaces it.
            ASSERT_EQ(player->openMemory(bytes, "again.wmv"), kMediaOk);
            player->pause();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(i % 3));
        if (i % 2 == 1)
            player->close();
        player.reset();
    }
    SUCCEED();
}

TEST(MediaPlayer, ASinkTakenAwayIsNoLongerCalled)
{
    TemporaryDirectory directory;
    const auto bytes = TestVideo::encode(TestVideo::Recipe{}, directory.path() + "clip.wmv");
    MediaPlayer player;
    ASSERT_EQ(player.openMemory(bytes, "clip.wmv"), kMediaOk);
    auto sink = std::make_unique<RecordingSink>();
    player.setFrameSink(sink.get());
    player.setRate(4.0);
    player.play();
    ASSERT_TRUE(sink->waitFor(2));
    player.setFrameSink(nullptr);
    const size_t seen = sink->count();
    sink.reset();
    uint32_t event = 0;
    ASSERT_TRUE(waitForEvent(player, event));
    EXPECT_GE(seen, 2u);
}
