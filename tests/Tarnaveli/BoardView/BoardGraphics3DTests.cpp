// The 3D board view on a recording device, over the board and animal models
// the build generates.
#include "../../Sound/RecordingSoundManager.h"
#include "Engine/Light.h"
#include "Engine/MeshModel.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "FakeBoardViewListener.h"
#include "Gui/TextButton.h"
#include "Gui/TimeDisplay.h"
#include "Platform/Gpu/RecordingDevice.h"
#include "Platform/Math/Matrix.h"
#include "Platform/System/Clock.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/NetworkPlayer.h"
#include "Tarnaveli/Board/Player.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "TestBoardAssets.h"

#include <gtest/gtest.h>

#include <cmath>

using Platform::Vector3;

namespace
{

class BoardGraphics3DTest : public ::testing::Test
{
protected:
    BoardGraphics3DTest()
    {
        Platform::setProgramDirectory(std::string(VELMORIQUE_BUILD_DIR) + "/");
        cache.setDevice(&device);
        engine = std::make_unique<Engine3DD3D>(&device, &cache);
        EXPECT_EQ(engine->init(), 0u);
        assets = std::make_unique<TestAssets>(*engine);
        sounds.setSoundCount(40);
        for (uint32_t i = 1; i < 40; ++i)
            sounds.setSoundName(i, "s" + std::to_string(i) + ".wav");
        board.reset();
        board.setPlayer(0, std::make_unique<HumanPlayer>(0));
        board.setPlayer(1, std::make_unique<HumanPlayer>(1));
    }
    ~BoardGraphics3DTest() override { Platform::setProgramDirectory(previousDirectory); }

    void makeView()
    {
        BoardViewServices services;
        services.engine3D = engine.get();
        services.sounds = &sounds;
        services.assets = assets.get();
        view = std::make_unique<TestBoardView>(&board, Rect{0, 0, 1024, 768}, &listener, services);
        ASSERT_TRUE(view->isReady());
        listener.view = view.get();
        sounds.log.clear();
    }

    // A pick on the board model at the centre of a cell, as the engine
    // reports it: in the mesh's own space.
    PickResult boardPick(int32_t x, int32_t y) const
    {
        Vector3 scene = view->getMarkerCentre(x, y);
        Vector3 local = (scene - view->getBoardObject()->mTransform.mPosition) * (1.0f / 0.04f);
        PickResult pick;
        pick.mHit = 1;
        pick.mNode = view->getBoardObject();
        assets->board->getTransform().parentToLocal(local, &pick.mPoint);
        return pick;
    }
    PickResult piecePick(uint32_t side, uint32_t rank) const
    {
        PickResult pick;
        pick.mHit = 1;
        pick.mNode = view->getPieceObject(side, rank);
        return pick;
    }
    void hover(const PickResult& pick)
    {
        view->nextPick = pick;
        view->animate();
    }
    void click(const PickResult& pick)
    {
        hover(pick);
        MouseEvent press;
        press.mType = MOUSE_EVENT_BUTTON_DOWN;
        press.mButton = MOUSE_BUTTON_LEFT;
        view->onMouseEvent(press);
    }
    // Frames of `step` milliseconds until the animation ends (or a limit).
    int runAnimation(int step = 20)
    {
        int frames = 0;
        while (!view->isMoveAnimationFinished() && frames < 1000)
        {
            clock.advanceMs(step);
            view->animate();
            ++frames;
        }
        view->animate();
        return frames;
    }
    Material* shown(uint32_t side, uint32_t rank) const
    {
        return view->getPieceObject(side, rank)->getMaterial(0);
    }
    Material* material(uint32_t side, uint32_t rank, uint32_t state) const
    {
        return assets->materials[rank][side][state].get();
    }

    std::string previousDirectory = Platform::programDirectory();
    Platform::ManualClock clock;
    Platform::Gpu::RecordingDevice device;
    RenderStateCache cache;
    std::unique_ptr<Engine3DD3D> engine;
    std::unique_ptr<TestAssets> assets;
    RecordingSoundManager sounds;
    Board board;
    FakeBoardViewListener listener;
    std::unique_ptr<TestBoardView> view;
};

TEST_F(BoardGraphics3DTest, CellGeometryOfTheRealBoardAndPickedPointsGiveBackTheirCells)
{
    makeView();
    MeshModel* model = assets->board.get();
    ASSERT_GT(model->mBoxMax.x - model->mBoxMin.x, 0.0f);
    EXPECT_NEAR(view->getCellWidth(), (model->mBoxMax.x - model->mBoxMin.x) * 0.04f / 9, 1e-5f);
    EXPECT_NEAR(view->getCellDepth(), (model->mBoxMax.z - model->mBoxMin.z) * 0.04f / 7, 1e-5f);
    // Rows run along +x, columns against z; the board lies centred.
    EXPECT_NEAR(view->getMarkerCentre(1, 0).x - view->getMarkerCentre(0, 0).x, view->getCellWidth(), 1e-4f);
    EXPECT_NEAR(view->getMarkerCentre(0, 0).z - view->getMarkerCentre(0, 1).z, view->getCellDepth(), 1e-4f);
    EXPECT_NEAR(view->getMarkerCentre(4, 3).x, 0.0f, 1e-3f);
    EXPECT_NEAR(view->getMarkerCentre(4, 3).z, 0.0f, 1e-3f);
    float top = model->mBoxMax.y * 0.04f;
    EXPECT_NEAR(view->getMarkerCentre(0, 0).y, top - 0.02f, 1e-4f);
    EXPECT_NEAR(view->getMarkerCentre(4, 1).y, top - 0.1f, 1e-4f) << "water";
    EXPECT_NEAR(view->getPieceCentre(4, 1).y, top - 0.1f - 0.08f, 1e-4f) << "pieces swim lower";
    EXPECT_NEAR(view->getPieceCentre(0, 0).y, top - 0.02f, 1e-4f);

    for (auto [x, y] : {std::pair{0, 0}, {8, 6}, {4, 3}, {3, 1}, {7, 2}})
    {
        int32_t cx = -1, cy = -1;
        EXPECT_TRUE(view->cellFromPick(boardPick(x, y), cx, cy));
        EXPECT_EQ(cx, x);
        EXPECT_EQ(cy, y);
    }
    // Just outside the first column: off the board, not cell 0.
    PickResult outside = boardPick(0, 3);
    outside.mPoint.x -= view->getCellWidth() / 0.04f * 0.8f;
    int32_t cx, cy;
    EXPECT_FALSE(view->cellFromPick(outside, cx, cy));
    EXPECT_FALSE(view->cellFromPick(piecePick(0, RANK_RAT), cx, cy));
    EXPECT_EQ(view->pieceFromPick(piecePick(1, RANK_LION)), &board.getPiece(1, RANK_LION));

    // The pieces stand on their cells, scaled by their set's scale.
    MeshInstance* lion = view->getPieceObject(1, RANK_LION);
    const Piece& piece = board.getPiece(1, RANK_LION);
    EXPECT_EQ(lion->mTransform.mPosition, view->getPieceCentre(piece.getX(), piece.getY()));
    EXPECT_NEAR(lion->mTransform.mScale.x, 1.6f * 0.01f, 1e-6f);
    EXPECT_NEAR(lion->mTransform.mDirection.z, -1.0f, 1e-5f) << "side 1 faces -z in a turning set";
}

TEST_F(BoardGraphics3DTest, EnginePickThroughTheCameraFindsTheCellAndThePiece)
{
    makeView();
    Platform::Matrix viewMatrix, projection;
    engine->computeViewProjection(&viewMatrix, &projection);
    float width, height;
    engine->getViewSize(&width, &height);
    auto screenPoint = [&](const Vector3& p, float& sx, float& sy)
    {
        Vector3 v = Platform::vec3TransformCoord(Platform::vec3TransformCoord(p, viewMatrix), projection);
        sx = (v.x + 1) * 0.5f * width;
        sy = (1 - v.y) * 0.5f * height;
    };
    // An empty land cell in the middle of the board.
    float sx, sy;
    screenPoint(view->getMarkerCentre(4, 3), sx, sy);
    PickResult pick;
    pick.mDistance = 1e30f;
    ASSERT_EQ(engine->pick(sx, sy, &pick, nullptr), 0u);
    ASSERT_TRUE(pick.mHit);
    int32_t x = -1, y = -1;
    EXPECT_TRUE(view->cellFromPick(pick, x, y));
    EXPECT_EQ(x, 4);
    EXPECT_EQ(y, 3);
    // Aimed a little above the cell of side 0's elephant: the elephant.
    const Piece& elephant = board.getPiece(0, RANK_ELEPHANT);
    Vector3 body = view->getPieceCentre(elephant.getX(), elephant.getY());
    body.y += 0.1f;
    screenPoint(body, sx, sy);
    PickResult onPiece;
    ASSERT_EQ(engine->pick(sx, sy, &onPiece, nullptr), 0u);
    EXPECT_EQ(view->pieceFromPick(onPiece), &elephant);
}

TEST_F(BoardGraphics3DTest, SelectingAPieceShowsItsTargetsAndATargetClickPlaysTheMove)
{
    makeView();
    // Side 0's rat on (2, 6): hovered, it shows that it can be chosen.
    hover(piecePick(0, RANK_RAT));
    EXPECT_EQ(shown(0, RANK_RAT), material(0, RANK_RAT, PIECE_ROLLED));
    EXPECT_TRUE(view->getHoverMarker()->mActive);
    EXPECT_EQ(view->getHoverMarker()->getMaterial(0), view->getSelectableMaterial());
    // An enemy piece is not selectable.
    hover(piecePick(1, RANK_RAT));
    EXPECT_EQ(shown(1, RANK_RAT), material(1, RANK_RAT, PIECE_OTHER));
    EXPECT_EQ(shown(0, RANK_RAT), material(0, RANK_RAT, PIECE_NORMAL)) << "restored on leaving";
    EXPECT_FALSE(view->getHoverMarker()->mActive);

    click(piecePick(0, RANK_RAT));
    ASSERT_TRUE(view->isPieceSelected());
    EXPECT_EQ(listener.log.back(), "selected 0 0");
    EXPECT_EQ(shown(0, RANK_RAT), material(0, RANK_RAT, PIECE_SELECTED));
    EXPECT_EQ(view->getSelectionMoves().getCount(), 3u) << "(1, 6), (2, 5) and (3, 6)";
    ASSERT_FALSE(sounds.log.empty());
    EXPECT_EQ(sounds.log.back(), "channel 1 play s6.wav -1");

    // A target cell turns the marker green; another cell shows the red one.
    hover(boardPick(3, 6));
    EXPECT_TRUE(view->getHoverMarker()->mActive);
    EXPECT_EQ(view->getHoverMarker()->getMaterial(0), view->getTargetMaterial());
    EXPECT_EQ(view->getHoverMarker()->mTransform.mPosition, view->getMarkerCentre(3, 6));
    hover(boardPick(4, 3));
    EXPECT_EQ(view->getHoverMarker()->getMaterial(0), view->getMarkerModel()->getMaterial(0));
    // A click there does nothing; a click on another own piece selects it.
    click(boardPick(4, 3));
    EXPECT_EQ(view->getSelectedPiece(), &board.getPiece(0, RANK_RAT));
    click(piecePick(0, RANK_CAT));
    EXPECT_EQ(view->getSelectedPiece(), &board.getPiece(0, RANK_CAT));
    EXPECT_EQ(shown(0, RANK_RAT), material(0, RANK_RAT, PIECE_NORMAL));
    click(piecePick(0, RANK_RAT));

    click(boardPick(3, 6));
    EXPECT_FALSE(view->isPieceSelected());
    EXPECT_EQ(listener.log.back(), "started 0/0>3,6");
    EXPECT_FALSE(view->isMoveAnimationFinished());
    EXPECT_EQ(board.getPiece(0, RANK_RAT).getX(), 2) << "played when the animation ends";
    runAnimation();
    EXPECT_EQ(board.getPiece(0, RANK_RAT).getX(), 3);
    EXPECT_EQ(listener.log.back(), "finished 0/0>3,6");
    EXPECT_EQ(view->getPieceObject(0, RANK_RAT)->mTransform.mPosition, view->getPieceCentre(3, 6));
    EXPECT_NEAR(view->getPieceObject(0, RANK_RAT)->mTransform.mDirection.z, 1.0f, 1e-5f) << "turned back";
    EXPECT_EQ(board.getSideToMove(), 1u);
}

TEST_F(BoardGraphics3DTest, TigerJumpingALakeTravelsHighInHalfTheTimeWithoutTurning)
{
    // Side 1's tiger from (6, 1) over the lake to the empty (2, 1).
    ASSERT_TRUE(board.getPiece(1, RANK_TIGER).moveTo(6, 1));
    board.setSideToMove(1);
    makeView();
    MoveList moves;
    board.generateMoves(1, RANK_TIGER, moves);
    const Move* jump = nullptr;
    for (const Move& move : moves)
        jump = move.getTargetX() == 2 && move.getTargetY() == 1 ? &move : jump;
    ASSERT_NE(jump, nullptr);
    view->startMove(*jump);
    EXPECT_EQ(view->getAnimationStep(), 1u) << "180 degrees to 180 degrees: no turn";
    EXPECT_EQ(sounds.log.front(), "channel 1 play s25.wav -1") << "the tiger's move sound";
    float distance = 4 * view->getCellWidth();
    auto halfTime = static_cast<int64_t>(distance * 1000 * 0.5f * 0.5f);
    clock.advanceMs(halfTime);
    view->animate();
    Vector3 at = view->getPieceObject(1, RANK_TIGER)->mTransform.mPosition;
    Vector3 middle = (view->getPieceCentre(6, 1) + view->getPieceCentre(2, 1)) * 0.5f;
    EXPECT_NEAR(at.x, middle.x, 0.02f);
    EXPECT_NEAR(at.y, middle.y + 1.2f, 0.02f);
    clock.advanceMs(halfTime + 1);
    view->animate();
    EXPECT_TRUE(view->isMoveAnimationFinished());
    view->animate();
    EXPECT_EQ(board.getPiece(1, RANK_TIGER).getX(), 2);
}

TEST_F(BoardGraphics3DTest, CaptureAttacksThenTheVictimDiesAndShrinksAway)
{
    assets->rotate = false;
    // Side 0's elephant on (4, 3), side 1's cat beside it on (5, 3).
    ASSERT_TRUE(board.getPiece(0, RANK_ELEPHANT).moveTo(4, 3));
    ASSERT_TRUE(board.getPiece(1, RANK_CAT).moveTo(5, 3));
    makeView();
    MoveList moves;
    board.generateMoves(0, RANK_ELEPHANT, moves);
    const Move* capture = nullptr;
    for (const Move& move : moves)
        capture = move.getKind() == MOVE_CAPTURE ? &move : capture;
    ASSERT_NE(capture, nullptr);
    view->startMove(*capture);
    EXPECT_EQ(view->getAnimationStep(), 1u) << "no turn in a set that does not turn";
    ASSERT_EQ(sounds.log.size(), 1u);
    EXPECT_EQ(sounds.log[0], "channel 1 play s32.wav -1") << "the elephant's attack";
    clock.advanceMs(static_cast<int64_t>(view->getCellWidth() * 500) + 1);
    view->animate();
    EXPECT_EQ(view->getAnimationStep(), 2u);
    ASSERT_EQ(sounds.log.size(), 2u);
    EXPECT_EQ(sounds.log[1], "channel 2 play s15.wav -1") << "the cat's death";
    MeshInstance* cat = view->getPieceObject(1, RANK_CAT);
    clock.advanceMs(125);
    view->animate();
    EXPECT_NEAR(cat->mTransform.mScale.x, 1.1f * 0.01f * 0.5f, 1e-4f);
    clock.advanceMs(125);
    view->animate();
    EXPECT_TRUE(view->isMoveAnimationFinished());
    view->animate();
    EXPECT_FALSE(board.getPiece(1, RANK_CAT).isOnBoard());
    EXPECT_FALSE(cat->mActive) << "a taken piece is hidden";
}

TEST_F(BoardGraphics3DTest, CameraButtonPressedTwiceWithinOneSecondBlendsFromTheHalfWayCamera)
{
    makeView();
    EXPECT_EQ(view->getCameraIndex(), 2u);
    // The presets as the view reaches them, from the starting one on.
    std::vector<CameraSetup> presets;
    for (int i = 0; i < 4; ++i)
    {
        presets.push_back(engine->getCamera());
        view->nextCamera();
        clock.advanceMs(1000);
        view->animate();
    }
    EXPECT_EQ(view->getCameraIndex(), 2u);
    EXPECT_EQ(engine->getCamera().mEye, presets[0].mEye);

    view->nextCamera();
    clock.advanceMs(500);
    view->animate();
    Vector3 halfWay = engine->getCamera().mEye;
    Vector3 expected = (presets[0].mEye + presets[1].mEye) * 0.5f;
    EXPECT_NEAR(halfWay.x, expected.x, 1e-4f);
    EXPECT_NEAR(halfWay.z, expected.z, 1e-4f);
    view->nextCamera();
    EXPECT_EQ(view->getCameraIndex(), 0u);
    clock.advanceMs(500);
    view->animate();
    expected = (halfWay + presets[2].mEye) * 0.5f;
    EXPECT_NEAR(engine->getCamera().mEye.x, expected.x, 1e-4f);
    EXPECT_NEAR(engine->getCamera().mEye.y, expected.y, 1e-4f);
    clock.advanceMs(500);
    view->animate();
    EXPECT_EQ(engine->getCamera().mEye, presets[2].mEye);
    EXPECT_EQ(engine->getCamera().mUp, (Vector3{0, 0, 1}));
}

// What the screen draws over the scene, in the 1024 x 768 frame (the
// skin's cadre.png and the title picture): the title, the turn plaque on
// its cords, the bar behind the board buttons, the frame's corner frets.
struct ScreenArea
{
    const char* name;
    float x0, y0, x1, y1;
};
constexpr ScreenArea kOverlay[] = {{"title", 232, 0, 792, 106},        {"turn plaque", 450, 86, 588, 178},
                                   {"button bar", 220, 678, 804, 768}, {"corner", 0, 0, 98, 98},
                                   {"corner", 926, 0, 1024, 98},       {"corner", 0, 670, 98, 768},
                                   {"corner", 926, 670, 1024, 768}};
// The tutorial advisor at the top-left with its longest tip (the first
// general tip, about twelve lines of the tip font, in its frame).
constexpr ScreenArea kAdvisor = {"advisor", 0, 0, 222, 430};

TEST_F(BoardGraphics3DTest, EveryCameraShowsEveryCellClearOfTheOverlay)
{
    makeView();
    for (uint32_t preset = 0; preset < 4; ++preset)
    {
        SCOPED_TRACE("camera " + std::to_string(view->getCameraIndex()));
        Platform::Matrix viewMatrix, projection;
        engine->computeViewProjection(&viewMatrix, &projection);
        const Platform::Matrix toScreen = viewMatrix * projection;
        std::vector<ScreenArea> covers(std::begin(kOverlay), std::end(kOverlay));
        if (view->getCameraIndex() == BoardGraphics3D::kStartCamera)
            covers.push_back(kAdvisor);
        for (int32_t y = 0; y < 7; ++y)
            for (int32_t x = 0; x < 9; ++x)
            {
                // The cell's corners, and the top of a piece standing on it.
                const Vector3 centre = view->getMarkerCentre(x, y);
                const float w = view->getCellWidth() / 2, d = view->getCellDepth() / 2;
                std::vector<Vector3> points;
                for (float sx : {-1.0f, 1.0f})
                    for (float sz : {-1.0f, 1.0f})
                    {
                        points.push_back(centre + Vector3{sx * w, 0, sz * d});
                        points.push_back(centre + Vector3{sx * w * 0.8f, 0.7f, sz * d * 0.8f});
                    }
                float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
                for (const Vector3& point : points)
                {
                    Vector3 ndc = Platform::vec3TransformCoord(point, toScreen);
                    float sx = (ndc.x + 1) * 512, sy = (1 - ndc.y) * 384;
                    x0 = std::min(x0, sx), x1 = std::max(x1, sx), y0 = std::min(y0, sy),
                    y1 = std::max(y1, sy);
                }
                EXPECT_TRUE(x0 >= 12 && y0 >= 12 && x1 <= 1012 && y1 <= 756)
                    << "cell (" << x << ", " << y << ") runs under the frame";
                for (const ScreenArea& area : covers)
                    EXPECT_FALSE(x1 > area.x0 && x0 < area.x1 && y1 > area.y0 && y0 < area.y1)
                        << "cell (" << x << ", " << y << ") under the " << area.name;
            }
        view->nextCamera();
        clock.advanceMs(1000);
        view->animate();
    }
}

TEST_F(BoardGraphics3DTest, HintMarkersBlinkOnTheHintedCellsForTwoSeconds)
{
    makeView();
    view->showHint();
    ASSERT_TRUE(view->isHintShown());
    const Move* hint = view->computeHint();
    ASSERT_NE(hint, nullptr);
    view->animate();
    EXPECT_TRUE(view->getHintMarker(0)->mActive);
    EXPECT_EQ(view->getHintMarker(0)->mTransform.mPosition,
              view->getMarkerCentre(board.getPiece(*hint->getOwner()).getX(),
                                    board.getPiece(*hint->getOwner()).getY()));
    EXPECT_EQ(view->getHintMarker(1)->mTransform.mPosition,
              view->getMarkerCentre(hint->getTargetX(), hint->getTargetY()));
    clock.advanceMs(300);
    view->animate();
    EXPECT_FALSE(view->getHintMarker(1)->mActive);
    clock.advanceMs(250);
    view->animate();
    EXPECT_TRUE(view->getHintMarker(1)->mActive);
    clock.advanceMs(2000);
    view->animate();
    EXPECT_FALSE(view->isHintShown());
    EXPECT_FALSE(view->getHintMarker(0)->mActive);
}

TEST_F(BoardGraphics3DTest, TheHintedPieceBlinksWithTheMarkersSinceItHidesItsOwnCellsMarker)
{
    makeView();
    view->showHint();
    const Move* hint = view->computeHint();
    ASSERT_NE(hint, nullptr);
    Piece& piece = board.getPiece(*hint->getOwner());
    MeshInstance* object = view->getPieceObject(piece.getSide(), piece.getRank());
    auto shows = [&](uint32_t state)
    { return object->getMaterial(0) == assets->getMaterial(piece.getRank(), piece.getSide(), state); };
    view->animate();
    EXPECT_EQ(view->getHintPiece(), &piece);
    EXPECT_TRUE(shows(PIECE_SELECTED));
    clock.advanceMs(300);
    view->animate();
    EXPECT_TRUE(shows(PIECE_NORMAL));
    clock.advanceMs(250);
    view->animate();
    EXPECT_TRUE(shows(PIECE_SELECTED));
    // A move ends it at once, the piece as it rests.
    Move move = *hint;
    view->beginMoveAnimation(move);
    EXPECT_FALSE(view->isHintShown());
    EXPECT_FALSE(view->getHintMarker(1)->mActive);
    EXPECT_TRUE(shows(PIECE_NORMAL));
}

TEST_F(BoardGraphics3DTest, TheViewLeavesNoSceneNodeNorCameraBehindAndLightsItsScene)
{
    size_t before = engine->getSceneRoot()->getChildren().size();
    makeView();
    EXPECT_EQ(view->getLights().size(), 1u);
    EXPECT_EQ(engine->getAmbient(), 0xFF000000u);
    EXPECT_GT(engine->getSceneRoot()->getChildren().size(), before + 16);
    EXPECT_EQ(view->render3D(), 0u);
    view.reset();
    EXPECT_EQ(engine->getSceneRoot()->getChildren().size(), before);
    EXPECT_TRUE(engine->getLights().empty());
    EXPECT_EQ(engine->getCamera().mEye, (Vector3{0, 500, -1500})) << "the default camera again";
}

} // namespace

namespace
{

TEST_F(BoardGraphics3DTest, WithoutItsLightsFileTheSceneGetsOneDefaultLightFromAbove)
{
    assets->lightsResult = ERROR_FILENOTFOUND;
    makeView();
    ASSERT_EQ(view->getLights().size(), 1u);
    const Light& light = *view->getLights().front();
    EXPECT_EQ(light.getType(), uint32_t(Light::DIRECTIONAL));
    EXPECT_TRUE(light.isEnabled());
    uint32_t diffuse = 0;
    light.getDiffuse(&diffuse);
    EXPECT_EQ(diffuse, 0xFF969696u);
    Vector3 direction;
    light.getDirection(&direction);
    EXPECT_NEAR(Platform::vec3Length(direction), 1.0f, 1e-5f);
    EXPECT_LT(direction.y, 0.0f);
}

TEST_F(BoardGraphics3DTest, AnotherPieceSetRebuildsTheAnimalsAndDropsTheSelection)
{
    ASSERT_TRUE(board.getPiece(0, RANK_RAT).moveTo(4, 1));
    makeView();
    view->selectPiece(board.getPiece(0, RANK_CAT));
    assets->waterDepth = 0.2f;
    view->changePieceSet(0);
    EXPECT_FALSE(view->isPieceSelected());
    EXPECT_EQ(shown(0, RANK_CAT), material(0, RANK_CAT, PIECE_NORMAL));
    EXPECT_NEAR(view->getPieceObject(0, RANK_RAT)->mTransform.mPosition.y,
                view->getMarkerCentre(4, 1).y - 0.2f, 1e-5f)
        << "the swimming rat sinks to the new set's depth";
    view->changePieceSet(5);
    EXPECT_NE(view->getPieceObject(0, RANK_RAT), nullptr) << "an unknown set changes nothing";
}

TEST_F(BoardGraphics3DTest, BoardButtonsTurnTheCameraUndoOpenTheMenuAndTheChat)
{
    makeView();
    TextButton* camera = view->getButton(0);
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->getParent(), view.get());
    EXPECT_EQ(camera->getRect().x, 240);
    EXPECT_EQ(view->getButton(3)->getRect().x, 240 + 3 * 141);
    EXPECT_EQ(view->getButton(4)->getRect().x, view->getButton(2)->getRect().x);
    EXPECT_TRUE(view->getButton(2)->isVisible()) << "undo outside network games";
    EXPECT_FALSE(view->getButton(4)->isVisible());

    camera->onClick.invoke(camera);
    EXPECT_EQ(view->getCameraIndex(), 3u);
    view->getButton(3)->onClick.invoke(view->getButton(3));
    EXPECT_EQ(listener.log.back(), "menu");
    view->getButton(1)->onClick.invoke(view->getButton(1));
    EXPECT_TRUE(view->isHintShown());

    board.setPlayer(0, std::make_unique<NetworkPlayer>(PLAYER_NETWORK_LOCAL, 0));
    board.setPlayer(1, std::make_unique<NetworkPlayer>(PLAYER_NETWORK_REMOTE, 1));
    listener.chatOpen = true;
    view->endMoveAnimation();
    EXPECT_FALSE(view->getButton(2)->isVisible());
    EXPECT_TRUE(view->getButton(4)->isVisible()) << "chat in network games";
    TextButton* chat = view->getButton(4);
    EXPECT_FALSE(chat->isEnabled()) << "the game starts with the chat window open";
    listener.chatOpen = false;
    view->endMoveAnimation();
    EXPECT_TRUE(chat->isEnabled());
    chat->onClick.invoke(chat);
    EXPECT_EQ(listener.log.back(), "chat");
    EXPECT_FALSE(chat->isEnabled()) << "while the chat window is open";
    view->enableChatButton();
    EXPECT_TRUE(chat->isEnabled());
    view->setButtonsEnabled(false);
    EXPECT_FALSE(camera->isEnabled());
}

TEST_F(BoardGraphics3DTest, ClockFollowsTheBoardStopsWithTheGameAndShowsALoadedTime)
{
    makeView();
    TimeDisplay* shown = view->getClockDisplay();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->getParent(), view.get());
    EXPECT_EQ(shown->getRect(), (Rect{465, 117, 108, 24}));
    clock.advanceMs(65000);
    view->animate();
    EXPECT_EQ(shown->getTime(), 65000u);

    board.getClock().setElapsed(3723000);
    view->endMoveAnimation();
    view->animate();
    EXPECT_EQ(shown->getTime(), 3723000u) << "a loaded game's clock";

    board.getClock().stop();
    clock.advanceMs(5000);
    view->animate();
    EXPECT_EQ(shown->getTime(), 3723000u) << "the clock stops with the game";
}

} // namespace
