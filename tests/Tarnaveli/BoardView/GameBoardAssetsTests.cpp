// The scene lights of the game: the build's lights file, or the default light.
#include "Engine/Light.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "Platform/Gpu/RecordingDevice.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/BoardView/GameBoardAssets.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace
{

class GameBoardAssetsTest : public ::testing::Test
{
protected:
    GameBoardAssetsTest()
    {
        Platform::setProgramDirectory(std::string(VELMORIQUE_BUILD_DIR) + "/");
        cache.setDevice(&device);
        engine = std::make_unique<Engine3DD3D>(&device, &cache);
        EXPECT_EQ(engine->init(), 0u);
    }
    ~GameBoardAssetsTest() override { Platform::setProgramDirectory(previousDirectory); }

    std::string previousDirectory = Platform::programDirectory();
    Platform::Gpu::RecordingDevice device;
    RenderStateCache cache;
    std::unique_ptr<Engine3DD3D> engine;
};

TEST_F(GameBoardAssetsTest, SceneLightsAreTheRecordsOfTheBuildsLightsFile)
{
    std::ifstream file(std::string(VELMORIQUE_BUILD_DIR) + "/data/lights.dat", std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 4u);
    uint32_t count = 0;
    std::memcpy(&count, bytes.data(), 4);
    ASSERT_EQ(bytes.size(), 4 + 69 * size_t(count)) << "a whole number of records";

    GameBoardAssets assets(nullptr);
    std::vector<std::unique_ptr<Light>> lights;
    EXPECT_EQ(assets.createLights(*engine, lights), 0u);
    ASSERT_EQ(lights.size(), count);
    uint32_t kind = 0;
    std::memcpy(&kind, bytes.data() + 4, 4);
    EXPECT_EQ(lights[0]->getType(), kind);
    EXPECT_EQ(lights[0]->isEnabled(), bytes[4 + 68] != 0);
}

TEST_F(GameBoardAssetsTest, MissingLightsFileGivesOneDefaultLightAndNoDescriptionNoModels)
{
    GameBoardAssets assets(nullptr, "data\\no such lights.dat");
    std::vector<std::unique_ptr<Light>> lights;
    EXPECT_NE(assets.createLights(*engine, lights), 0u);
    ASSERT_EQ(lights.size(), 1u);
    EXPECT_EQ(lights[0]->getType(), uint32_t(Light::DIRECTIONAL));
    EXPECT_EQ(assets.getBoardModel(), nullptr);
    EXPECT_EQ(assets.selectPieceSet(0), nullptr);
    EXPECT_EQ(assets.getModel(0), nullptr);
}

} // namespace
