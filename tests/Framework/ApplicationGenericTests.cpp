// The application root and the ownership of the service table.
#include "Framework/ApplicationGeneric.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
class TracedService : public AppService
{
public:
    TracedService(uint32_t id, std::vector<uint32_t>& destroyed) : mId(id), mDestroyed(destroyed) {}
    ~TracedService() override { mDestroyed.push_back(mId); }
    ErrorCode init() override { return ERROR_OK; }
    uint32_t getServiceId() override { return mId; }

private:
    uint32_t mId;
    std::vector<uint32_t>& mDestroyed;
};

class BareApplication final : public ApplicationGeneric
{
public:
    using ApplicationGeneric::ApplicationGeneric;
    void createFirstWindow() override {}
};
} // namespace

TEST(ApplicationGeneric, IsTheRootWhileItLives)
{
    ApplicationSettings settings;
    EXPECT_EQ(getApplication(), nullptr);
    {
        BareApplication app(settings);
        EXPECT_EQ(getApplication(), &app);
        EXPECT_EQ(&app.getSettings(), &settings);
        EXPECT_NE(app.getLangTable(), nullptr);
        EXPECT_NE(app.getSoundManager(), nullptr);
        EXPECT_EQ(app.getService(SERVICE_COUNT), nullptr);
    }
    EXPECT_EQ(getApplication(), nullptr);
}

TEST(ApplicationGeneric, SettingsDefaultsAreTheRecordsOwn)
{
    ApplicationSettings settings;
    EXPECT_EQ(settings.mClientWidth, 1024u);
    EXPECT_EQ(settings.mClientHeight, 768u);
    EXPECT_EQ(settings.mImagesFolder, "data\\images\\");
    EXPECT_TRUE(settings.mArchiveOnly);
    EXPECT_FALSE(settings.mPass3DEnabled);
    EXPECT_EQ(settings.mSoundManagerKind, 1u);
}

TEST(ApplicationGeneric, GuiManagerGoesFirstThenTheOthersFromTheLastId)
{
    std::vector<uint32_t> destroyed;
    {
        ApplicationSettings settings;
        BareApplication app(settings);
        for (uint32_t id = 0; id < SERVICE_COUNT; ++id)
            app.setService(std::make_unique<TracedService>(id, destroyed));
        EXPECT_EQ(app.getService(SERVICE_INPUT_MANAGER)->getServiceId(), 7u);
        app.setService(std::make_unique<TracedService>(SERVICE_ENGINE_2D, destroyed));
        EXPECT_EQ(destroyed, (std::vector<uint32_t>{2}));
        destroyed.clear();
    }
    EXPECT_EQ(destroyed, (std::vector<uint32_t>{6, 8, 7, 5, 4, 3, 2, 1, 0}));
}
