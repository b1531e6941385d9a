// Checks the generated sounds under data/sons: every name the game looks
// up is there, and each opens with the game's wave reader as 16-bit PCM at
// 22050 Hz, whole, audible and unclipped.
#include "Platform/System/Paths.h"
#include "Sound/WaveSoundReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

namespace
{
const std::string kData = VELMORIQUE_DATA_DIR;
const char* const kEffects[8] = {"erreur", "selectOption", "clicBouton", "clicMenu",
                                 "intro",  "select pion",  "gagne",      "perdu"};
const char* const kAnimals[8] = {"rat", "chat", "loup", "chien", "panthere", "tigre", "lion", "elephant"};
const char* const kActions[3] = {"bouge", "attaque", "meurt"};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> allSounds()
{
    std::vector<std::string> names;
    for (const char* effect : kEffects)
        names.push_back(std::string("sons/") + effect + ".wav");
    for (const char* animal : kAnimals)
        for (const char* action : kActions)
            names.push_back(std::string("sons/animaux/") + animal + " - " + action + ".wav");
    return names;
}

uint32_t u32(const std::string& b, size_t at)
{
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
           static_cast<uint8_t>(b[at + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

struct Wave
{
    Platform::WaveFormat format;
    std::vector<int16_t> samples;
};

// Opens the file with the game's wave reader and reads all its PCM data.
// The reader clamps sizes to the bytes present, so the RIFF size is
// compared with the file here as well: the file must be whole.
std::string decode(const std::string& relative, Wave& w)
{
    std::string path = kData + "/" + relative;
    std::string bytes = readFile(path);
    if (bytes.size() < 12 || u32(bytes, 4) != bytes.size() - 8)
        return "RIFF size differs from the file";
    WaveSoundReader reader;
    if (reader.open(path.c_str(), nullptr, SoundFileReader::kModeRead) != Platform::kAudioOk)
        return "the wave reader refuses it";
    if (!reader.format())
        return "no format";
    w.format = *reader.format();
    std::vector<uint8_t> data(reader.size());
    uint32_t got = 0;
    if (reader.read(data.data(), static_cast<uint32_t>(data.size()), &got) != Platform::kAudioOk ||
        got != data.size())
        return "short read";
    reader.close();
    if (w.format.blockAlign == 0 || data.size() % w.format.blockAlign != 0)
        return "data not a whole number of frames";
    w.samples.resize(data.size() / 2);
    std::memcpy(w.samples.data(), data.data(), w.samples.size() * 2);
    return "";
}
} // namespace

TEST(SoundFiles, EveryNamedSoundIsSixteenBitPcmAt22050HzAndAudible)
{
    for (const std::string& name : allSounds())
    {
        SCOPED_TRACE(name);
        Wave w;
        ASSERT_EQ(decode(name, w), "");
        EXPECT_EQ(w.format.formatTag, Platform::kWaveFormatPcm);
        EXPECT_EQ(w.format.samplesPerSec, 22050u);
        EXPECT_EQ(w.format.bitsPerSample, 16);
        EXPECT_TRUE(w.format.channels == 1 || w.format.channels == 2);
        EXPECT_EQ(w.format.blockAlign, w.format.channels * 2);
        EXPECT_EQ(w.format.avgBytesPerSec, w.format.samplesPerSec * w.format.blockAlign);
        int peak = 0;
        size_t fullScale = 0;
        for (int16_t s : w.samples)
        {
            peak = std::max(peak, std::abs(static_cast<int>(s)));
            fullScale += s == 32767 || s == -32768 || s == -32767;
        }
        EXPECT_GT(peak, 8000) << "too quiet";
        EXPECT_EQ(fullScale, 0u) << "clipped";
    }
}

TEST(SoundFiles, MenuMusicLastsMinutesChangesAsItGoesAndEndsInSilence)
{
    // The menus play it once: a player lingering there must not hear it end
    // soon, nor hear one short phrase go round; it ends, and starts again if
    // ever restarted, without a click.
    Wave music;
    ASSERT_EQ(decode("sons/intro.wav", music), "");
    const size_t channels = music.format.channels;
    const size_t frames = music.samples.size() / channels;
    EXPECT_GE(frames, 180u * 22050u) << "shorter than three minutes";
    EXPECT_LE(readFile(kData + "/sons/intro.wav").size(), 12u << 20) << "too large for a menu track";
    auto level = [&](size_t frame)
    {
        int peak = 0;
        for (size_t c = 0; c < channels; ++c)
            peak = std::max(peak, std::abs(static_cast<int>(music.samples[frame * channels + c])));
        return peak;
    };
    EXPECT_EQ(level(0), 0);
    EXPECT_EQ(level(frames - 1), 0);
    for (size_t f = frames - 22050 / 4; f < frames; ++f)
        ASSERT_LT(level(f), 100) << "the last quarter second is not silence";
    // Each 32-second stretch differs from the one before it: no loop.
    const size_t stretch = 32 * 22050;
    for (size_t start = stretch; start + stretch <= frames; start += stretch)
    {
        double same = 0, apart = 0;
        for (size_t f = 0; f < stretch; ++f)
            for (size_t c = 0; c < channels; ++c)
            {
                double a = music.samples[(start - stretch + f) * channels + c];
                double b = music.samples[(start + f) * channels + c];
                same += a * a + b * b;
                apart += (a - b) * (a - b);
            }
        EXPECT_GT(apart / same, 0.5) << "the stretch at " << start / 22050 << " s repeats the one before";
    }
}

TEST(SoundFiles, AnimalSoundsFitAMove)
{
    for (const char* animal : kAnimals)
        for (const char* action : kActions)
        {
            Wave w;
            std::string name = std::string("sons/animaux/") + animal + " - " + action + ".wav";
            ASSERT_EQ(decode(name, w), "") << name;
            float seconds = static_cast<float>(w.samples.size()) / w.format.channels / 22050;
            EXPECT_GT(seconds, 0.2f) << name;
            EXPECT_LT(seconds, 2.5f) << name;
        }
}

TEST(SoundFiles, NoTwoAnimalSoundsAreTheSame)
{
    std::set<std::string> seen;
    for (const char* animal : kAnimals)
        for (const char* action : kActions)
        {
            Wave w;
            std::string name = std::string("sons/animaux/") + animal + " - " + action + ".wav";
            ASSERT_EQ(decode(name, w), "") << name;
            std::string samples(reinterpret_cast<const char*>(w.samples.data()), w.samples.size() * 2);
            EXPECT_TRUE(seen.insert(samples).second) << name;
        }
}

TEST(SoundGenerator, WritesTheSameBytesEveryTime)
{
    Platform::TemporaryDirectory scratch;
    std::string command = std::string("\"") + SOUND_GENERATOR + "\" \"" + scratch.path() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const std::string& name : allSounds())
        EXPECT_TRUE(readFile(scratch.path() + name) == readFile(kData + "/" + name)) << name;
}
