// The game's own description and models through the real 3D engine, on a
// device that only records: what the board view will find once the game has
// loaded.
#include "Tarnaveli/GameDescription/GameDescription.h"

#include "Engine/MeshModel.h"
#include "Engine2DD3D/RenderStateCache.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "FakeEngine.h"
#include "Platform/Gpu/RecordingDevice.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

using namespace GameDescriptionTest;

namespace
{

class GameDescriptionOnDevice : public ::testing::Test
{
protected:
    GameDescriptionOnDevice()
    {
        cache.setDevice(&device);
        engine = std::make_unique<Engine3DD3D>(&device, &cache);
        EXPECT_EQ(engine->init(), ERROR_OK);
        Platform::setProgramDirectory(VELMORIQUE_DATA_DIR "/../");
    }
    ~GameDescriptionOnDevice() override { Platform::setProgramDirectory(mPrevious); }

    std::string mPrevious = Platform::programDirectory();
    Platform::Gpu::RecordingDevice device;
    RenderStateCache cache;
    std::unique_ptr<Engine3DD3D> engine;
    // No 2D engine here: the piece textures are stand-ins.
    TextureStore textures;
    Platform::ScopedMessageCapture messages;
};

} // namespace

TEST_F(GameDescriptionOnDevice, TheBuildsModelsLoadStandingAndCentred)
{
    auto description = std::make_unique<GameDescription>();
    description->setTextureLoader([this](const std::string& name) { return textures.get(name); });
    ASSERT_EQ(description->load(), ERROR_OK);
    EXPECT_TRUE(messages.messages().empty());

    MeshModel* board = description->getBoardModel();
    ASSERT_NE(board, nullptr);
    EXPECT_GT(board->getMaterialCount(), 0u);
    for (float axis : {board->mBoxMin.x + board->mBoxMax.x, board->mBoxMin.y + board->mBoxMax.y,
                       board->mBoxMin.z + board->mBoxMax.z})
        EXPECT_NEAR(axis, 0.0f, 1e-3f);
    EXPECT_LT(board->mBoxMin.x, board->mBoxMax.x);
    EXPECT_EQ(description->getBoardBackgroundModel()->getTransform().mPosition.y,
              board->getTransform().mPosition.y);

    for (size_t set = 0; set < description->getPionSetCount(); ++set)
        for (uint32_t rank = 0; rank < PionSet::kAnimalCount; ++rank)
        {
            PionData& pion = description->getPionSet(set)->getPionData(rank);
            MeshModel* model = pion.getModelDescription().getModel();
            ASSERT_GT(model->getMaterialCount(), 0u) << model->getFileName();
            EXPECT_NEAR(model->mBoxMin.y, 0.0f, 1e-4f) << model->getFileName();
            EXPECT_GT(model->mBoxMax.y, 0.0f);
            Material* eatable = pion.getMaterial(0, PION_STATE_EATABLE);
            ASSERT_NE(eatable, nullptr);
            EXPECT_EQ(eatable->getTexture(), pion.getTexture(0));
            EXPECT_EQ(eatable->getEmissive(), model->getMaterial(0)->getEmissive());
        }
    // The models go while the engine still exists.
    description.reset();
}
