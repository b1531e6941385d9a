#include "OggEncoder.h"
#include "WaveBuilder.h"

#include "Framework/FileLookup.h"
#include "Platform/System/Paths.h"
#include "Sound/OggSoundReader.h"
#include "Sound/SoundFileReader.h"
#include "Sound/WaveSoundReader.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>

using namespace Platform;

namespace
{
// Installs an archive reader for the test's lifetime.
struct ScopedArchive
{
    explicit ScopedArchive(SoundArchiveReader reader) { setSoundArchiveReader(std::move(reader)); }
    ~ScopedArchive() { setSoundArchiveReader(nullptr); }
};

struct ProgramFolder
{
    ProgramFolder()
    {
        previous = programDirectory();
        setProgramDirectory(dir.path());
        std::filesystem::create_directories(dir.path() + "data/sons");
    }
    ~ProgramFolder() { setProgramDirectory(previous); }
    TemporaryDirectory dir;
    std::string previous;
};
} // namespace

TEST(SoundFileReader, TheExtensionPicksTheReaderExactly)
{
    EXPECT_NE(dynamic_cast<OggSoundReader*>(SoundFileReader::create("data\\sons\\theme.ogg").get()), nullptr);
    EXPECT_NE(dynamic_cast<WaveSoundReader*>(SoundFileReader::create("data\\sons\\theme.OGG").get()),
              nullptr);
    EXPECT_NE(dynamic_cast<WaveSoundReader*>(SoundFileReader::create("theme.ogg.wav").get()), nullptr);
    EXPECT_NE(dynamic_cast<WaveSoundReader*>(SoundFileReader::create("ogg").get()), nullptr);
}

TEST(SoundFileReader, TheArchiveComesBeforeTheDisk)
{
    ProgramFolder folder;
    TestWave::Recipe onDisk;
    onDisk.data = TestWave::samples16({1, 2, 3});
    TestWave::writeFile(folder.dir.path() + "data/sons/clic.wav", TestWave::build(onDisk));

    // Not in the archive: read below the program's folder.
    auto reader = SoundFileReader::create("data\\sons\\clic.wav");
    ASSERT_EQ(reader->openByName("data\\sons\\clic.wav", nullptr, SoundFileReader::kModeRead), kAudioOk);
    EXPECT_EQ(reader->size(), 6u);

    TestWave::Recipe archived;
    archived.data = TestWave::samples16({9, 9, 9, 9, 9});
    std::vector<uint8_t> archivedBytes = TestWave::build(archived);
    std::string asked;
    ScopedArchive archive(
        [&](const std::string& name, std::unique_ptr<ByteBuffer>& bytes)
        {
            asked = name;
            if (name == "data\\sons\\missing.wav")
                return ERROR_FILENOTFOUND;
            bytes = std::make_unique<ByteBuffer>(archivedBytes.data(),
                                                 static_cast<uint32_t>(archivedBytes.size()));
            return ERROR_OK;
        });
    reader = SoundFileReader::create("data\\sons\\clic.wav");
    ASSERT_EQ(reader->openByName("data\\sons\\clic.wav", nullptr, SoundFileReader::kModeRead), kAudioOk);
    EXPECT_EQ(asked, "data\\sons\\clic.wav");
    EXPECT_EQ(reader->size(), 10u);
    // The reader owns the archive's bytes: it reads them after the lookup is gone.
    archivedBytes.assign(archivedBytes.size(), 0);
    std::vector<uint8_t> out(10);
    uint32_t got = 0;
    ASSERT_EQ(reader->read(out.data(), 10, &got), kAudioOk);
    EXPECT_EQ(out, archived.data);

    // A failing archive is a failure, not a fall-back to the disk.
    reader = SoundFileReader::create("data\\sons\\missing.wav");
    EXPECT_EQ(reader->openByName("data\\sons\\missing.wav", nullptr, 1), kAudioFailed);

    // An Ogg file found in the archive cannot be read from memory.
    reader = SoundFileReader::create("data\\sons\\theme.ogg");
    EXPECT_EQ(reader->openByName("data\\sons\\theme.ogg", nullptr, 1), kAudioNotImplemented);
}

TEST(SoundFileReader, TheApplicationsArchivesAreSearchedByDefault)
{
    ProgramFolder folder;
    TestWave::Recipe archived;
    archived.data = TestWave::samples16({7, 7, 7, 7});
    std::filesystem::create_directories(folder.dir.path() + "pack/sons");
    TestWave::writeFile(folder.dir.path() + "pack/sons/clic.wav", TestWave::build(archived));
    ASSERT_EQ(buildResourceArchive(folder.dir.path() + "data/Ressources.dat", folder.dir.path() + "pack",
                                   "data\\Ressources"),
              ERROR_OK);
    FileLookup lookup;
    auto archive = std::make_unique<ResourceArchive>();
    ASSERT_EQ(archive->open("data\\Ressources.dat"), ERROR_OK);
    lookup.addArchive(std::move(archive));
    setActiveFileLookup(&lookup);

    auto reader = SoundFileReader::create("data\\Ressources\\sons\\clic.wav");
    EXPECT_EQ(reader->openByName("data\\Ressources\\sons\\clic.wav", nullptr, 1), kAudioOk);
    EXPECT_EQ(reader->size(), 8u);
    // Covered by the archive but not in it: archive-only lookups fail.
    EXPECT_EQ(reader->openByName("data\\Ressources\\sons\\autre.wav", nullptr, 1), kAudioFailed);
    setActiveFileLookup(nullptr);
}

TEST(SoundFileReader, DrivePathsAreOpenedAsGiven)
{
    ProgramFolder folder;
    TemporaryDirectory elsewhere;
    TestWave::Recipe recipe;
    recipe.data = TestWave::samples16({4, 4});
    TestWave::writeFile(elsewhere.path() + "far.wav", TestWave::build(recipe));
    auto reader = SoundFileReader::create("far.wav");
    std::string drivePath = "C:" + elsewhere.path() + "far.wav";
    ASSERT_EQ(reader->openByName(drivePath, nullptr, 1), kAudioOk);
    EXPECT_EQ(reader->size(), 4u);
    EXPECT_EQ(reader->openByName("data\\sons\\absent.wav", nullptr, 1), kAudioFailed);
}

TEST(OggSoundReader, DecodesAStereoFileToSixteenBitPcm)
{
    TemporaryDirectory dir;
    std::string path = dir.path() + "tone.ogg";
    const long frames = 11025;
    ASSERT_TRUE(TestOgg::encodeTone(path, 2, 22050, frames));

    OggSoundReader reader;
    ASSERT_EQ(reader.open(path.c_str(), nullptr, SoundFileReader::kModeRead), kAudioOk);
    const WaveFormat* format = reader.format();
    ASSERT_NE(format, nullptr);
    const WaveFormat pcm = makePcmFormat(2, 22050, 16);
    EXPECT_EQ(std::tie(format->formatTag, format->channels, format->bitsPerSample, format->blockAlign,
                       format->avgBytesPerSec),
              std::tie(pcm.formatTag, pcm.channels, pcm.bitsPerSample, pcm.blockAlign, pcm.avgBytesPerSec));
    EXPECT_EQ(reader.size(), static_cast<uint32_t>(frames * 4));

    std::vector<uint8_t> first(reader.size() + 100);
    uint32_t got = 0;
    ASSERT_EQ(reader.read(first.data(), static_cast<uint32_t>(first.size()), &got), kAudioOk);
    EXPECT_EQ(got, reader.size());
    first.resize(got);
    // Not silence: the tone came through.
    int16_t peak = 0;
    for (size_t i = 0; i + 1 < first.size(); i += 2)
        peak = std::max<int16_t>(peak, static_cast<int16_t>(first[i] | (first[i + 1] << 8)));
    EXPECT_GT(peak, 8000);

    ASSERT_EQ(reader.reset(), kAudioOk);
    std::vector<uint8_t> second(got);
    ASSERT_EQ(reader.read(second.data(), got, &got), kAudioOk);
    EXPECT_EQ(second, first);
    ASSERT_EQ(reader.read(second.data(), 4, &got), kAudioOk);
    EXPECT_EQ(got, 0u);
    // Missing arguments are refused; a closed reader reads nothing and has no size.
    EXPECT_NE(reader.read(nullptr, 4, &got), kAudioOk);
    EXPECT_NE(reader.read(second.data(), 4, nullptr), kAudioOk);
    ASSERT_EQ(reader.close(), kAudioOk);
    EXPECT_EQ(reader.size(), 0u);
    got = 7;
    EXPECT_EQ(reader.read(second.data(), 4, &got), kAudioNotInitialised);
    EXPECT_EQ(got, 0u);
}

TEST(OggSoundReader, FilesThatAreNotOggVorbisFail)
{
    TemporaryDirectory dir;
    std::string path = dir.path() + "fake.ogg";
    TestWave::writeFile(path, TestWave::build({}));
    OggSoundReader reader;
    EXPECT_EQ(reader.open(path.c_str(), nullptr, 1), kAudioFailed);
    EXPECT_EQ(reader.open((dir.path() + "none.ogg").c_str(), nullptr, 1), kAudioFailed);
    EXPECT_EQ(reader.format(), nullptr);

    // A stream cut before its last page still has a known length.
    std::string tone = dir.path() + "tone.ogg";
    ASSERT_TRUE(TestOgg::encodeTone(tone, 1, 11025, 20000));
    std::filesystem::resize_file(tone, std::filesystem::file_size(tone) / 2);
    if (reader.open(tone.c_str(), nullptr, 1) == kAudioOk)
    {
        std::vector<uint8_t> all(reader.size() + 4096);
        uint32_t got = 0;
        EXPECT_EQ(reader.read(all.data(), static_cast<uint32_t>(all.size()), &got), kAudioOk);
        EXPECT_LE(got, reader.size() + 4096);
    }
    uint32_t written = 0;
    EXPECT_EQ(reader.write(nullptr, 0, &written), kAudioNotImplemented);
}

TEST(OggSoundReader, AStreamWhoseLengthCannotBeKnownFailsToOpen)
{
    // Through a pipe the stream cannot be searched for its last page, so its
    // length is unknown: a buffer could not be sized from it.
    TemporaryDirectory dir;
    std::string tone = dir.path() + "tone.ogg";
    ASSERT_TRUE(TestOgg::encodeTone(tone, 1, 11025, 2000));
    std::ifstream in(tone, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_LT(bytes.size(), 16384u); // fits in the pipe: the writer never waits on the reader
    std::string pipePath = dir.path() + "pipe.ogg";
    ASSERT_EQ(::mkfifo(pipePath.c_str(), 0600), 0);
    std::thread writer(
        [&]
        {
            int fd = ::open(pipePath.c_str(), O_WRONLY);
            if (fd < 0)
                return;
            ssize_t written = ::write(fd, bytes.data(), bytes.size());
            (void)written;
            ::close(fd);
        });
    OggSoundReader reader;
    EXPECT_EQ(reader.open(pipePath.c_str(), nullptr, 1), kAudioFailed);
    EXPECT_EQ(reader.format(), nullptr);
    writer.join();
}
