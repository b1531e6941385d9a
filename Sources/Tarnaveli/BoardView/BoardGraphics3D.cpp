#include "Tarnaveli/BoardView/BoardGraphics3D.h"

#include "Engine/Engine2D.h"
#include "Engine/Image2D.h"
#include "Engine/Light.h"
#include "Engine/MeshModel.h"
#include "Engine/Texture.h"
#include "Engine3DD3D/MeshModelD3D.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/ErrorText.h"
#include "Framework/LangTable.h"
#include "Framework/Messages.h"
#include "Gui/Image.h"
#include "Gui/Label.h"
#include "Gui/Look.h"
#include "Gui/Skin.h"
#include "Gui/TextButton.h"
#include "Gui/TimeDisplay.h"
#include "Sound/SoundManager.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/Player.h"
#include "Tarnaveli/BoardView/BoardViewListener.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using Platform::Vector3;

namespace
{

constexpr uint32_t kLookBoard = 13;
constexpr uint32_t kLangUnableToLoadModels = 313;
constexpr uint32_t kLangTurnOfPlayer0 = 210;
constexpr uint32_t kLangTurnOfPlayer1 = 211;
constexpr uint32_t kBackgroundImage = 24;
constexpr uint32_t kTitleImage = 28;
constexpr int32_t kTurnFont = 3;
constexpr uint32_t kLangFirstButton = 218;
constexpr uint32_t kFirstButtonLook = 32;
// Undo and chat share the third place: one shows outside network games, the
// other in them.
constexpr int32_t kButtonColumns[5] = {0, 1, 2, 3, 2};

bool isNetworkGame(Board& board)
{
    Player* first = board.getPlayer(0);
    return first != nullptr &&
           (first->getKind() == PLAYER_NETWORK_REMOTE || first->getKind() == PLAYER_NETWORK_LOCAL);
}
constexpr float kPieceScaleUnit = 0.01f;
constexpr float kMarkerSize = 0.9f;
constexpr float kMsPerDegree = 5.5555553f;
constexpr float kPi = 3.14159265f;
// Sound channels the board's effects may take.
constexpr uint32_t kFirstChannel = 1;
constexpr uint32_t kLastChannel = 7;

Vector3 blend(const Vector3& a, const Vector3& b, float f)
{
    return a + (b - a) * f;
}

// The clock and the turn label stand on the plaque the board's overlay
// picture hangs under the title, on two cords; with its cords and its shadow
// the plaque covers kPlaqueWithCords of that picture.
constexpr Rect kPlaque{453, 108, 132, 68};
constexpr Rect kPlaqueWithCords{442, 83, 154, 107};
constexpr int32_t kClockOnPlaqueX = 12;
constexpr int32_t kClockOnPlaqueY = 9;
constexpr int32_t kLabelOnPlaqueY = 37;
// In a network game the chat window opens over that plaque, at the top of
// the screen from x = 400: a copy of the plaque, with the clock and the
// label, stands just left of it.
constexpr int32_t kChatWindowX = 400;
constexpr int32_t kPlaqueBesideChatX = kChatWindowX - 8 - kPlaque.width;

// Each camera steps back (distance factor) and up (along its own up vector,
// in scene units) so that the board lies under the chat window and still
// over the button bar.
struct Framing
{
    float distance;
    float lift;
};
constexpr Framing kBesideChat[BoardGraphics3D::kCameraCount] = {
    {1.1f, 0.9f}, {1.1f, 0.6f}, {1.06f, 0.7f}, {1.1f, 0.6f}};

CameraSetup framed(const CameraSetup& camera, const Framing& framing)
{
    const Vector3 forward = vec3Normalize(camera.mTarget - camera.mEye);
    const Vector3 side = vec3Normalize(vec3Cross(camera.mUp, forward));
    const Vector3 up = vec3Cross(forward, side);
    CameraSetup moved = camera;
    moved.mEye = camera.mTarget + (camera.mEye - camera.mTarget) * framing.distance + up * framing.lift;
    moved.mTarget = camera.mTarget + up * framing.lift;
    return moved;
}

// A piece of a picture drawn again elsewhere.
class PictureCut final : public Component
{
public:
    PictureCut(Engine2D* engine, Texture* picture, const Rect& from, int32_t x, int32_t y)
        : Component(x, y, from.width, from.height)
    {
        if (engine == nullptr || picture == nullptr)
            return;
        mImage = engine->createImage(static_cast<float>(x), static_cast<float>(y), picture,
                                     Image2D::SIZE_SOURCE_RECT, static_cast<float>(from.width),
                                     static_cast<float>(from.height), 0xFFFFFFFF, nullptr);
        if (mImage)
            mImage->setSourceRect(from.x, from.y, from.width, from.height);
    }
    ErrorCode render() override { return mImage ? mImage->draw() : 0; }
    void updateLayout() override
    {
        if (!mImage)
            return;
        mImage->setPosition(static_cast<float>(mX), static_cast<float>(mY));
        mImage->update();
    }
    void setRenderList(RenderList* list) override
    {
        Component::setRenderList(list);
        if (mImage)
            mImage->setRenderList(list);
    }
    bool isHoverable() override { return false; }

private:
    std::unique_ptr<Image2D> mImage;
};

float restingHeading(uint32_t side)
{
    return side == 0 ? 0.0f : 180.0f;
}

// The from cell of a move is only known once it has been applied: a move
// still to be shown starts from its piece's cell.
float moveHeading(const Move& move, const Piece& mover)
{
    int32_t dx = move.getTargetX() - mover.getX();
    int32_t dy = move.getTargetY() - mover.getY();
    if (dx > 0)
        return 0.0f;
    if (dx < 0)
        return 180.0f;
    return dy > 0 ? 90.0f : 270.0f;
}

} // namespace

BoardGraphics3D::BoardGraphics3D(Board* board, const Rect& rect, BoardViewListener* listener,
                                 const BoardViewServices& services)
    : BoardGraphics(board, rect, listener, kLookBoard), mEngine3D(services.engine3D),
      mEngine2D(services.engine2D), mSounds(services.sounds), mAssets(services.assets)
{
    ApplicationGeneric* application = getApplication();
    if (mEngine3D == nullptr && application != nullptr)
        mEngine3D = dynamic_cast<Engine3D*>(application->getEngine3D());
    if (mEngine2D == nullptr && application != nullptr)
        mEngine2D = dynamic_cast<Engine2D*>(application->getEngine2D());
    if (mSounds == nullptr && application != nullptr)
        mSounds = application->getSoundManager();
    if (mEngine3D == nullptr || mAssets == nullptr || mAssets->getBoardModel() == nullptr)
        return;

    Texture* picture = services.backgroundPicture;
    if (picture == nullptr && application != nullptr)
        picture = application->getImage(kBackgroundImage);
    if (mEngine2D != nullptr && picture != nullptr)
        mBackground = mEngine2D->createImage(0, 0, picture, 0, 0, 0, 0xFFFFFFFF, nullptr);

    // Drawn under the clock and the label when they leave the overlay's own
    // plaque to the chat window: the same plaque, frame, cords and shadow.
    Look* look = findLook(kLookBoard);
    Texture* overlay = look != nullptr ? findSkinTexture(look->getTextureId(0)) : nullptr;
    mPlaqueCopy = new PictureCut(mEngine2D, overlay, kPlaqueWithCords,
                                 kPlaqueBesideChatX - (kPlaque.x - kPlaqueWithCords.x), kPlaqueWithCords.y);
    mPlaqueCopy->setVisible(false);
    addChild(mPlaqueCopy);
    mTurnLabel = new Label(Rect{kPlaque.x + kClockOnPlaqueX, kPlaque.y + kLabelOnPlaqueY, 108, 24},
                           std::string(), LabelStyle{kTurnFont, 0xFFFFFFFF, 1});
    addChild(mTurnLabel);

    if (buildHoverMarker() != ERROR_OK)
    {
        showMessage("%s", getLangText(kLangUnableToLoadModels).c_str());
        if (application != nullptr)
            application->quitApplication(true);
        return;
    }

    if (MeshModel* background = mAssets->getBackgroundModel())
    {
        mBackgroundObject.reset(background->createInstance());
        mBackgroundObject->mTransform.mScale = {kModelScale, kModelScale, kModelScale};
        mBackgroundObject->mTransform.update();
    }
    mBoardObject.reset(mAssets->getBoardModel()->createInstance());
    mBoardObject->mTransform.mScale = {kModelScale, kModelScale, kModelScale};
    mBoardObject->mTransform.update();
    mBoardObject->mPickable = true;
    // The surroundings are drawn after the board: the part the board hides
    // then fails the depth test before it is shaded.
    if (mBackgroundObject != nullptr && mBackgroundObject->getParent() != nullptr)
        mBackgroundObject->getParent()->moveChildToBack(mBackgroundObject.get());

    mPieceSet = mAssets->selectPieceSet(services.pieceSet);
    computeCellGeometry();
    buildPieceObjects();

    mHoverMarker.reset(mMarkerModel->createInstance());
    for (std::unique_ptr<MeshInstance>& marker : mHintMarkers)
        marker.reset(mMarkerModel->createInstance());
    for (MeshInstance* marker : {mHoverMarker.get(), mHintMarkers[0].get(), mHintMarkers[1].get()})
    {
        marker->mTransform.mScale = {mCellWidth * kMarkerSize, 1.0f, mCellDepth * kMarkerSize};
        marker->mTransform.update();
        marker->mPickable = false;
        marker->mActive = false;
    }

    buildButtons();

    // Each preset keeps all 63 cells clear of what the screen draws over
    // the scene: the title and the turn plaque at the top, the button bar
    // at the bottom, the frame's corners. From above, the board is lowered
    // under the plaque; from the sides, raised over the bar. The starting
    // view also leaves the top-left corner free up to the height the
    // tutorial advisor reaches with its longest tip.
    const float fov = kPi / 4;
    mOwnPresets[0] = {{0, 14.2f, 0.65f}, {0, 0, 0.65f}, {0, 0, 1}, fov};
    mOwnPresets[1] = {{9.9f, 8.0f, 0}, {-0.3f, 0, 0}, {0, 1, 0}, fov};
    mOwnPresets[2] = {{-1.0f, 10.8f, -7.0f}, {-1.0f, 0, 0.4f}, {0, 1, 0}, fov};
    mOwnPresets[3] = {{-9.9f, 8.0f, 0}, {0.3f, 0, 0}, {0, 1, 0}, fov};
    mPresets = mOwnPresets;
    mCamera = mPresets[kStartCamera];
    mEngine3D->setCamera(&mCamera);

    if (mAssets->createLights(*mEngine3D, mLights) != ERROR_OK && mLights.empty())
    {
        // Without the lights file the scene still gets one light from above.
        mLights.emplace_back(mEngine3D->createLight());
        Light& light = *mLights.back();
        light.setType(Light::DIRECTIONAL);
        light.setDiffuse(0xFF969696);
        light.setSpecular(0xFF828282);
        light.setAmbient(0xFF000000);
        light.setDirection(Vector3{0, -1, 0.5f} * (1.0f / std::sqrt(1.25f)));
        light.enable();
    }

    Material* own = mMarkerModel->getMaterial(0);
    mTargetMaterial.reset(mEngine3D->createMaterial());
    mSelectableMaterial.reset(mEngine3D->createMaterial());
    *mTargetMaterial = *own;
    *mSelectableMaterial = *own;
    mTargetMaterial->setAmbient(0, 1, 0, 1);
    mTargetMaterial->setDiffuse(0, 1, 0, 1);
    mTargetMaterial->setSpecular(0, 1, 0, 1);
    const float grey = 128.0f / 255.0f;
    mSelectableMaterial->setAmbient(grey, grey, grey, 1);
    mSelectableMaterial->setDiffuse(grey, grey, grey, 1);
    mSelectableMaterial->setSpecular(grey, grey, grey, 1);
    for (const std::unique_ptr<MeshInstance>& marker : mHintMarkers)
        marker->setAllMaterials(mTargetMaterial.get());

    placePieces();

    // The clock reads the board's own timer every frame, so it stops with the
    // game and shows a loaded game's time without being told.
    mClockDisplay = new TimeDisplay(Rect{kPlaque.x + kClockOnPlaqueX, kPlaque.y + kClockOnPlaqueY, 108, 24},
                                    &mBoard->getClock(), 0xFFFFFFFF, findFont(kTurnFont), LOOK_EMPTY);
    addChild(mClockDisplay);

    // The title, centred at the top: its texture is loaded only to read its width.
    Texture* title = application != nullptr ? application->getImage(kTitleImage) : nullptr;
    if (title != nullptr && title->load() == ERROR_OK)
    {
        int32_t width = static_cast<int32_t>(title->getWidth());
        title->unload();
        int32_t windowWidth = static_cast<int32_t>(application->getSettings().mClientWidth);
        addChild(new Image((windowWidth - width) / 2, 2, title));
    }
    mEngine3D->setAmbient(0xFF000000);
    mReady = true;
}

BoardGraphics3D::~BoardGraphics3D()
{
    // The scene objects go before the models and materials they use.
    mBoardObject.reset();
    mBackgroundObject.reset();
    mHoverMarker.reset();
    for (std::unique_ptr<MeshInstance>& marker : mHintMarkers)
        marker.reset();
    mTargetMaterial.reset();
    mSelectableMaterial.reset();
    mMarkerModel.reset();
    destroyPieceObjects();
    if (mEngine3D != nullptr && mReady)
        mEngine3D->setCamera(nullptr);
    mBackground.reset();
    mLights.clear();
}

void BoardGraphics3D::buildButtons()
{
    for (uint32_t i = 0; i < kButtonCount; ++i)
    {
        Rect rect{240 + 141 * kButtonColumns[i], 690, 121, 64};
        mButtons[i] =
            new TextButton(rect, std::string(), kFirstButtonLook + i, getLangText(kLangFirstButton + i));
        addChild(mButtons[i]);
    }
    mButtons[0]->onClick.mFunction = [this](Component*, uint32_t) { nextCamera(); };
    mButtons[1]->onClick.mFunction = [this](Component*, uint32_t) { showHint(); };
    mButtons[2]->onClick.mFunction = [this](Component*, uint32_t) { undoMove(); };
    mButtons[3]->onClick.mFunction = [this](Component*, uint32_t)
    {
        if (mListener != nullptr)
            mListener->openGameMenu();
    };
    mButtons[4]->onClick.mFunction = [this](Component*, uint32_t)
    {
        // Until the chat window closes again.
        mButtons[4]->setEnabled(false);
        mButtons[4]->updateLayout();
        if (mListener != nullptr)
            mListener->openChatWindow();
    };
    bool network = isNetworkGame(*mBoard);
    mButtons[2]->setVisible(!network);
    mButtons[4]->setVisible(network);
}

void BoardGraphics3D::setButtonsEnabled(bool enabled)
{
    for (TextButton* button : mButtons)
    {
        if (button == nullptr)
            continue;
        button->setEnabled(enabled);
        button->updateLayout();
    }
}

void BoardGraphics3D::enableChatButton()
{
    if (mButtons[4] == nullptr)
        return;
    mButtons[4]->setEnabled(true);
    mButtons[4]->updateLayout();
}

ErrorCode BoardGraphics3D::buildHoverMarker()
{
    auto model = std::unique_ptr<MeshModel>(mEngine3D->createMeshModel());
    auto* d3dModel = dynamic_cast<MeshModelD3D*>(model.get());
    if (d3dModel == nullptr)
        return ERROR_INVALID;
    if (ErrorCode code = d3dModel->createMesh(2, 4, 1))
        return code;
    Material* material = model->getMaterial(0);
    if (mEngine2D != nullptr)
    {
        Texture* texture = mEngine2D->getTextureByName("data\\Ressources\\images\\selectionCell.png", 0);
        if (texture != nullptr)
            material->setTexture(texture, true);
    }
    // Each setter applies its colour group.
    material->setAmbient(1, 0, 0, 1);
    material->setDiffuse(1, 0, 0, 1);
    material->setEmissive(0, 0, 0, 1);
    material->setPower(10.0f);
    material->setSpecular(1, 0, 0, 1);

    Platform::Mesh* mesh = d3dModel->getMesh();
    struct Vertex
    {
        float x, y, z, nx, ny, nz, u, v;
    };
    const Vertex vertices[4] = {{0, 0, 0, 0, 1, 0, 0, 0},
                                {1, 0, 0, 0, 1, 0, 1, 0},
                                {1, 0, 1, 0, 1, 0, 1, 1},
                                {0, 0, 1, 0, 1, 0, 0, 1}};
    // The name this file goes by in the device's error boxes.
    constexpr const char* kSourceName = "BoardGraphics3D";
    void* data = nullptr;
    if (auto result = mesh->lockVertexBuffer(0, &data))
        return reportD3DErrorAt(result, kSourceName);
    std::memcpy(data, vertices, sizeof vertices);
    if (auto result = mesh->unlockVertexBuffer())
        return reportD3DErrorAt(result, kSourceName);
    const uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
    if (auto result = mesh->lockIndexBuffer(0, &data))
        return reportD3DErrorAt(result, kSourceName);
    std::memcpy(data, indices, sizeof indices);
    if (auto result = mesh->unlockIndexBuffer())
        return reportD3DErrorAt(result, kSourceName);
    uint32_t* attributes = nullptr;
    if (auto result = mesh->lockAttributeBuffer(0, &attributes))
        return reportD3DErrorAt(result, kSourceName);
    attributes[0] = attributes[1] = 0;
    if (auto result = mesh->unlockAttributeBuffer())
        return reportD3DErrorAt(result, kSourceName);
    if (ErrorCode code = model->computeBoundingBox())
        return code;
    if (ErrorCode code = model->setOrigin((model->mBoxMin + model->mBoxMax) * 0.5f))
        return code;
    mMarkerModel = std::move(model);
    return ERROR_OK;
}

void BoardGraphics3D::computeCellGeometry()
{
    MeshModel* model = mAssets->getBoardModel();
    const Vector3& low = model->mBoxMin;
    const Vector3& high = model->mBoxMax;
    const Vector3& at = mBoardObject->mTransform.mPosition;
    mCellWidth = (high.x - low.x) * kModelScale / Board::kWidth;
    mCellDepth = (high.z - low.z) * kModelScale / Board::kHeight;
    // Cell (0, 0) is at the box's low-x, high-z corner; y runs towards -z.
    mCentre00 = {at.x + low.x * kModelScale + mCellWidth * 0.5f, 0,
                 at.z + high.z * kModelScale - mCellDepth * 0.5f};
    float top = at.y + high.y * kModelScale;
    float waterDepth = mPieceSet != nullptr ? mPieceSet->getWaterDepth() : 0.0f;
    for (int32_t y = 0; y < Board::kHeight; ++y)
    {
        for (int32_t x = 0; x < Board::kWidth; ++x)
        {
            bool water = terrainAt(x, y) == TERRAIN_WATER;
            Vector3 centre{mCentre00.x + x * mCellWidth,
                           top - (water ? mAssets->getWaterDrop() : mAssets->getLandDrop()),
                           mCentre00.z - y * mCellDepth};
            mMarkerCentres[Board::cellIndex(x, y)] = centre;
            centre.y -= water ? waterDepth : 0.0f;
            mPieceCentres[Board::cellIndex(x, y)] = centre;
        }
    }
}

bool BoardGraphics3D::cellFromPick(const PickResult& pick, int32_t& x, int32_t& y) const
{
    if (!pick.mHit || mBoardObject == nullptr || pick.mNode != mBoardObject.get())
        return false;
    // The hit point is in the mesh's own space: through the model's centring
    // and the object's scale into the scene.
    Vector3 local;
    mAssets->getBoardModel()->getTransform().localToParent(pick.mPoint, &local);
    Vector3 scene = local * kModelScale + mBoardObject->mTransform.mPosition;
    // Floor, not truncation: a point just off the first row or column is off
    // the board, not on it.
    x = static_cast<int32_t>(std::floor((scene.x - mCentre00.x) / mCellWidth + 0.5f));
    y = static_cast<int32_t>(std::floor((mCentre00.z - scene.z) / mCellDepth + 0.5f));
    return Board::isInside(x, y);
}

Piece* BoardGraphics3D::pieceFromPick(const PickResult& pick) const
{
    if (!pick.mHit || pick.mNode == nullptr)
        return nullptr;
    for (uint32_t i = 0; i < 16; ++i)
    {
        if (mPieceObjects[i].get() == pick.mNode)
            return &mBoard->getPieceByIndex(i);
    }
    return nullptr;
}

void BoardGraphics3D::buildPieceObjects()
{
    if (mPieceSet == nullptr)
        return;
    for (uint32_t side = 0; side < 2; ++side)
    {
        for (uint32_t rank = 0; rank < 8; ++rank)
        {
            MeshModel* model = mPieceSet->getModel(rank);
            if (model == nullptr)
                continue;
            MeshInstance* object = model->createInstance();
            object->setAllMaterials(mPieceSet->getMaterial(rank, side, PIECE_NORMAL));
            object->mPickable = true;
            mPieceObjects[side * 8 + rank].reset(object);
            applyHeading(object, restingHeading(side));
        }
    }
}

void BoardGraphics3D::destroyPieceObjects()
{
    for (std::unique_ptr<MeshInstance>& object : mPieceObjects)
        object.reset();
}

void BoardGraphics3D::applyHeading(MeshInstance* object, float degrees)
{
    if (object == nullptr)
        return;
    if (mPieceSet == nullptr || !mPieceSet->isRotated())
    {
        object->mTransform.mDirection = {0, 0, 1};
    }
    else
    {
        float a = degrees * kPi / 180.0f;
        object->mTransform.mDirection = {-std::sin(a), 0, std::cos(a)};
    }
    object->mTransform.mUp = {0, 1, 0};
    object->mTransform.update();
}

void BoardGraphics3D::placePieces()
{
    if (mPieceSet == nullptr)
        return;
    for (uint32_t i = 0; i < 16; ++i)
    {
        MeshInstance* object = mPieceObjects[i].get();
        if (object == nullptr)
            continue;
        const Piece& piece = mBoard->getPieceByIndex(i);
        object->mActive = piece.isOnBoard();
        if (!piece.isOnBoard())
            continue;
        float scale = mPieceSet->getScale(piece.getRank()) * kPieceScaleUnit;
        object->mTransform.mPosition = getPieceCentre(piece.getX(), piece.getY());
        object->mTransform.mScale = {scale, scale, scale};
        object->mTransform.update();
    }
}

void BoardGraphics3D::setPieceMaterial(Piece& piece, uint32_t state)
{
    MeshInstance* object = mPieceObjects[piece.getSide() * 8 + piece.getRank()].get();
    if (object != nullptr && mPieceSet != nullptr)
        object->setAllMaterials(mPieceSet->getMaterial(piece.getRank(), piece.getSide(), state));
}

void BoardGraphics3D::updateLayout()
{
    BoardGraphics::updateLayout();
    if (!mAnimating && mReady)
        placePieces();
    if (mTurnLabel != nullptr)
    {
        ApplicationGeneric* application = getApplication();
        LangTable* table = application != nullptr ? application->getLangTable() : nullptr;
        bool loaded = table != nullptr && table->isLoaded();
        uint32_t id = mBoard->getSideToMove() == 1 ? kLangTurnOfPlayer1 : kLangTurnOfPlayer0;
        mTurnLabel->setText(loaded ? getLangText(id) : std::string());
    }
}

void BoardGraphics3D::changePieceSet(size_t index)
{
    if (!mReady)
        return;
    BoardPieceSet* set = mAssets->selectPieceSet(index);
    if (set == nullptr)
        return;
    clearSelection();
    mHovered = nullptr;
    hideMarker();
    destroyPieceObjects();
    mPieceSet = set;
    // The water depth belongs to the set.
    computeCellGeometry();
    buildPieceObjects();
    placePieces();
}

void BoardGraphics3D::playPieceSound(uint32_t rank, uint32_t sound)
{
    if (mSounds == nullptr || mPieceSet == nullptr)
        return;
    mSounds->playSound(kFirstChannel, kLastChannel, mPieceSet->getSound(rank, sound), -1, false, false);
}

void BoardGraphics3D::selectPiece(Piece& piece)
{
    clearSelection();
    mBoard->generateMoves(piece.getSide(), piece.getRank(), mSelectionMoves);
    if (mSounds != nullptr)
        mSounds->playSound(kFirstChannel, kLastChannel, kSelectSound, -1, false, false);
    mSelected = &piece;
    setPieceMaterial(piece, PIECE_SELECTED);
    if (mListener != nullptr)
        mListener->onPieceSelected(piece);
}

void BoardGraphics3D::clearSelection()
{
    if (mSelected != nullptr)
        setPieceMaterial(*mSelected, PIECE_NORMAL);
    mSelected = nullptr;
    mSelectionMoves.clear(mBoard, 0, 0);
}

ErrorCode BoardGraphics3D::pickScene(PickResult* result)
{
    return mEngine3D->pickUnderCursor(result);
}

void BoardGraphics3D::hideMarker()
{
    if (mHoverMarker != nullptr)
        mHoverMarker->mActive = false;
}

void BoardGraphics3D::updateHover(const PickResult& pick)
{
    // The previous hovered piece goes back to its resting colour.
    if (mHovered != nullptr)
        setPieceMaterial(*mHovered, mHovered == mSelected ? PIECE_SELECTED : PIECE_NORMAL);
    mHovered = nullptr;
    mHoverX = mHoverY = -1;
    if (!pick.mHit)
    {
        hideMarker();
        return;
    }
    mHovered = pieceFromPick(pick);
    if (mHovered != nullptr)
    {
        mHoverX = mHovered->getX();
        mHoverY = mHovered->getY();
    }
    else if (!cellFromPick(pick, mHoverX, mHoverY))
    {
        mHoverX = mHoverY = -1;
    }
    const Move* target = nullptr;
    if (mSelected != nullptr)
    {
        for (const Move& move : mSelectionMoves)
        {
            if (move.getTargetX() == mHoverX && move.getTargetY() == mHoverY)
                target = &move;
        }
    }
    bool canAct = canPlayerAct();
    bool ownSide = mHovered != nullptr && mHovered->getSide() == mBoard->getSideToMove();
    if (mHovered != nullptr && mHovered != mSelected)
    {
        uint32_t state = target != nullptr ? PIECE_EATABLE
                         : !ownSide        ? PIECE_OTHER
                         : canAct          ? PIECE_ROLLED
                                           : PIECE_OTHER;
        setPieceMaterial(*mHovered, state);
    }
    if (mHoverMarker == nullptr || !Board::isInside(mHoverX, mHoverY))
    {
        hideMarker();
        return;
    }
    Material* material = nullptr;
    if (target != nullptr)
        material = mTargetMaterial.get();
    else if (ownSide && canAct)
        material = mSelectableMaterial.get();
    else if (mSelected != nullptr)
        material = mMarkerModel->getMaterial(0);
    if (material == nullptr)
    {
        hideMarker();
        return;
    }
    mHoverMarker->setAllMaterials(material);
    mHoverMarker->mTransform.mPosition = getMarkerCentre(mHoverX, mHoverY);
    mHoverMarker->mTransform.update();
    mHoverMarker->mActive = true;
}

uint32_t BoardGraphics3D::onMouseEvent(const MouseEvent& event)
{
    uint32_t handled = BoardGraphics::onMouseEvent(event);
    // A press a board button took is not also a press on the board under it.
    if (handled != 0 || event.mType != MOUSE_EVENT_BUTTON_DOWN || event.mButton != MOUSE_BUTTON_LEFT ||
        !canPlayerAct())
        return handled;
    // The frame's pick is where the pointer was when the frame began; a
    // pointer moved in the same instant as the click is elsewhere by now.
    if (mReady)
    {
        PickResult pick;
        if (pickScene(&pick) != ERROR_OK)
            pick.mHit = 0;
        updateHover(pick);
    }
    if (mSelected != nullptr && Board::isInside(mHoverX, mHoverY))
    {
        for (const Move& move : mSelectionMoves)
        {
            if (move.getTargetX() == mHoverX && move.getTargetY() == mHoverY)
            {
                MoveList chosen = mSelectionMoves;
                uint32_t index = static_cast<uint32_t>(&move - mSelectionMoves.begin());
                clearSelection();
                playChosenMove(chosen[index]);
                return 1;
            }
        }
    }
    if (mHovered != nullptr && mHovered->getSide() == mBoard->getSideToMove())
    {
        selectPiece(*mHovered);
        return 1;
    }
    return handled;
}

void BoardGraphics3D::animate()
{
    BoardGraphics::animate();
    if (!mReady)
        return;
    stepCamera();
    stepAnimation();
    stepHint();
    PickResult pick;
    if (pickScene(&pick) != ERROR_OK)
    {
        showMessage("Erreur de picking");
        pick.mHit = 0;
    }
    updateHover(pick);
}

ErrorCode BoardGraphics3D::render3D()
{
    if (mEngine3D == nullptr)
        return ERROR_OK;
    // The scene first: the background picture then fills only what the
    // scene left empty, instead of being shaded whole and mostly covered.
    if (ErrorCode code = mEngine3D->render3D())
        return code;
    if (mEngine2D == nullptr || !mBackground)
        return ERROR_OK;
    if (ErrorCode code = mEngine3D->endPass3D())
        return code;
    if (ErrorCode code = mEngine2D->begin2DPassBehindScene())
        return code;
    if (ErrorCode code = mBackground->draw())
        return code;
    if (ErrorCode code = mEngine2D->end2DPass())
        return code;
    return mEngine3D->beginPass3D();
}

// Camera.

void BoardGraphics3D::nextCamera()
{
    if (!mReady)
        return;
    mCameraFrom = mCamera;
    mCameraIndex = (mCameraIndex + 1) % kCameraCount;
    mCameraMoving = true;
    mCameraTimer.start();
}

void BoardGraphics3D::stepCamera()
{
    if (!mCameraMoving)
        return;
    uint32_t t = mCameraTimer.getElapsed();
    const CameraSetup& to = mPresets[mCameraIndex];
    if (t >= kCameraBlendMs)
    {
        mCamera = to;
        mCameraMoving = false;
        return;
    }
    float f = static_cast<float>(t) * 0.001f;
    mCamera.mEye = blend(mCameraFrom.mEye, to.mEye, f);
    mCamera.mTarget = blend(mCameraFrom.mTarget, to.mTarget, f);
    mCamera.mUp = blend(mCameraFrom.mUp, to.mUp, f);
    mCamera.mFieldOfView = to.mFieldOfView;
}

// Hint.

void BoardGraphics3D::showHint()
{
    const Move* hint = computeHint();
    if (hint == nullptr || !mReady)
        return;
    Piece& piece = mBoard->getPiece(*hint->getOwner());
    endHint();
    mHintPiece = &piece;
    mHintMarkers[0]->mTransform.mPosition = getMarkerCentre(piece.getX(), piece.getY());
    mHintMarkers[1]->mTransform.mPosition = getMarkerCentre(hint->getTargetX(), hint->getTargetY());
    for (const std::unique_ptr<MeshInstance>& marker : mHintMarkers)
        marker->mTransform.update();
    mHintShown = true;
    mHintTimer.start();
}

void BoardGraphics3D::stepHint()
{
    if (!mHintShown)
        return;
    uint32_t t = mHintTimer.getElapsed();
    bool visible = t <= kHintMs && (t / 250) % 2 == 0;
    for (const std::unique_ptr<MeshInstance>& marker : mHintMarkers)
        marker->mActive = visible;
    if (t > kHintMs)
    {
        endHint();
        return;
    }
    if (mHintPiece != nullptr && mHintPiece != mHovered)
        setPieceMaterial(*mHintPiece, visible || mHintPiece == mSelected ? PIECE_SELECTED : PIECE_NORMAL);
}

void BoardGraphics3D::endHint()
{
    if (mHintShown && mHintPiece != nullptr && mHintPiece != mHovered)
        setPieceMaterial(*mHintPiece, mHintPiece == mSelected ? PIECE_SELECTED : PIECE_NORMAL);
    mHintShown = false;
    mHintPiece = nullptr;
    for (const std::unique_ptr<MeshInstance>& marker : mHintMarkers)
    {
        if (marker != nullptr)
            marker->mActive = false;
    }
}

void BoardGraphics3D::undoMove()
{
    clearSelection();
    undo();
    updateLayout();
}

// Move animation.

void BoardGraphics3D::beginMoveAnimation(Move& move)
{
    // A hint is about the position the move leaves.
    endHint();
    clearSelection();
    mAnimatedMove = move;
    mMover = move.getPiece();
    mVictim = nullptr;
    if (mMover != nullptr)
    {
        Piece* occupant = mBoard->getCell(move.getTargetX(), move.getTargetY()).mOccupant;
        if (occupant != nullptr && occupant != mMover)
            mVictim = occupant;
    }
    mAnimating = mMover != nullptr && mReady;
    mStep = 0;
    mStepStarted = false;
    mStepTimer.start();
    if (mAnimating)
        stepAnimation();
}

void BoardGraphics3D::endMoveAnimation()
{
    endHint();
    clearSelection();
    if (mHovered != nullptr)
        setPieceMaterial(*mHovered, PIECE_NORMAL);
    mHovered = nullptr;
    hideMarker();
    mAnimating = false;
    mStep = 0;
    resetGameState();
    if (mButtons[2] != nullptr)
    {
        bool network = isNetworkGame(*mBoard);
        mButtons[2]->setVisible(!network);
        mButtons[4]->setVisible(network);
        mButtons[4]->setEnabled(mListener == nullptr || !mListener->isChatWindowOpen());
        mButtons[4]->updateLayout();
    }
    arrangeBesideChat(isNetworkGame(*mBoard));
    if (mReady)
    {
        for (uint32_t i = 0; i < 16; ++i)
            applyHeading(mPieceObjects[i].get(), restingHeading(i / 8));
        placePieces();
    }
}

void BoardGraphics3D::arrangeBesideChat(bool chat)
{
    if (!mReady || mTurnLabel == nullptr || mClockDisplay == nullptr)
        return;
    const int32_t plaqueX = chat ? kPlaqueBesideChatX : kPlaque.x;
    mPlaqueCopy->setVisible(chat);
    mClockDisplay->moveTo(getX() + plaqueX + kClockOnPlaqueX, getY() + kPlaque.y + kClockOnPlaqueY, true);
    mTurnLabel->moveTo(getX() + plaqueX + kClockOnPlaqueX, getY() + kPlaque.y + kLabelOnPlaqueY, true);
    for (uint32_t i = 0; i < kCameraCount; ++i)
        mPresets[i] = chat ? framed(mOwnPresets[i], kBesideChat[i]) : mOwnPresets[i];
    // A transition under way ends on the new preset by itself.
    if (!mCameraMoving)
        mCamera = mPresets[mCameraIndex];
}

void BoardGraphics3D::startTurn(float from, float to)
{
    // The short way round.
    if (to - from >= 180.0f)
        to -= 360.0f;
    else if (from - to >= 180.0f)
        to += 360.0f;
    mTurnFrom = from;
    mTurnTo = to;
    mStepMs = static_cast<uint32_t>(std::fabs(to - from) * kMsPerDegree);
}

void BoardGraphics3D::nextStep()
{
    ++mStep;
    mStepStarted = false;
    mStepTimer.start();
}

void BoardGraphics3D::stepAnimation()
{
    // Steps that take no time run on in the same frame.
    while (mAnimating)
    {
        MeshInstance* object = mPieceObjects[mMover->getSide() * 8 + mMover->getRank()].get();
        bool rotate = mPieceSet != nullptr && mPieceSet->isRotated();
        uint32_t rank = mMover->getRank();
        switch (mStep)
        {
        case 0:
            if (!mStepStarted)
            {
                mStepStarted = true;
                playPieceSound(rank, mVictim != nullptr ? PIECE_SOUND_ATTACK : PIECE_SOUND_MOVE);
                if (!rotate)
                {
                    nextStep();
                    continue;
                }
                startTurn(restingHeading(mMover->getSide()), moveHeading(mAnimatedMove, *mMover));
            }
            break;
        case 1:
            if (!mStepStarted)
            {
                mStepStarted = true;
                mTravelFrom = getPieceCentre(mMover->getX(), mMover->getY());
                mTravelTo = getPieceCentre(mAnimatedMove.getTargetX(), mAnimatedMove.getTargetY());
                float distance = vec3Length(mTravelTo - mTravelFrom);
                bool jump = mAnimatedMove.isJump();
                mTravelHeight = 0.2f;
                if (mVictim != nullptr)
                {
                    mTravelHeight = 0.6f;
                    MeshModel* victimModel =
                        mPieceSet != nullptr ? mPieceSet->getModel(mVictim->getRank()) : nullptr;
                    if (victimModel != nullptr)
                        mTravelTo.y += (victimModel->mBoxMax.y - victimModel->mBoxMin.y) * kPieceScaleUnit;
                }
                if (jump)
                    mTravelHeight += 1.0f;
                float ms = distance * 1000.0f;
                if (jump || mVictim != nullptr)
                    ms *= 0.5f;
                mStepMs = static_cast<uint32_t>(ms);
            }
            break;
        case 2:
            if (!mStepStarted)
            {
                mStepStarted = true;
                if (mVictim == nullptr)
                {
                    nextStep();
                    continue;
                }
                playPieceSound(mVictim->getRank(), PIECE_SOUND_DEATH);
                mStepMs = kDeathMs;
            }
            break;
        case 3:
            if (!mStepStarted)
            {
                mStepStarted = true;
                if (!rotate)
                {
                    nextStep();
                    continue;
                }
                startTurn(moveHeading(mAnimatedMove, *mMover), restingHeading(mMover->getSide()));
            }
            break;
        default:
            mAnimating = false;
            return;
        }

        uint32_t t = std::min(mStepTimer.getElapsed(), mStepMs);
        float f = mStepMs > 0 ? static_cast<float>(t) / static_cast<float>(mStepMs) : 1.0f;
        if (mStep == 0 || mStep == 3)
        {
            applyHeading(object, mTurnFrom + (mTurnTo - mTurnFrom) * f);
        }
        else if (mStep == 1 && object != nullptr)
        {
            Vector3 at = blend(mTravelFrom, mTravelTo, f);
            float arc = 2 * f - 1;
            at.y += mTravelHeight * (1 - arc * arc);
            object->mTransform.mPosition = at;
            object->mTransform.update();
        }
        else if (mStep == 2)
        {
            MeshInstance* victim = mPieceObjects[mVictim->getSide() * 8 + mVictim->getRank()].get();
            if (victim != nullptr && mPieceSet != nullptr)
            {
                float scale = mPieceSet->getScale(mVictim->getRank()) * kPieceScaleUnit * (1 - f);
                Vector3 from = getPieceCentre(mVictim->getX(), mVictim->getY());
                victim->mTransform.mPosition =
                    blend(from, getPieceCentre(mAnimatedMove.getTargetX(), mAnimatedMove.getTargetY()), f);
                victim->mTransform.mScale = {scale, scale, scale};
                victim->mTransform.update();
            }
        }
        if (t < mStepMs)
            return;
        nextStep();
    }
}
