#include "ImageFixtures.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace ImageFixtures;

namespace
{
// Counts the seeks of a memory file, to see autodetection rewind.
class CountingFile final : public ImageFile
{
public:
    explicit CountingFile(const Bytes& bytes) : mInner(createMemoryImageFile(bytes.data(), bytes.size())) {}
    void destroy() override { delete this; }
    size_t read(void* buffer, size_t size) override { return mInner->read(buffer, size); }
    size_t write(const void* buffer, size_t size) override { return mInner->write(buffer, size); }
    bool seek(int64_t position, int mode) override
    {
        if (position == 0 && mode == 0)
            ++mRewinds;
        return mInner->seek(position, mode);
    }
    int64_t tell() override { return mInner->tell(); }
    int mRewinds = 0;

private:
    ImageFilePtr mInner;
};
} // namespace

TEST(ImageLibrary, AutodetectionFindsEveryFormat)
{
    for (const NamedFixture& fixture : allFixtures())
    {
        DecodedImagePtr detected = decode(fixture.bytes);
        DecodedImagePtr direct = decode(fixture.bytes, fixture.format);
        ASSERT_NE(detected, nullptr) << fixture.name;
        ASSERT_NE(direct, nullptr) << fixture.name;
        EXPECT_EQ(detected->getFormat(), direct->getFormat()) << fixture.name;
        EXPECT_EQ(detected->getWidth(), direct->getWidth()) << fixture.name;
        // Any other reader refuses the file.
        for (const ImageFormatDesc& desc : getReadableImageFormats())
        {
            if (desc.getFormat() != fixture.format)
            {
                EXPECT_EQ(decode(fixture.bytes, desc.getFormat()), nullptr)
                    << fixture.name << " " << desc.getFormat();
            }
        }
    }
}

TEST(ImageLibrary, AutodetectionRewindsBeforeEachReader)
{
    const Bytes bmp = encodeBmp(2, 1, bmpRows(2, 1, 24, pattern(2, 1, 3)), {.bits = 24});
    auto* file = new CountingFile(bmp);
    ImageFilePtr owner(file);
    ASSERT_TRUE(file->seek(5, 0));
    DecodedImagePtr image(openImageFromFile(file, IMAGE_FORMAT_AUTODETECT));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getFormat(), PIXEL_FORMAT_B8G8R8);
    // Once for the call, then once before each of PNG, JPEG, PCX and BMP.
    EXPECT_EQ(file->mRewinds, 1 + 4);
}

TEST(ImageLibrary, RefusesNullFilesAndUnknownFormats)
{
    EXPECT_EQ(openImageFromFile(nullptr, IMAGE_FORMAT_AUTODETECT), nullptr);
    ImageFilePtr file(createMemoryImageFile(allFixtures()[0].bytes.data(), 100));
    EXPECT_EQ(openImageFromFile(file.get(), 0x107), nullptr);
    EXPECT_EQ(openImageFromFile(file.get(), PIXEL_FORMAT_R8G8B8), nullptr);
    EXPECT_EQ(openImageByName("data\\nothing.png", IMAGE_FORMAT_AUTODETECT), nullptr);
    EXPECT_EQ(openImageByName(nullptr, IMAGE_FORMAT_AUTODETECT), nullptr);
}

TEST(ImageLibrary, OpensFilesByTheGamesPath)
{
    Platform::TemporaryDirectory directory;
    Platform::setProgramDirectory(directory.path());
    std::filesystem::create_directories(directory.path() + "data/Ressources/images");
    const Bytes tga = encodeTga(2, 1, 24, 0x20, {1, 2, 3, 4, 5, 6});
    std::ofstream(directory.path() + "data/Ressources/images/fond.tga", std::ios::binary)
        .write(reinterpret_cast<const char*>(tga.data()), static_cast<std::streamsize>(tga.size()));
    DecodedImagePtr image(openImageByName("data\\Ressources\\images\\Fond.TGA", IMAGE_FORMAT_AUTODETECT));
    ASSERT_NE(image, nullptr);
    image.reset(convertImage(image.release(), PIXEL_FORMAT_B8G8R8A8));
    EXPECT_EQ(Bytes(image->getPixels(), image->getPixels() + 8), (Bytes{1, 2, 3, 255, 4, 5, 6, 255}));

    // The one-step loaders give the same pixels, by name and from a file.
    DecodedImagePtr loaded(
        loadImageFile("data\\Ressources\\images\\fond.tga", PIXEL_FORMAT_B8G8R8A8, IMAGE_FORMAT_AUTODETECT));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(Bytes(loaded->getPixels(), loaded->getPixels() + 8), (Bytes{1, 2, 3, 255, 4, 5, 6, 255}));
    ImageFilePtr memory(openMemoryFile(tga.data(), static_cast<int64_t>(tga.size())));
    ASSERT_NE(memory, nullptr);
    DecodedImagePtr fromFile(loadImageFromFile(memory.get(), PIXEL_FORMAT_B8G8R8, IMAGE_FORMAT_AUTODETECT));
    ASSERT_NE(fromFile, nullptr);
    EXPECT_EQ(fromFile->getFormat(), PIXEL_FORMAT_B8G8R8);
    EXPECT_EQ(Bytes(fromFile->getPixels(), fromFile->getPixels() + 6), (Bytes{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(loadImageFile("data\\nothing.png", PIXEL_FORMAT_B8G8R8A8, IMAGE_FORMAT_AUTODETECT), nullptr);
    EXPECT_EQ(openMemoryFile(nullptr, 4), nullptr);
}

// Every prefix of every fixture is refused, by autodetection and by the
// file's own reader; the sanitizer build checks that no prefix reads or
// writes out of bounds on the way.
TEST(ImageLibrary, EveryTruncatedFixtureIsRefused)
{
    for (const NamedFixture& fixture : allFixtures())
    {
        for (size_t length = 0; length < fixture.bytes.size(); ++length)
        {
            const Bytes prefix(fixture.bytes.begin(), fixture.bytes.begin() + static_cast<long>(length));
            ASSERT_EQ(decode(prefix, fixture.format), nullptr) << fixture.name << " cut at " << length;
            ASSERT_EQ(decode(prefix), nullptr) << fixture.name << " cut at " << length;
        }
    }
}
