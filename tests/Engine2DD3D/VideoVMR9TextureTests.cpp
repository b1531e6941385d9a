#include "Engine2DD3D/VideoVMR9Texture.h"

#include "../Sound/RecordingSoundManager.h"
#include "Framework/FileLookup.h"
#include "Framework/ResourceArchive.h"
#include "Platform/System/Clock.h"
#include "Platform/System/MessageSink.h"
#include "VideoTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

namespace
{

struct EndLog
{
    int calls = 0;
    uint32_t code = 99;
    VideoVMR9Texture* replay = nullptr;
};

void onEnd(uint32_t code, void* user)
{
    auto* log = static_cast<EndLog*>(user);
    ++log->calls;
    log->code = code;
    if (log->replay != nullptr)
        log->replay->play();
}

class VideoTextureTest : public ::testing::Test
{
protected:
    const VideoClips& clips = VideoClips::get();
    MemoryEngine2D engine;
    std::unique_ptr<VideoVMR9Texture> video =
        std::make_unique<VideoVMR9Texture>(engine, 10, 20, 320, 240, nullptr);

    // Frames of the application until the condition holds.
    bool animateUntil(const std::function<bool()>& condition)
    {
        return waitUntil(
            [&]
            {
                video->animateFor(5);
                return condition();
            });
    }
};

} // namespace

TEST(VideoStreamType, ExtensionsAreMatchedWithoutRegardToCase)
{
    EXPECT_EQ(videoStreamTypeOf("menu.mpg"), VideoStreamType::Mpeg1System);
    EXPECT_EQ(videoStreamTypeOf("a.MPA"), VideoStreamType::Mpeg1Audio);
    EXPECT_EQ(videoStreamTypeOf("a.mpv"), VideoStreamType::Mpeg1Video);
    EXPECT_EQ(videoStreamTypeOf("a.Dat"), VideoStreamType::Mpeg1VideoCD);
    EXPECT_EQ(videoStreamTypeOf("a.avi"), VideoStreamType::Avi);
    EXPECT_EQ(videoStreamTypeOf("a.mov"), VideoStreamType::QuickTime);
    EXPECT_EQ(videoStreamTypeOf("a.wav"), VideoStreamType::Wave);
    EXPECT_EQ(videoStreamTypeOf("data\\Video\\MENU.WMV"), VideoStreamType::Avi);
    EXPECT_EQ(videoStreamTypeOf("a.mpeg"), VideoStreamType::Unknown);
    EXPECT_EQ(videoStreamTypeOf("noextension"), VideoStreamType::Unknown);
    // Only the last dot counts.
    EXPECT_EQ(videoStreamTypeOf("clip.wmv.bak"), VideoStreamType::Unknown);
    EXPECT_EQ(videoFileExtension("a.b.Mov"), "Mov");
    EXPECT_EQ(videoFileExtension("none"), "");
}

TEST_F(VideoTextureTest, StartsStoppedWithABlackTextureAndNoVideo)
{
    Texture* texture = video->getVideoTexture();
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->getWidth(), 10u);
    EXPECT_EQ(texture->getHeight(), 10u);
    EXPECT_EQ(texelColour(texture, 5, 5), 0u);
    EXPECT_EQ(texelAlpha(texture, 5, 5), 0xFFu);
    EXPECT_EQ(video->getImage()->getTexture(), texture);
    EXPECT_FALSE(video->getImage()->isMirrorY());
    // Every control answers without a video.
    EXPECT_EQ(video->play(), 0);
    EXPECT_EQ(video->getState(), 0u);
    EXPECT_EQ(video->getPosition(), 0);
    EXPECT_EQ(video->getDuration(), 0);
    EXPECT_EQ(video->getVolume(), -1);
    uint32_t width = 1, height = 1;
    video->getVideoSize(width, height);
    EXPECT_EQ(width, 0u);
    EXPECT_EQ(height, 0u);
    video->animateFor(20);
}

TEST_F(VideoTextureTest, PicturesReachTheTopLeftOfATextureMadeAtTheVideosSize)
{
    ASSERT_EQ(video->open(clips.slow), 0);
    Texture* texture = video->getVideoTexture();
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->getWidth(), 64u);
    EXPECT_EQ(texture->getHeight(), 48u);
    EXPECT_EQ(texture->getTextureHeight(), 64u);
    EXPECT_EQ(video->getImage()->getTexture(), texture);
    EXPECT_EQ(video->getDuration(), 1000);
    uint32_t width = 0, height = 0;
    video->getVideoSize(width, height);
    EXPECT_EQ(width, 64u);
    EXPECT_EQ(height, 48u);

    // Paused, the picture at the position shows.
    video->setPosition(300);
    video->pause();
    ASSERT_TRUE(waitUntil([&] { return video->framesRendered() >= 1; }));
    settle();
    EXPECT_EQ(video->getState(), 2u);
    EXPECT_EQ(texelFrame(texture, 32, 24), 3);
    EXPECT_EQ(texelFrame(texture, 0, 0), 3);
    EXPECT_EQ(texelFrame(texture, 63, 47), 3);
    EXPECT_EQ(texelAlpha(texture, 63, 47), 0xFFu);
    // Nothing is written below or beside the picture.
    EXPECT_EQ(texelColour(texture, 32, 50), 0u);
    EXPECT_EQ(texelAlpha(texture, 32, 50), 0xFFu);
    EXPECT_EQ(texelColour(texture, 0, 63), 0u);
}

TEST_F(VideoTextureTest, TheEndStopsTheVideoAndCallsBackOnce)
{
    EndLog log;
    video->setEndCallback(onEnd, &log);
    ASSERT_EQ(video->open(clips.quick), 0);
    video->play();
    EXPECT_EQ(video->getState(), 1u);
    ASSERT_TRUE(animateUntil([&] { return log.calls > 0; }));
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(log.code, 0u);
    EXPECT_EQ(video->getState(), 0u);
    EXPECT_EQ(video->getPosition(), 0);
    EXPECT_GE(video->framesRendered(), 1u);
    // Stopping clears the picture.
    EXPECT_EQ(texelColour(video->getVideoTexture(), 32, 24), 0u);
    for (int i = 0; i < 10; ++i)
        video->animateFor(20);
    EXPECT_EQ(log.calls, 1);
}

TEST_F(VideoTextureTest, AVideoRestartedFromItsEndCallbackLoops)
{
    EndLog log;
    log.replay = video.get();
    video->setEndCallback(onEnd, &log);
    ASSERT_EQ(video->open(clips.quick), 0);
    video->play();
    ASSERT_TRUE(animateUntil([&] { return log.calls >= 1; }));
    uint64_t firstRound = video->framesRendered();
    EXPECT_EQ(video->getState(), 1u);
    ASSERT_TRUE(animateUntil([&] { return log.calls >= 2; }));
    EXPECT_GT(video->framesRendered(), firstRound);
    EXPECT_EQ(video->getState(), 1u);
    video->stop();
}

TEST_F(VideoTextureTest, PauseHoldsThePictureAndStopRewinds)
{
    // The video's time moves only as the test moves it: the pause comes in
    // the middle of the video, after its third picture, however late the
    // machine runs the test.
    Platform::ManualClock clock;
    ASSERT_EQ(video->open(clips.slow), 0);
    video->play();
    clock.advanceMs(250);
    ASSERT_TRUE(waitUntil([&] { return video->framesRendered() >= 3; }));
    video->pause();
    EXPECT_EQ(video->getState(), 2u);
    settle();
    int32_t held = video->getPosition();
    uint64_t frames = video->framesRendered();
    clock.advanceMs(300);
    settle();
    EXPECT_EQ(video->getPosition(), held);
    EXPECT_EQ(video->framesRendered(), frames);
    int picture = texelFrame(video->getVideoTexture(), 32, 24);
    EXPECT_NEAR(picture, held / 100, 1);

    video->resume();
    EXPECT_EQ(video->getState(), 1u);
    clock.advanceMs(100);
    ASSERT_TRUE(waitUntil([&] { return video->getPosition() > held; }));
    video->stop();
    EXPECT_EQ(video->getState(), 0u);
    EXPECT_EQ(video->getPosition(), 0);
    settle();
    EXPECT_EQ(texelColour(video->getVideoTexture(), 32, 24), 0u);
}

TEST_F(VideoTextureTest, BackwardRatesStepThePositionUntilTheStart)
{
    ASSERT_EQ(video->open(clips.slow), 0);
    video->setPosition(900);
    video->pause();
    EXPECT_EQ(video->setRate(-2.0f), 0);
    EXPECT_FLOAT_EQ(video->getRate(), -2.0f);
    EXPECT_TRUE(video->isRateEmulated());
    EXPECT_EQ(video->getState(), 2u);
    // The first step comes at the next frame, then one every period.
    video->animateFor(20);
    EXPECT_EQ(video->getPosition(), 400);
    video->animateFor(100);
    EXPECT_EQ(video->getPosition(), 400);
    video->animateFor(150);
    // Below the start: stopped, without the end callback.
    EndLog log;
    video->setEndCallback(onEnd, &log);
    EXPECT_EQ(video->getState(), 0u);
    EXPECT_EQ(log.calls, 0);

    // Back to a rate the player has: normal play resumes.
    video->setPosition(500);
    video->pause();
    video->setRate(1.0f);
    EXPECT_FALSE(video->isRateEmulated());
    EXPECT_EQ(video->getState(), 1u);
    video->stop();
}

TEST_F(VideoTextureTest, ForwardRatesArePlayedByThePlayerAndEndlessRatesRefused)
{
    ASSERT_EQ(video->open(clips.slow), 0);
    video->setPosition(500);
    video->pause();
    video->setStepPeriod(100);
    EXPECT_EQ(video->getStepPeriod(), 100);
    video->setRate(-1.0f);
    EXPECT_TRUE(video->isRateEmulated());
    video->animateFor(10);
    EXPECT_EQ(video->getPosition(), 400);
    // Leaving backward emulation runs the video at the player's own rate.
    video->setRate(3.0f);
    EXPECT_FALSE(video->isRateEmulated());
    EXPECT_EQ(video->getState(), 1u);
    video->pause();
    EXPECT_NE(video->setRate(std::numeric_limits<float>::infinity()), 0);
    EXPECT_NE(video->setRate(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_FLOAT_EQ(video->getRate(), 3.0f);
    EXPECT_FALSE(video->isRateEmulated());
    video->stop();
}

TEST_F(VideoTextureTest, AStillImageShowsUntilTheVideoHasMoved)
{
    auto* still = static_cast<FakeResource*>(engine.createTexture(16, 16, 0));
    video->setStillImage(still);
    EXPECT_EQ(video->getImage()->getTexture(), still);
    uint32_t width = 0, height = 0;
    video->getVideoSize(width, height);
    EXPECT_EQ(width, 16u);
    EXPECT_EQ(height, 16u);

    ASSERT_EQ(video->open(clips.slow), 0);
    EXPECT_EQ(video->getImage()->getTexture(), still);
    video->play();
    ASSERT_TRUE(animateUntil([&] { return video->getImage()->getTexture() == video->getVideoTexture(); }));
    video->stop();
    EXPECT_EQ(video->getImage()->getTexture(), still);
    // Another still image replaces it; the first reference is given back.
    bool destroyed = false;
    still->destroyed = &destroyed;
    video->setStillImage(nullptr);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(video->getImage()->getTexture(), video->getVideoTexture());
}

TEST_F(VideoTextureTest, DrawsOnlyWhileVisibleAndFollowsItsRectangle)
{
    auto* image = static_cast<CountingImage*>(video->getImage());
    video->render();
    EXPECT_EQ(image->draws, 1);
    video->setVisible(false);
    video->render();
    EXPECT_EQ(image->draws, 1);
    video->setRect(5, 6, 100, 80);
    EXPECT_FLOAT_EQ(image->getX(), 5.0f);
    EXPECT_FLOAT_EQ(image->getY(), 6.0f);
    EXPECT_FLOAT_EQ(image->getWidth(), 100.0f);
    EXPECT_FLOAT_EQ(image->getHeight(), 80.0f);
    EXPECT_EQ(image->getSizeMode(), Image2D::SIZE_STRETCHED);
}

TEST_F(VideoTextureTest, ADeviceResetPutsThePositionAndStateBack)
{
    ASSERT_EQ(video->open(clips.slow), 0);
    video->setPosition(600);
    video->pause();
    EXPECT_EQ(video->onDeviceLost(), 0);
    EXPECT_EQ(video->getState(), 0u);
    EXPECT_EQ(video->onDeviceReset(), 0);
    EXPECT_EQ(video->getState(), 2u);
    EXPECT_EQ(video->getPosition(), 600);
}

TEST_F(VideoTextureTest, MissingFilesAndDecodersGiveTheirCodes)
{
    EXPECT_EQ(video->open(clips.folder + "absent.wmv"), ERROR_FILENOTFOUND);
    EXPECT_FALSE(video->isOpen());
    EXPECT_EQ(video->open(clips.noDecoder), ERROR_VIDEO_CODEC_WMV9_UNAVAILABLE);
    EXPECT_FALSE(video->isOpen());
    std::string renamed = clips.folder + "nodecoder.avi";
    std::filesystem::copy_file(clips.noDecoder, renamed, std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(video->open(renamed), ERROR_VIDEO_CODEC_UNAVAILABLE);
    // A file without pictures has nothing to play.
    EXPECT_EQ(video->open(clips.soundOnly), ERROR_VIDEO_CODEC_UNAVAILABLE);
    // A failed open leaves nothing of the previous video.
    ASSERT_EQ(video->open(clips.slow), 0);
    EXPECT_EQ(video->open(clips.folder + "absent.mpg"), ERROR_FILENOTFOUND);
    EXPECT_FALSE(video->isOpen());
    EXPECT_EQ(video->getState(), 0u);
}

TEST_F(VideoTextureTest, TheSoundLevelReachesOpenVideosAndThoseOpenedLater)
{
    RecordingSoundManager sound;
    sound.setSoundLevel(200);
    EngineComponent::listenToSoundManager(sound);
    EXPECT_EQ(EngineComponent::soundLevel(), 200u);
    ASSERT_EQ(video->open(clips.slow), 0);
    EXPECT_EQ(video->getVolume(), SoundManager::volumeToLevel(SoundManager::levelToVolume(200)));
    sound.setSoundLevel(0);
    EXPECT_EQ(video->getVolume(), 0);
    sound.setSoundLevel(255);
    EXPECT_EQ(video->getVolume(), 255);
    EXPECT_EQ(EngineComponent::components().back(), video.get());
    video.reset();
    EXPECT_TRUE(EngineComponent::components().empty());
    // The listener outlives the videos.
    sound.setSoundLevel(100);
    sound.setLevelListener(nullptr);
    EngineComponent::setSoundLevel(255);
}

namespace
{

class ArchivedVideoTest : public VideoTextureTest
{
protected:
    void SetUp() override
    {
        Platform::setProgramDirectory(mDirectory.path());
        std::filesystem::create_directories(mDirectory.path() + "pack/Video");
        std::filesystem::create_directories(mDirectory.path() + "data");
        TestVideo::writeFile(mDirectory.path() + "pack/Video/menu.WMV", clips.quickBytes);
        TestVideo::writeFile(mDirectory.path() + "pack/Video/menu.xyz", clips.quickBytes);
        TestVideo::writeFile(mDirectory.path() + "pack/Video/vide.avi", {});
        ASSERT_EQ(buildResourceArchive(mDirectory.path() + "data/Ressources.dat", mDirectory.path() + "pack",
                                       "data\\Ressources"),
                  ERROR_OK);
        auto archive = std::make_unique<ResourceArchive>();
        ASSERT_EQ(archive->open("data\\Ressources.dat"), ERROR_OK);
        mLookup.addArchive(std::move(archive));
        setActiveFileLookup(&mLookup);
    }
    void TearDown() override { setActiveFileLookup(nullptr); }

    Platform::TemporaryDirectory mDirectory;
    FileLookup mLookup;
};

} // namespace

TEST_F(ArchivedVideoTest, VideosOfTheArchivePlayFromMemory)
{
    EndLog log;
    video->setEndCallback(onEnd, &log);
    ASSERT_EQ(video->open("data\\Ressources\\Video\\menu.wmv"), 0);
    EXPECT_EQ(video->getVideoTexture()->getWidth(), 64u);
    video->play();
    ASSERT_TRUE(animateUntil([&] { return log.calls > 0; }));
    EXPECT_GE(video->framesRendered(), 1u);
    // Reopening the same bytes plays them again from the start.
    ASSERT_EQ(video->open("data\\Ressources\\Video\\MENU.wmv"), 0);
    video->setPosition(100);
    video->pause();
    ASSERT_TRUE(waitUntil([&] { return video->framesRendered() >= 1; }));
    settle();
    EXPECT_EQ(texelFrame(video->getVideoTexture(), 32, 24), 5);
}

TEST_F(ArchivedVideoTest, ArchiveFilesWithAnUnknownExtensionAreRefusedWithAMessage)
{
    Platform::ScopedMessageCapture capture;
    EXPECT_EQ(video->open("data\\Ressources\\Video\\menu.xyz"), 2);
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_EQ(capture.messages()[0].text, "Type d'extenstion vid\xE9o de fichier inconnue : \"xyz\"");
    EXPECT_FALSE(video->isOpen());
    // Covered by the archive but not in it.
    EXPECT_EQ(video->open("data\\Ressources\\Video\\absent.wmv"), ERROR_FILENOTFOUND);
    // An empty file is no video.
    EXPECT_EQ(video->open("data\\Ressources\\Video\\vide.avi"), ERROR_VIDEO_CODEC_UNAVAILABLE);
    EXPECT_EQ(capture.messages().size(), 1u);
}

TEST_F(VideoTextureTest, RepeatedOpensAndClosesWhilePicturesFlow)
{
    for (int i = 0; i < 12; ++i)
    {
        auto other = std::make_unique<VideoVMR9Texture>(engine, 0, 0, 64, 48, nullptr);
        ASSERT_EQ(other->open(i % 2 == 0 ? clips.quick : clips.slow), 0);
        other->play();
        if (i % 3 == 0)
            waitUntil([&] { return other->framesRendered() >= 1; });
        if (i % 4 == 1)
        {
            ASSERT_EQ(other->open(clips.quick), 0);
        }
        other->play();
        // Destroyed while the decoding thread may be writing a picture.
    }
    EXPECT_EQ(EngineComponent::components().size(), 1u);
    EXPECT_EQ(engine.getTextures().size(), 1u);
}
