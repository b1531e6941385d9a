// Checks the generated sounds under data/sons: every name the game looks
// up is there, and each is a RIFF/WAVE file of 16-bit PCM at 22050 Hz whose
// chunks agree with the bytes present, audible and unclipped.
#include "Platform/System/Paths.h"

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

uint16_t u16(const std::string& b, size_t at)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

struct Wave
{
    uint16_t format = 0, channels = 0, bits = 0, blockAlign = 0;
    uint32_t rate = 0, byteRate = 0;
    std::vector<int16_t> samples;
};

// Walks the chunks, checking each size against the bytes really there.
std::string parseWave(const std::string& b, Wave& w)
{
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0)
        return "not RIFF/WAVE";
    if (u32(b, 4) != b.size() - 8)
        return "RIFF size differs from the file";
    bool haveFormat = false, haveData = false;
    size_t at = 12;
    while (at + 8 <= b.size())
    {
        std::string id = b.substr(at, 4);
        uint32_t size = u32(b, at + 4);
        if (size > b.size() - at - 8)
            return "chunk " + id + " runs past the end";
        if (id == "fmt ")
        {
            if (size < 16)
                return "short fmt chunk";
            w.format = u16(b, at + 8);
            w.channels = u16(b, at + 10);
            w.rate = u32(b, at + 12);
            w.byteRate = u32(b, at + 16);
            w.blockAlign = u16(b, at + 20);
            w.bits = u16(b, at + 22);
            haveFormat = true;
        }
        else if (id == "data")
        {
            if (!haveFormat)
                return "data before fmt";
            if (w.blockAlign == 0 || size % w.blockAlign != 0)
                return "data not a whole number of frames";
            w.samples.resize(size / 2);
            std::memcpy(w.samples.data(), b.data() + at + 8, size / 2 * 2);
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    if (!haveFormat || !haveData)
        return "missing fmt or data chunk";
    return "";
}
} // namespace

TEST(SoundFiles, EveryNamedSoundIsSixteenBitPcmAt22050HzAndAudible)
{
    for (const std::string& name : allSounds())
    {
        SCOPED_TRACE(name);
        std::string bytes = readFile(kData + "/" + name);
        ASSERT_FALSE(bytes.empty()) << "missing";
        Wave w;
        ASSERT_EQ(parseWave(bytes, w), "");
        EXPECT_EQ(w.format, 1);
        EXPECT_EQ(w.rate, 22050u);
        EXPECT_EQ(w.bits, 16);
        EXPECT_TRUE(w.channels == 1 || w.channels == 2);
        EXPECT_EQ(w.blockAlign, w.channels * 2);
        EXPECT_EQ(w.byteRate, w.rate * w.blockAlign);
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

TEST(SoundFiles, MenuMusicLoopsForAtLeastThirtySecondsAndAnimalSoundsFitAMove)
{
    Wave music;
    ASSERT_EQ(parseWave(readFile(kData + "/sons/intro.wav"), music), "");
    EXPECT_GE(music.samples.size() / music.channels, 30u * 22050u);
    for (const char* animal : kAnimals)
        for (const char* action : kActions)
        {
            Wave w;
            std::string name = std::string("sons/animaux/") + animal + " - " + action + ".wav";
            ASSERT_EQ(parseWave(readFile(kData + "/" + name), w), "") << name;
            float seconds = static_cast<float>(w.samples.size()) / w.channels / 22050;
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
            ASSERT_EQ(parseWave(readFile(kData + "/" + name), w), "") << name;
            std::string samples(reinterpret_cast<const char*>(w.samples.data()), w.samples.size() * 2);
            EXPECT_TRUE(seen.insert(samples).second) << name;
        }
}

TEST(SoundFiles, WaveCheckRefusesTruncatedAndMislabelledFiles)
{
    std::string good = readFile(kData + "/sons/clicBouton.wav");
    Wave w;
    ASSERT_EQ(parseWave(good, w), "");
    EXPECT_NE(parseWave(good.substr(0, good.size() - 10), w), "");
    std::string lying = good;
    lying[40] = '\xFF'; // data chunk size far beyond the file
    lying[41] = '\xFF';
    lying[42] = '\xFF';
    EXPECT_NE(parseWave(lying, w), "");
    EXPECT_NE(parseWave("RIFF", w), "");
}

TEST(SoundGenerator, WritesTheSameBytesEveryTime)
{
    Platform::TemporaryDirectory scratch;
    std::string command = std::string("\"") + SOUND_GENERATOR + "\" \"" + scratch.path() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const std::string& name : allSounds())
        EXPECT_TRUE(readFile(scratch.path() + name) == readFile(kData + "/" + name)) << name;
}
