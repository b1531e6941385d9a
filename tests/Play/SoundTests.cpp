// What the player hears: the menu's video beside its music, recorded
// through SDL's disk audio driver, and the error sound the program carries
// itself.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Engine2DD3D/VideoVMR9Texture.h"
#include "Gui/Dialog.h"
#include "Gui/TextButton.h"
#include "Gui/TextField.h"
#include "Platform/Audio/AudioDevice.h"
#include "SoundManagerDSound/SoundChannelDSound.h"
#include "SoundManagerDSound/SoundManagerDSound.h"
#include "Tarnaveli/MenuVideoWindow.h"
#include "Tarnaveli/WindowAskTutorial.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowNewGameMulti.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace Play;

namespace
{

// The program's sound goes into a file, in real time, for the test's life.
class DiskAudio
{
public:
    explicit DiskAudio(const std::string& path) : mPath(path)
    {
        const char* driver = std::getenv("SDL_AUDIODRIVER");
        mPrevious = driver != nullptr ? driver : "";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    }
    ~DiskAudio()
    {
        if (mPrevious.empty())
            unsetenv("SDL_AUDIODRIVER");
        else
            setenv("SDL_AUDIODRIVER", mPrevious.c_str(), 1);
        unsetenv("SDL_DISKAUDIOFILE");
    }
    // Interleaved stereo samples recorded so far.
    std::vector<int16_t> samples() const
    {
        std::ifstream in(mPath, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<int16_t> out(bytes.size() / 4 * 2);
        std::memcpy(out.data(), bytes.data(), out.size() * 2);
        return out;
    }

private:
    std::string mPath;
    std::string mPrevious;
};

// The mono samples of a 16-bit WAVE file as the generator writes it.
std::vector<int16_t> waveSamples(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 44)
        return {};
    std::vector<int16_t> out((bytes.size() - 44) / 2);
    std::memcpy(out.data(), bytes.data() + 44, out.size() * 2);
    return out;
}

// Frames stepped at the pace of real time, so that the pictures' clock and
// the sound's keep together.
void playFor(Driver& driver, int ms)
{
    for (int elapsed = 0; elapsed < ms && driver.running(); elapsed += 20)
    {
        driver.step(20);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace

TEST(PlaySound, TheMenuVideoPlaysBesideOneUnbrokenMusicStream)
{
    SKIP_WITHOUT_DISPLAY();
    Platform::TemporaryDirectory scratch;
    DiskAudio disk(scratch.path() + "mix.raw");
    Driver driver;
    PngOnFailure png(driver);
    ASSERT_NE(reachMainMenu(driver), nullptr);
    auto* sound = dynamic_cast<SoundManagerDSound*>(driver.game().getSoundManager());
    ASSERT_NE(sound, nullptr);
    ASSERT_NE(MenuVideoWindow::current(), nullptr);
    auto* video = dynamic_cast<VideoVMR9Texture*>(MenuVideoWindow::current()->getVideo());
    ASSERT_NE(video, nullptr);
    // The start-up handed the effects' mixer and level to the videos.
    ASSERT_NE(sound->getSharedAudioDevice(), nullptr);
    EXPECT_EQ(VideoVMR9Texture::audioDevice(), sound->getSharedAudioDevice());
    EXPECT_EQ(EngineComponent::soundLevel(), sound->getGroup(SoundManager::EFFECTS_GROUP).level);
    EXPECT_EQ(video->getVolume(),
              SoundManager::volumeToLevel(SoundManager::levelToVolume(
                  static_cast<int32_t>(sound->getGroup(SoundManager::EFFECTS_GROUP).level))));
    // The shipped video is pictures only; the menu music is its own file.
    EXPECT_FALSE(video->hasSoundTrack());
    ASSERT_TRUE(sound->getChannel(0)->isPlaying());

    const uint64_t framesBefore = video->framesRendered();
    playFor(driver, 2500);
    EXPECT_EQ(video->getState(), 1u);
    EXPECT_GT(video->framesRendered(), framesBefore + 10);
    ASSERT_TRUE(sound->getChannel(0)->isPlaying());
    // One stream in the mixer: the music.
    EXPECT_EQ(sound->getAudioDevice().playingBufferCount(), 1u);

    // The last two seconds recorded are the music file's samples at the
    // music level, one copy, every sample in its place: a gap would shift
    // them, a second stream would add to them.
    const std::vector<int16_t> music = waveSamples(driver.dataPath("sons/intro.wav"));
    ASSERT_GT(music.size(), 22050u * 10);
    const double gain = Platform::volumeToGain(SoundManager::levelToVolume(178));
    const std::vector<int16_t> recorded = disk.samples();
    const size_t frames = recorded.size() / 2;
    const size_t span = 22050 * 2;
    ASSERT_GT(frames, span + 22050u);
    const size_t start = frames - span;
    uint32_t played = 0;
    ASSERT_EQ(sound->getChannel(0)->getPosition(played), 0u);
    auto heardAt = [&](size_t frame, size_t musicFrame)
    {
        const long wanted = std::lrint(music[musicFrame] * gain);
        return std::labs(recorded[2 * frame] - wanted) <= 1 &&
               std::labs(recorded[2 * frame + 1] - wanted) <= 1;
    };
    // Where the music stood when the span began: found near what the channel
    // reports, by the first 2000 frames matching. The music is streamed: the
    // channel reports the cursor in its ring buffer, which the music passes
    // through again and again.
    auto* channel = dynamic_cast<SoundChannelDSound*>(sound->getChannel(0));
    ASSERT_TRUE(channel != nullptr && channel->getSound() != nullptr);
    EXPECT_TRUE(channel->getSound()->isStreaming());
    const long ring =
        static_cast<long>(channel->getSound()->getBufferSize() / channel->getSound()->getBlockAlign());
    ASSERT_GT(ring, 0);
    long offset = -1;
    const long estimate = static_cast<long>(played) - static_cast<long>(frames - start);
    const long last = static_cast<long>(music.size()) - static_cast<long>(span);
    for (long turn = estimate; turn - 22050 <= last && offset < 0; turn += ring)
        for (long candidate = std::max(0L, turn - 22050);
             candidate < turn + 22050 && candidate <= last && offset < 0; ++candidate)
        {
            bool all = true;
            for (size_t i = 0; i < 2000 && all; ++i)
                all = heardAt(start + i, static_cast<size_t>(candidate) + i);
            if (all)
                offset = candidate;
        }
    ASSERT_GE(offset, 0) << "the recording's end is not the music (position " << played << ")";
    size_t wrong = 0;
    for (size_t i = 0; i < span; ++i)
        wrong += heardAt(start + i, static_cast<size_t>(offset) + i) ? 0 : 1;
    EXPECT_EQ(wrong, 0u) << "of " << span << " frames";
}

TEST(PlaySound, AnErrorBoxSoundsWithTheProgramsOwnSoundWhenTheDataLacksIt)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    const std::string file = driver.dataPath("sons/erreur.wav");
    const std::vector<int16_t> shipped = waveSamples(file);
    ASSERT_FALSE(shipped.empty());
    std::filesystem::remove(file);

    // The network menu with no nickname: joining is refused with an error box.
    ASSERT_TRUE(openMainMenuEntry(driver, WindowMenu::MULTI));
    if (driver.layer<WindowAskTutorial>() != nullptr)
    {
        ASSERT_TRUE(clickText(driver, "Non"));
    }
    driver.settle(20);
    auto* menu = driver.layer<WindowNewGameMulti>();
    ASSERT_NE(menu, nullptr);
    TextField* field = menu->getNicknameField();
    ASSERT_NE(field, nullptr);
    driver.click(field);
    for (size_t i = field->getText().size(); i > 0; --i)
    {
        driver.pressKey(SDL_SCANCODE_END, SDLK_END);
        driver.pressKey(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE);
    }
    ASSERT_TRUE(field->getText().empty());
    driver.click(menu->getEntry(WindowNewGameMulti::JOIN));
    ASSERT_TRUE(driver.waitFor([&] { return driver.layer<MessageDialog>() != nullptr; }, 50));

    auto* sound = dynamic_cast<SoundManagerDSound*>(driver.game().getSoundManager());
    ASSERT_NE(sound, nullptr);
    StaticSound* error = sound->getLoadedSound(1);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->getReader()->size(), shipped.size() * 2);
    for (const auto& box : driver.messageBoxes())
        EXPECT_EQ(box.text.find("Impossible de charger le son"), std::string::npos) << box.text;
}

TEST(PlaySound, WithoutASoundCardTheStartStopsWithTheGamesOwnWords)
{
    SKIP_WITHOUT_DISPLAY();
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    const std::string previous = saved != nullptr ? saved : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    ErrorCode code = 0;
    std::vector<Platform::RecordingMessageSink::Message> boxes;
    {
        Driver driver;
        code = driver.start();
        boxes = driver.messageBoxes();
    }
    if (saved != nullptr)
        setenv("SDL_AUDIODRIVER", previous.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");

    EXPECT_EQ(code, ERROR_DSOUND);
    // The sound layer's box: the no-sound-card text and where it failed.
    ASSERT_FALSE(boxes.empty());
    const std::string& text = boxes[0].text;
    EXPECT_EQ(text.find(cp1252("Impossible de lancer l'application car vous ne disposez pas de carte son")),
              0u)
        << text;
    EXPECT_NE(text.find("(line "), std::string::npos) << text;
    EXPECT_NE(text.find(" in file Sources\\SoundManagerDSound\\SoundManagerDSound.cpp)"), std::string::npos)
        << text;
    EXPECT_EQ(boxes[0].kind, Platform::MessageKind::Error);
    // Then the start-up's own box with the code's text.
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[1].text.find("Erreur DirectSound"), std::string::npos) << boxes[1].text;
    EXPECT_NE(boxes[1].text.find("(ERROR_DSOUND)"), std::string::npos) << boxes[1].text;
}
