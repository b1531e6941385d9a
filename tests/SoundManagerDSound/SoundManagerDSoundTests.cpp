#include "../Sound/OggEncoder.h"
#include "../Sound/WaveBuilder.h"

#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"
#include "Platform/System/Random.h"
#include "Sound/ProgramSounds.h"
#include "Sound/SoundErrors.h"
#include "SoundManagerDSound/SoundChannelDSound.h"
#include "SoundManagerDSound/SoundManagerDSound.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace Platform;

namespace
{
// A manager on the manual mixer, configured as the application configures
// it, with the program folder in a scratch directory.
class SoundManagerDSoundTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mPreviousFolder = programDirectory();
        setProgramDirectory(mFolder.path());
        std::filesystem::create_directories(mFolder.path() + "data/sons");
        manager = makeManager();
        ASSERT_EQ(manager->init(), ERROR_OK);
    }
    void TearDown() override
    {
        manager.reset();
        setProgramDirectory(mPreviousFolder);
    }

    static std::unique_ptr<SoundManagerDSound> makeManager()
    {
        auto made = std::make_unique<SoundManagerDSound>(AudioOutput::Manual);
        made->setChannelCount(8);
        made->setGroupCount(2);
        made->setGroupChannels(SoundManager::MUSIC_GROUP, 0, 1);
        made->setGroupLevel(SoundManager::MUSIC_GROUP, 255);
        made->setGroupChannels(SoundManager::EFFECTS_GROUP, 1, 7);
        made->setGroupLevel(SoundManager::EFFECTS_GROUP, 255);
        return made;
    }

    // Writes data\sons\<name> with mono 16-bit samples and returns its game path.
    std::string writeWave(const std::string& name, const std::vector<int16_t>& samples, uint16_t channels = 1)
    {
        TestWave::Recipe recipe;
        recipe.channels = channels;
        recipe.data = TestWave::samples16(samples);
        TestWave::writeFile(mFolder.path() + "data/sons/" + name, TestWave::build(recipe));
        return "data\\sons\\" + name;
    }

    // Left channel of the next frames.
    std::vector<int16_t> pumpLeft(uint32_t frames)
    {
        std::vector<int16_t> out(frames * 2);
        manager->getAudioDevice().pump(out.data(), frames);
        std::vector<int16_t> left(frames);
        for (uint32_t i = 0; i < frames; ++i)
            left[i] = out[2 * i];
        return left;
    }

    SoundChannelDSound& channel(uint32_t i)
    {
        return static_cast<SoundChannelDSound&>(*manager->getChannel(i));
    }

    static std::vector<int16_t> ramp(int count, int start = 1, int step = 1)
    {
        std::vector<int16_t> values(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            values[static_cast<size_t>(i)] = static_cast<int16_t>(start + i * step);
        return values;
    }

    TemporaryDirectory mFolder;
    std::string mPreviousFolder;
    ScopedMessageCapture messages;
    std::unique_ptr<SoundManagerDSound> manager;
};

int32_t volumeOf(AudioBuffer* buffer)
{
    int32_t volume = 1;
    buffer->getVolume(volume);
    return volume;
}
} // namespace

TEST_F(SoundManagerDSoundTest, TheSameStaticNameReusesItsBufferAndRestarts)
{
    std::string name = writeWave("clic.wav", ramp(100));
    ASSERT_EQ(channel(1).play(name, -1, false, false), ERROR_OK);
    StaticSound* first = channel(1).getSound();
    EXPECT_EQ(pumpLeft(3), ramp(3));
    EXPECT_EQ(pumpLeft(2), ramp(2, 4));

    ASSERT_EQ(channel(1).play(name, -1, false, false), ERROR_OK);
    EXPECT_EQ(channel(1).getSound(), first);
    EXPECT_EQ(pumpLeft(3), ramp(3));

    // Shorter than nothing else: played once, then silence and stopped.
    pumpLeft(97);
    EXPECT_EQ(pumpLeft(2), std::vector<int16_t>(2, 0));
    EXPECT_FALSE(channel(1).isPlaying());

    uint32_t length = 0;
    channel(1).getLength(length);
    EXPECT_EQ(length, 100u);
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(SoundManagerDSoundTest, AStreamingSoundPlaysToItsEndAcrossRefillsThenStops)
{
    // Two and a half buffers of 8 blocks of 40000 mono frames.
    const int frames = 8 * 40000 * 2 + 20000 + 123;
    std::vector<int16_t> samples(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i)
        samples[static_cast<size_t>(i)] = static_cast<int16_t>(1 + i % 30011);
    std::string name = writeWave("musique.wav", samples);

    ASSERT_EQ(channel(0).play(name, -1, true, true), ERROR_OK);
    EXPECT_EQ(manager->getStreamingSoundCount(), 1u);
    ASSERT_TRUE(manager->waitForNotifications());

    // Half a block at a time, letting the refill thread keep up.
    std::vector<int16_t> heard;
    int pumps = 0;
    while (channel(0).isPlaying() && pumps < 200)
    {
        std::vector<int16_t> part = pumpLeft(20000);
        heard.insert(heard.end(), part.begin(), part.end());
        ASSERT_TRUE(manager->waitForNotifications());
        ++pumps;
    }
    EXPECT_FALSE(channel(0).isPlaying()) << "looping was asked, yet the stream must end";
    ASSERT_GE(heard.size(), samples.size());
    // Every sample in order, then only silence.
    size_t firstWrong = 0;
    while (firstWrong < samples.size() && heard[firstWrong] == samples[firstWrong])
        ++firstWrong;
    EXPECT_EQ(firstWrong, samples.size());
    for (size_t i = samples.size(); i < heard.size(); ++i)
        ASSERT_EQ(heard[i], 0) << i;
    // It stops within a buffer of its end.
    EXPECT_LT(heard.size(), samples.size() + 8 * 40000);
}

TEST_F(SoundManagerDSoundTest, OggMusicStreamsFromTheDisk)
{
    ASSERT_TRUE(TestOgg::encodeTone(mFolder.path() + "data/sons/theme.ogg", 2, 22050, 30000));
    ASSERT_EQ(channel(0).play("data\\sons\\theme.ogg", -1, false, true), ERROR_OK);
    ASSERT_TRUE(manager->waitForNotifications());
    int16_t peak = 0;
    int pumps = 0;
    while (channel(0).isPlaying() && pumps < 100)
    {
        for (int16_t s : pumpLeft(20000))
            peak = std::max(peak, s);
        ASSERT_TRUE(manager->waitForNotifications());
        ++pumps;
    }
    EXPECT_FALSE(channel(0).isPlaying());
    EXPECT_GT(peak, 8000);
}

TEST_F(SoundManagerDSoundTest, PlayByIdNeedsTheEffectsGroupAndRestarts)
{
    std::string name = writeWave("erreur.wav", ramp(10, 100, 100));
    manager->setSoundCount(4);
    manager->setSoundName(3, name);

    manager->setGroupEnabled(SoundManager::EFFECTS_GROUP, false);
    EXPECT_EQ(manager->playSound(3, -1, false), ERROR_OK);
    EXPECT_EQ(manager->getLoadedSound(3), nullptr);
    EXPECT_EQ(pumpLeft(1), std::vector<int16_t>{0});

    manager->setGroupEnabled(SoundManager::EFFECTS_GROUP, true);
    EXPECT_EQ(manager->playSound(3, -1, false), ERROR_OK);
    ASSERT_NE(manager->getLoadedSound(3), nullptr);
    EXPECT_EQ(pumpLeft(2), ramp(2, 100, 100));
    // Again while playing: from the start.
    EXPECT_EQ(manager->playSound(3, -1, false), ERROR_OK);
    EXPECT_EQ(pumpLeft(2), ramp(2, 100, 100));

    // At the effects group's level.
    manager->setGroupLevel(SoundManager::EFFECTS_GROUP, 178);
    EXPECT_EQ(manager->playSound(3, -1, false), ERROR_OK);
    EXPECT_EQ(volumeOf(manager->getLoadedSound(3)->getBuffer(0)), -906);

    // Ids outside the table play nothing.
    EXPECT_EQ(manager->playSound(0, -1, false), ERROR_OK);
    EXPECT_EQ(manager->playSound(4, -1, false), ERROR_OK);
    EXPECT_EQ(manager->playSound(0xFFFFFFFF, -1, false), ERROR_OK);
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(SoundManagerDSoundTest, WhenEveryBufferIsBusyOneIsTakenAtRandom)
{
    std::string name = writeWave("pion.wav", ramp(1000));
    std::unique_ptr<StaticSound> sound;
    ASSERT_EQ(manager->getDevice().createStaticSound(name, kBufferControlVolume, 3, sound), kAudioOk);
    ASSERT_EQ(sound->getBufferCount(), 3u);
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(sound->play(0, 0, -100, -1, 0), kAudioOk);
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(volumeOf(sound->getBuffer(i)), -100);

    seedRandom(4242);
    uint32_t expected = static_cast<uint32_t>(Platform::random()) % 3;
    seedRandom(4242);
    ASSERT_EQ(sound->play(0, 0, -700, -1, 0), kAudioOk);
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(volumeOf(sound->getBuffer(i)), i == expected ? -700 : -100) << i;
}

TEST_F(SoundManagerDSoundTest, ReversedSoundsPlayTheirFramesBackwards)
{
    std::string name = writeWave("stereo.wav", {1, -1, 2, -2, 3, -3}, 2);
    ASSERT_EQ(channel(2).play(name, -1, false, false), ERROR_OK);
    ASSERT_EQ(channel(2).setReverse(true), ERROR_OK);
    std::vector<int16_t> out(6);
    manager->getAudioDevice().pump(out.data(), 3);
    // Frames reversed, each frame's two sides kept together.
    EXPECT_EQ(out, (std::vector<int16_t>{3, -3, 2, -2, 1, -1}));
    ASSERT_EQ(channel(2).setReverse(false), ERROR_OK);
    channel(2).setPosition(0);
    channel(2).restart();
    manager->getAudioDevice().pump(out.data(), 3);
    EXPECT_EQ(out, (std::vector<int16_t>{1, -1, 2, -2, 3, -3}));
}

TEST_F(SoundManagerDSoundTest, AChannelLevelReachesItsPlayingSound)
{
    std::string name = writeWave("long.wav", std::vector<int16_t>(5000, 1000));
    ASSERT_EQ(channel(3).play(name, -1, true, false), ERROR_OK);
    AudioBuffer* buffer = channel(3).getSound()->getBuffer(0);
    EXPECT_EQ(volumeOf(buffer), 0);
    manager->setSoundLevel(0);
    EXPECT_EQ(volumeOf(buffer), -3000);
    // An explicit level wins over the group's.
    channel(3).setLevel(178);
    EXPECT_EQ(volumeOf(buffer), -906);
    // A channel moved out of every group resolves to 255.
    manager->setGroupChannels(SoundManager::EFFECTS_GROUP, 4, 4);
    channel(3).setLevel(-1);
    EXPECT_EQ(volumeOf(buffer), 0);
}

TEST_F(SoundManagerDSoundTest, ChannelSettingsReportDeviceFailuresWithTheirPlace)
{
    EXPECT_EQ(manager->getMinSampleRate(), kFrequencyMin);
    EXPECT_EQ(manager->getMaxSampleRate(), kFrequencyMax);
    // Without a sound the settings do nothing.
    EXPECT_EQ(channel(1).setFrequency(11025), ERROR_OK);
    uint32_t value = 7;
    EXPECT_EQ(channel(1).getPosition(value), ERROR_OK);
    EXPECT_EQ(value, 0u);

    std::string name = writeWave("pas.wav", ramp(400));
    ASSERT_EQ(channel(1).play(name, -1, false, false), ERROR_OK);
    EXPECT_EQ(channel(1).setFrequency(44100), ERROR_OK);
    EXPECT_EQ(channel(1).getFrequency(value), ERROR_OK);
    EXPECT_EQ(value, 44100u);
    EXPECT_EQ(channel(1).setPosition(100), ERROR_OK);
    EXPECT_EQ(channel(1).getPosition(value), ERROR_OK);
    EXPECT_EQ(value, 100u);
    EXPECT_TRUE(messages.messages().empty());

    // Past the end of the sound; and a streaming buffer has no frequency control.
    EXPECT_EQ(channel(1).setPosition(400), ERROR_DSOUND);
    ASSERT_EQ(channel(0).play(name, -1, false, true), ERROR_OK);
    EXPECT_EQ(channel(0).setFrequency(11025), ERROR_DSOUND);
    ASSERT_EQ(messages.messages().size(), 2u);
    for (const auto& message : messages.messages())
    {
        EXPECT_EQ(message.kind, MessageKind::Error);
        EXPECT_NE(message.text.find("(line "), std::string::npos);
        EXPECT_NE(message.text.find("in file Sources\\SoundManagerDSound\\SoundChannelDSound.cpp)"),
                  std::string::npos);
    }
}

TEST_F(SoundManagerDSoundTest, MissingFilesReturnTheirCodeAndSayWhich)
{
    EXPECT_EQ(channel(1).play("data\\sons\\absent.wav", -1, false, false), ERROR_DSOUND);
    EXPECT_EQ(channel(1).getSound(), nullptr);
    EXPECT_FALSE(channel(1).isPlaying());
    EXPECT_EQ(channel(0).play("data\\sons\\absent.ogg", -1, false, true), ERROR_DSOUND);
    EXPECT_EQ(manager->getStreamingSoundCount(), 0u);

    manager->setSoundCount(4);
    EXPECT_EQ(manager->playSound(3, -1, false), ERROR_DSOUND);
    ASSERT_EQ(messages.messages().size(), 4u);
    EXPECT_EQ(messages.messages()[0].text, "Impossible de charger le son data\\sons\\absent.wav");
    EXPECT_EQ(messages.messages()[1].text, "Impossible de charger le son data\\sons\\absent.ogg");
    // Boxes take Windows-1252 and make it UTF-8 themselves: "é" is one byte.
    EXPECT_EQ(messages.messages()[2].text, "Son non initialis\xE9 3");
    EXPECT_EQ(messages.messages()[3].text, "Impossible de charger le son ");

    // A file the mixer cannot play fails the same way.
    TestWave::Recipe adpcm;
    adpcm.formatTag = 2;
    adpcm.data = std::vector<uint8_t>(64, 0);
    TestWave::writeFile(mFolder.path() + "data/sons/adpcm.wav", TestWave::build(adpcm));
    EXPECT_EQ(channel(1).play("data\\sons\\adpcm.wav", -1, false, false), ERROR_DSOUND);
}

TEST_F(SoundManagerDSoundTest, StartUpAndShutDownRepeatWithStreamsRunning)
{
    std::string name = writeWave("court.wav", ramp(3000));
    for (int round = 0; round < 100; ++round)
    {
        std::unique_ptr<SoundManagerDSound> other = makeManager();
        ASSERT_EQ(other->init(), ERROR_OK);
        ASSERT_EQ(other->getChannel(0)->play(name, -1, false, true), ERROR_OK);
        ASSERT_EQ(other->getChannel(1)->play(name, -1, false, false), ERROR_OK);
        std::vector<int16_t> out(2 * 45000);
        other->getAudioDevice().pump(out.data(), 45000); // past the first block: a refill is due
    }
}

TEST_F(SoundManagerDSoundTest, AWaveInMemoryPlaysAsItsFileDoes)
{
    TestWave::Recipe recipe;
    recipe.channels = 2;
    recipe.data = TestWave::samples16(ramp(400, -200));
    const std::vector<uint8_t> bytes = TestWave::build(recipe);
    TestWave::writeFile(mFolder.path() + "data/sons/pair.wav", bytes);

    std::unique_ptr<StaticSound> fromFile;
    std::unique_ptr<StaticSound> fromMemory;
    const uint32_t flags = kBufferControlVolume | kBufferControlFrequency;
    ASSERT_EQ(manager->getDevice().createStaticSound("data\\sons\\pair.wav", flags, 2, fromFile), kAudioOk);
    ASSERT_EQ(manager->getDevice().createStaticSoundFromMemory(
                  bytes.data(), static_cast<uint32_t>(bytes.size()), flags, 2, fromMemory),
              kAudioOk);
    EXPECT_EQ(fromMemory->getBufferCount(), 2u);
    EXPECT_EQ(fromMemory->getCreationFlags(), flags);
    EXPECT_EQ(fromMemory->getBufferSize(), fromFile->getBufferSize());

    std::vector<int16_t> heard[2];
    for (int i = 0; i < 2; ++i)
    {
        StaticSound& sound = i == 0 ? *fromFile : *fromMemory;
        ASSERT_EQ(sound.play(0, 0, 0, -1, 0), kAudioOk);
        heard[i].resize(2 * 200);
        manager->getAudioDevice().pump(heard[i].data(), 200);
        EXPECT_FALSE(sound.isPlaying());
    }
    EXPECT_EQ(heard[0], ramp(400, -200));
    EXPECT_EQ(heard[1], heard[0]);

    // The sound keeps its own copy: the caller's bytes may go.
    std::vector<uint8_t> scratch = bytes;
    std::unique_ptr<StaticSound> copied;
    ASSERT_EQ(manager->getDevice().createStaticSoundFromMemory(
                  scratch.data(), static_cast<uint32_t>(scratch.size()), flags, 1, copied),
              kAudioOk);
    scratch.assign(scratch.size(), 0);
    copied->setReversed(true);
    ASSERT_EQ(copied->fillBuffer(copied->getBuffer(0), false), kAudioOk);
    ASSERT_EQ(copied->play(0, 0, 0, -1, 0), kAudioOk);
    EXPECT_EQ(pumpLeft(2), (std::vector<int16_t>{198, 196}));

    // Bytes that are no WAVE file make no sound.
    const uint8_t junk[] = {1, 2, 3, 4};
    std::unique_ptr<StaticSound> none;
    EXPECT_EQ(manager->getDevice().createStaticSoundFromMemory(junk, 4, flags, 1, none), kAudioFailed);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(manager->getDevice().createStaticSoundFromMemory(junk, 4, flags, 0, none),
              kAudioInvalidArgument);
}

TEST_F(SoundManagerDSoundTest, TheProgramsOwnSoundPlaysByNameWhenNoFileHasIt)
{
    TestWave::Recipe recipe;
    recipe.data = TestWave::samples16(ramp(10, 100, 100));
    const std::vector<uint8_t> builtIn = TestWave::build(recipe);
    registerProgramSound("data\\sons\\erreur.wav", "WAVE", builtIn);
    manager->setSoundCount(3);
    manager->setSoundName(1, "data\\sons\\erreur.wav");
    manager->setSoundName(2, "data\\sons\\inconnu.wav");

    EXPECT_EQ(manager->playSound(1, -1, false), ERROR_OK);
    EXPECT_EQ(pumpLeft(3), ramp(3, 100, 100));
    EXPECT_TRUE(messages.messages().empty());

    // Neither file nor built-in sound: the load fails with the layer's code.
    std::unique_ptr<StaticSound> sound;
    EXPECT_EQ(
        manager->getDevice().createStaticSound("data\\sons\\inconnu.wav", kBufferControlVolume, 1, sound),
        static_cast<PlatformResult>(0x80004005u));
    EXPECT_EQ(manager->playSound(2, -1, false), ERROR_DSOUND);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_NE(messages.messages()[0].text.find("inconnu.wav"), std::string::npos);
    clearProgramSounds();
}

TEST_F(SoundManagerDSoundTest, PositionalSoundsPlayFromWhereTheyAreHeard)
{
    std::string name = writeWave("pas.wav", std::vector<int16_t>(2000, 8000));
    std::unique_ptr<StaticSound> placed;
    ASSERT_EQ(
        manager->getDevice().createStaticSound(name, kBufferControl3D | kBufferControlVolume, 1, placed),
        kAudioOk);
    AudioBuffer* controls = nullptr;
    ASSERT_EQ(placed->get3DBuffer(0, controls), kAudioOk);
    EXPECT_EQ(controls, placed->getBuffer(0));
    EXPECT_EQ(placed->get3DBuffer(1, controls), kAudioInvalidArgument);

    // Two units to the left with a minimum distance of one: half, left only.
    Audio3DBuffer where;
    where.position = {-2, 0, 0};
    ASSERT_EQ(placed->play3D(where, 0, 0, -1), kAudioOk);
    std::vector<int16_t> out(2 * 4);
    manager->getAudioDevice().pump(out.data(), 4);
    EXPECT_EQ(out[0], 4000);
    EXPECT_EQ(out[1], 0);

    // The listener steps to the sound's place.
    Audio3DListener listener;
    ASSERT_EQ(manager->getDevice().get3DListener(listener), kAudioOk);
    listener.position = {-2, 0, 0};
    ASSERT_EQ(manager->getDevice().set3DListener(listener), kAudioOk);
    manager->getAudioDevice().pump(out.data(), 4);
    EXPECT_EQ(out[0], 8000);
    EXPECT_EQ(out[1], 8000);

    // A frequency is taken where the sound allows one; -1 keeps it.
    std::unique_ptr<StaticSound> tuned;
    ASSERT_EQ(
        manager->getDevice().createStaticSound(name, kBufferControl3D | kBufferControlFrequency, 1, tuned),
        kAudioOk);
    ASSERT_EQ(tuned->play3D(where, 0, 0, 11025), kAudioOk);
    uint32_t frequency = 0;
    ASSERT_EQ(tuned->getBuffer(0)->getFrequency(frequency), kAudioOk);
    EXPECT_EQ(frequency, 11025u);
    ASSERT_EQ(tuned->play3D(where, 0, 0, -1), kAudioOk);
    ASSERT_EQ(tuned->getBuffer(0)->getFrequency(frequency), kAudioOk);
    EXPECT_EQ(frequency, 11025u);

    // A plain sound has no positional controls.
    std::unique_ptr<StaticSound> plain;
    ASSERT_EQ(manager->getDevice().createStaticSound(name, kBufferControlVolume, 1, plain), kAudioOk);
    EXPECT_EQ(plain->get3DBuffer(0, controls), kAudioControlUnavailable);
    EXPECT_EQ(controls, nullptr);
    EXPECT_EQ(plain->play3D(where, 0, 0, -1), kAudioControlUnavailable);
}

TEST(SoundManagerDSoundStartUp, NoSoundDeviceIsAStartUpError)
{
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    std::string previous = saved != nullptr ? saved : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    std::vector<PlatformResult> reported;
    setSoundErrorReporter(
        [&](ErrorCode code, PlatformResult result, const std::string& detail)
        {
            EXPECT_EQ(code, ERROR_DSOUND);
            EXPECT_NE(detail.find("(line "), std::string::npos);
            EXPECT_NE(detail.find("SoundManagerDSound.cpp)"), std::string::npos);
            reported.push_back(result);
        });
    {
        SoundManagerDSound manager;
        manager.setChannelCount(8);
        EXPECT_EQ(manager.init(), ERROR_DSOUND);
        EXPECT_EQ(manager.getChannel(1)->play("x.wav", -1, false, false), ERROR_DSOUND);
    }
    setSoundErrorReporter(nullptr);
    EXPECT_EQ(reported, std::vector<PlatformResult>{kAudioNoDriver});
    if (saved != nullptr)
        setenv("SDL_AUDIODRIVER", previous.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
}

TEST(SoundManagerDSoundStartUp, TheNoDeviceBoxNamesThePlaceOfTheFailure)
{
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    std::string previous = saved != nullptr ? saved : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    ScopedMessageCapture messages;
    {
        SoundManagerDSound manager;
        EXPECT_EQ(manager.init(), ERROR_DSOUND);
    }
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].kind, MessageKind::Error);
    EXPECT_NE(messages.messages()[0].text.find("(line "), std::string::npos);
    EXPECT_NE(messages.messages()[0].text.find("SoundManagerDSound.cpp)"), std::string::npos);
    if (saved != nullptr)
        setenv("SDL_AUDIODRIVER", previous.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
}

TEST(SoundManagerDSoundStartUp, KindOneIsThisManager)
{
    SoundManagerDSound::registerKind();
    std::unique_ptr<SoundManager> manager = createSoundManager(1);
    EXPECT_NE(dynamic_cast<SoundManagerDSound*>(manager.get()), nullptr);
    EXPECT_EQ(manager->getCapability(), 1u);
}
