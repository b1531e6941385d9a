// The 3D board view drawn on the OpenGL device and read back.
#include "../../Platform/Gpu/GlTestSupport.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "FakeBoardViewListener.h"
#include "Platform/Math/Matrix.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/Player.h"
#include "TestBoardAssets.h"

using namespace GpuTest;
using Platform::Vector3;

namespace
{

class BoardGraphics3DGlTest : public GlDeviceTest
{
protected:
    void SetUp() override
    {
        GlDeviceTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Platform::setProgramDirectory(std::string(VELMORIQUE_BUILD_DIR) + "/");
        cache.setDevice(device.get());
        engine = std::make_unique<Engine3DD3D>(device.get(), &cache);
        ASSERT_EQ(engine->init(), 0u);
        assets = std::make_unique<TestAssets>(*engine);
        board.setPlayer(0, std::make_unique<HumanPlayer>(0));
        board.setPlayer(1, std::make_unique<HumanPlayer>(1));
        BoardViewServices services;
        services.engine3D = engine.get();
        services.assets = assets.get();
        view = std::make_unique<TestBoardView>(&board, Rect{0, 0, 1024, 768}, &listener, services);
        ASSERT_TRUE(view->isReady());
        // Straight down, white.
        ::Light& light = *view->getLights().front();
        light.setDiffuse(0xFFFFFFFF);
        light.setDirection({0, -1, 0});
        light.enable();
    }

    void TearDown() override
    {
        view.reset();
        assets.reset();
        engine.reset();
        Platform::setProgramDirectory(previousDirectory);
        GlDeviceTest::TearDown();
    }

    void drawFrame()
    {
        device->beginScene();
        device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000, 1, 0);
        ASSERT_EQ(engine->beginPass3D(), 0u);
        ASSERT_EQ(view->render3D(), 0u);
        ASSERT_EQ(engine->endPass3D(), 0u);
        device->endScene();
        forgetFrame();
    }

    void screenPoint(const Vector3& p, uint32_t& x, uint32_t& y)
    {
        Platform::Matrix viewMatrix, projection;
        engine->computeViewProjection(&viewMatrix, &projection);
        Vector3 v = Platform::vec3TransformCoord(Platform::vec3TransformCoord(p, viewMatrix), projection);
        x = static_cast<uint32_t>((v.x + 1) * 0.5f * 1024);
        y = static_cast<uint32_t>((1 - v.y) * 0.5f * 768);
    }

    PickResult boardPick(int32_t x, int32_t y) const
    {
        Vector3 local = (view->getMarkerCentre(x, y) - view->getBoardObject()->mTransform.mPosition) * 25.0f;
        PickResult pick;
        pick.mHit = 1;
        pick.mNode = view->getBoardObject();
        assets->board->getTransform().parentToLocal(local, &pick.mPoint);
        return pick;
    }

    CameraSetup topView{{0, 10.8f, 0}, {0, 0, 0}, {0, 0, 1}, 0.7853982f};
    std::string previousDirectory = Platform::programDirectory();
    RenderStateCache cache;
    std::unique_ptr<Engine3DD3D> engine;
    std::unique_ptr<TestAssets> assets;
    Board board;
    FakeBoardViewListener listener;
    std::unique_ptr<TestBoardView> view;
};

TEST_F(BoardGraphics3DGlTest, TargetMarkerShowsGreenOnItsCellAboveTheBoard)
{
    // Side 0's panther on (2, 4) may go to the empty (2, 3).
    view->selectPiece(board.getPiece(0, RANK_PANTHER));
    // From straight above, so that no animal stands in front of the cell.
    engine->setCamera(&topView);
    uint32_t x, y;
    screenPoint(view->getMarkerCentre(2, 3), x, y);
    view->nextPick = PickResult{};
    view->animate();
    drawFrame();
    uint32_t without = pixel(x, y);

    view->nextPick = boardPick(2, 3);
    view->animate();
    ASSERT_EQ(view->getHoverMarker()->getMaterial(0), view->getTargetMaterial());
    drawFrame();
    uint32_t with = pixel(x, y);
    uint32_t red = (with >> 16) & 0xFF, green = (with >> 8) & 0xFF, blue = with & 0xFF;
    EXPECT_NE(with, without);
    EXPECT_GT(green, red + 64) << std::hex << with;
    EXPECT_GT(green, blue + 64) << std::hex << with;
}

} // namespace
