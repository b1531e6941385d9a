#include "FakeResource.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/LangTable.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Resource, EachConstructorSetsItsSourceAndJoinsTheList)
{
    ResourceList list;
    auto* file = new FakeResource(&list, std::string("a.png"), 0x0333);
    auto* id = new FakeResource(&list, 42u, 0x0203);
    uint8_t pixels[4] = {};
    auto* memory = new FakeResource(&list, 2, 2, pixels, 0x0108, 0x80112233);
    auto* blank = new FakeResource(&list, 8, 4, 0x1000);
    EXPECT_EQ(file->getSource(), Resource::SOURCE_FILE);
    EXPECT_EQ(file->getFlags(), 0x0033);
    EXPECT_EQ(file->getName(), "a.png");
    EXPECT_EQ(id->getSource(), Resource::SOURCE_RESOURCE);
    EXPECT_EQ(id->getResourceId(), 42u);
    EXPECT_EQ(memory->getFlags(), 0x0208);
    EXPECT_EQ(memory->getParam(), 0x80112233u);
    EXPECT_EQ(memory->getPixels(), pixels);
    EXPECT_EQ(blank->getFlags(), 0x1300);
    EXPECT_EQ(blank->getParam(), 0xFFFFFFFFu);
    EXPECT_EQ(blank->getWidth(), 8u);
    for (Resource* resource : {static_cast<Resource*>(file), static_cast<Resource*>(id),
                               static_cast<Resource*>(memory), static_cast<Resource*>(blank)})
    {
        EXPECT_EQ(resource->getRefCount(), 1);
        EXPECT_EQ(resource->getLoadCount(), 0);
    }
    EXPECT_EQ(list, (ResourceList{file, id, memory, blank}));
    id->release();
    EXPECT_EQ(list, (ResourceList{file, memory, blank}));
    file->release();
    memory->release();
    blank->release();
    EXPECT_TRUE(list.empty());
}

TEST(Resource, LastReleaseDestroysAndNotBefore)
{
    bool destroyed = false;
    auto* resource = new FakeResource(nullptr, std::string("a.png"), 0);
    resource->destroyed = &destroyed;
    resource->addRef();
    resource->release();
    EXPECT_FALSE(destroyed);
    resource->release();
    EXPECT_TRUE(destroyed);
}

TEST(Resource, DataLivesFromFirstLoadToLastUnload)
{
    FakeResource resource(nullptr, 4, 4, 0);
    EXPECT_EQ(resource.load(), 0u);
    EXPECT_EQ(resource.load(), 0u);
    EXPECT_EQ(resource.loads, 1);
    EXPECT_EQ(resource.getLoadCount(), 2);
    EXPECT_EQ(resource.unload(), 0u);
    EXPECT_TRUE(resource.isCreated());
    EXPECT_EQ(resource.unloads, 0);
    resource.unloadCode = 9;
    EXPECT_EQ(resource.unload(), 9u);
    EXPECT_FALSE(resource.isCreated());
    EXPECT_EQ(resource.unloads, 1);
    // One unload too many neither unloads again nor counts below zero.
    EXPECT_EQ(resource.unload(), ERROR_INVALID);
    EXPECT_EQ(resource.getLoadCount(), 0);
    EXPECT_EQ(resource.unloads, 1);
}

TEST(Resource, FailedLoadNamesTheFileOrResourceIdAndCountsNothing)
{
    Platform::ScopedMessageCapture capture;
    FakeResource file(nullptr, std::string("data\\x.png"), 0);
    file.failLoad = ERROR_FILENOTFOUND;
    EXPECT_EQ(file.load(), ERROR_FILENOTFOUND);
    EXPECT_EQ(file.getLoadCount(), 0);
    FakeResource id(nullptr, 77u, 0);
    id.failLoad = ERROR_RESSOURCENOTFOUND;
    EXPECT_EQ(id.load(), ERROR_RESSOURCENOTFOUND);
    FakeResource blank(nullptr, 2, 2, 0);
    blank.failLoad = ERROR_D3D;
    EXPECT_EQ(blank.load(), ERROR_D3D);
    // Without an application the language table is missing: the fallback
    // text, whatever the source; what matters is that each failure is shown.
    ASSERT_EQ(capture.messages().size(), 3u);
}

TEST(Resource, FillRectWritesOnlyInsideTheSurface)
{
    FakeResource resource(nullptr, 3, 3, 0);
    resource.setSurface(4, 4, Resource::PIXEL_KIND_A8R8G8B8);
    ASSERT_EQ(resource.load(), 0u);
    EXPECT_EQ(resource.fillRect(0xFF112233, {1, 2, 10, 10}), 0u);
    auto texel = [&](int x, int y)
    {
        uint32_t value;
        std::memcpy(&value, resource.texels.data() + (y * 4 + x) * 4, 4);
        return value;
    };
    EXPECT_EQ(texel(0, 2), 0u);
    EXPECT_EQ(texel(1, 2), 0xFF112233u);
    EXPECT_EQ(texel(3, 3), 0xFF112233u);
    EXPECT_EQ(texel(3, 1), 0u);
    EXPECT_EQ(resource.locks, resource.unlocks);
    // An empty rectangle, or one wholly outside, writes nothing.
    EXPECT_EQ(resource.fillRect(0xFFFFFFFF, {0, 0, 0, 4}), 0u);
    EXPECT_EQ(resource.fillRect(0xFFFFFFFF, {9, 9, 4, 4}), 0u);
    EXPECT_EQ(texel(0, 0), 0u);
}

TEST(Resource, FillAllChoosesImageOrSurface)
{
    FakeResource resource(nullptr, 3, 3, 0);
    resource.setSurface(4, 4, Resource::PIXEL_KIND_X8R8G8B8);
    ASSERT_EQ(resource.load(), 0u);
    EXPECT_EQ(resource.fillAll(0xFFFFFFFF, false), 0u);
    EXPECT_EQ(resource.texels[(2 * 4 + 2) * 4], 0xFF);
    EXPECT_EQ(resource.texels[(3 * 4 + 3) * 4], 0x00);
    EXPECT_EQ(resource.fillAll(0xFFFFFFFF, true), 0u);
    EXPECT_EQ(resource.texels[(3 * 4 + 3) * 4], 0xFF);
}

TEST(Resource, FillRectConvertsTo16BitTexels)
{
    FakeResource resource(nullptr, 3, 1, 0);
    resource.setSurface(3, 1, Resource::PIXEL_KIND_A1R5G5B5);
    ASSERT_EQ(resource.load(), 0u);
    EXPECT_EQ(resource.fillRect(0x80F80818, {0, 0, 3, 1}), 0u);
    for (int x = 0; x < 3; ++x)
    {
        uint16_t value;
        std::memcpy(&value, resource.texels.data() + x * 2, 2);
        EXPECT_EQ(value, 0x8000 | (0x1F << 10) | (0x01 << 5) | 0x03) << x;
    }
}

TEST(Resource, FillRectOnAnUnknownLayoutStillUnlocks)
{
    FakeResource resource(nullptr, 2, 2, 0);
    resource.setSurface(2, 2, 7);
    ASSERT_EQ(resource.load(), 0u);
    EXPECT_EQ(resource.fillAll(0xFFFFFFFF, true), ERROR_INVALID);
    EXPECT_EQ(resource.locks, 1);
    EXPECT_EQ(resource.unlocks, 1);
}

TEST(Resource, DetachedResourceLeavesTheListAndOutlivesIt)
{
    auto list = std::make_unique<ResourceList>();
    auto* resource = new FakeResource(list.get(), 2, 2, 0);
    resource->detachFromList();
    EXPECT_TRUE(list->empty());
    list.reset();
    resource->release();
}

namespace
{
class QuietApplication final : public ApplicationGeneric
{
public:
    using ApplicationGeneric::ApplicationGeneric;
    void createFirstWindow() override {}
};
} // namespace

// While the program runs, a texture that cannot be loaded ends it after a
// message naming the file or the resource id.
TEST(ResourceDeathTest, FailedFirstLoadEndsTheApplicationWithTheSourceInTheMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto failingLoad = [](bool byId)
    {
        Platform::TemporaryDirectory folder;
        Platform::setProgramDirectory(folder.path());
        ApplicationSettings settings;
        settings.mLanguageFile = "data\\Ressources\\lang.ini";
        QuietApplication application(settings);
        application.getLangTable()->init();
        FakeResource file(nullptr, std::string("data\\absent.png"), 0);
        FakeResource id(nullptr, 77u, 0);
        FakeResource& resource = byId ? id : file;
        resource.failLoad = ERROR_FILENOTFOUND;
        resource.load();
    };
    EXPECT_EXIT(failingLoad(false), ::testing::ExitedWithCode(255), "charger l'image data.absent\\.png");
    EXPECT_EXIT(failingLoad(true), ::testing::ExitedWithCode(255), "resssource 77\\.");
}
