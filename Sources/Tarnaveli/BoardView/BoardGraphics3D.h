#pragma once
// The board view the game uses: the board and the sixteen animals in the 3D
// scene, picking of the cell or piece under the cursor, pieces coloured by
// their state, a marker on the hovered cell (green on a target of the
// selected piece), moves animated in steps (turn, travel, the victim's
// death, turn back) with the animals' sounds, four camera viewpoints, hint
// markers, and the background picture drawn behind the scene.
#include "Engine/Engine3D.h"
#include "Framework/Timer.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/BoardView/BoardAssets.h"
#include "Tarnaveli/BoardView/BoardGraphics.h"

#include <array>
#include <memory>
#include <vector>

class Engine2D;
class Image2D;
class Label;
class TimeDisplay;
class TextButton;
class Light;
class MeshInstance;
class MeshModel;
class Piece;
class SoundManager;
class Texture;

// Where the view finds its engines and data. Null engines and sounds are
// the application's services.
struct BoardViewServices
{
    Engine3D* engine3D = nullptr;
    Engine2D* engine2D = nullptr;
    SoundManager* sounds = nullptr;
    BoardAssets* assets = nullptr;
    // Drawn behind the scene at its natural size; null: the application's
    // image 24, and none without an application.
    Texture* backgroundPicture = nullptr;
    size_t pieceSet = 0;
};

class BoardGraphics3D : public BoardGraphics
{
public:
    static constexpr float kModelScale = 0.04f;
    static constexpr uint32_t kCameraCount = 4;
    static constexpr uint32_t kStartCamera = 2;
    static constexpr uint32_t kCameraBlendMs = 1000;
    static constexpr uint32_t kDeathMs = 250;
    static constexpr uint32_t kHintMs = 2000;
    // Sound of a selection.
    static constexpr uint32_t kSelectSound = 6;
    static constexpr uint32_t kButtonCount = 5;

    BoardGraphics3D(Board* board, const Rect& rect, BoardViewListener* listener,
                    const BoardViewServices& services);
    ~BoardGraphics3D() override;

    // False when the hover marker or the board models could not be made:
    // the game then cannot be shown.
    bool isReady() const { return mReady; }

    void updateLayout() override;
    void animate() override;
    uint32_t onMouseEvent(const MouseEvent& event) override;
    void beginMoveAnimation(Move& move) override;
    void endMoveAnimation() override;
    bool isMoveAnimationFinished() override { return !mAnimating; }
    ErrorCode render3D() override;
    // The chat window has closed.
    void enableChatButton() override;

    // Another piece set: the animals are made again from it.
    void changePieceSet(size_t index);
    void selectPiece(Piece& piece);
    void clearSelection();
    // Enables or disables the five board buttons.
    void setButtonsEnabled(bool enabled);
    // In a network game the chat window stands over the plaque at the top:
    // the clock and the turn label move beside it onto a copy of the
    // plaque, and the cameras frame the board under it.
    void arrangeBesideChat(bool chat);
    // The board buttons' actions.
    void nextCamera();
    void showHint();
    void undoMove();

    // Cell geometry, in scene units; index x + 9y.
    const Platform::Vector3& getMarkerCentre(int32_t x, int32_t y) const { return mMarkerCentres[Board::cellIndex(x, y)]; }
    const Platform::Vector3& getPieceCentre(int32_t x, int32_t y) const { return mPieceCentres[Board::cellIndex(x, y)]; }
    float getCellWidth() const { return mCellWidth; }
    float getCellDepth() const { return mCellDepth; }
    // The cell of a pick on the board model; false when the pick hit
    // something else or fell outside the cells.
    bool cellFromPick(const PickResult& pick, int32_t& x, int32_t& y) const;
    // The piece whose scene object was hit, or null.
    Piece* pieceFromPick(const PickResult& pick) const;

    MeshInstance* getPieceObject(uint32_t side, uint32_t rank) const
    {
        return mPieceObjects[side * 8 + rank].get();
    }
    MeshInstance* getBoardObject() const { return mBoardObject.get(); }
    MeshInstance* getHoverMarker() const { return mHoverMarker.get(); }
    MeshInstance* getHintMarker(uint32_t i) const { return mHintMarkers[i].get(); }
    Material* getTargetMaterial() const { return mTargetMaterial.get(); }
    Material* getSelectableMaterial() const { return mSelectableMaterial.get(); }
    MeshModel* getMarkerModel() const { return mMarkerModel.get(); }
    bool isPieceSelected() const { return mSelected != nullptr; }
    Piece* getSelectedPiece() const { return mSelected; }
    const MoveList& getSelectionMoves() const { return mSelectionMoves; }
    uint32_t getAnimationStep() const { return mStep; }
    uint32_t getCameraIndex() const { return mCameraIndex; }
    const CameraSetup& getCamera() const { return mCamera; }
    const std::vector<std::unique_ptr<Light>>& getLights() const { return mLights; }
    bool isHintShown() const { return mHintShown; }
    Piece* getHintPiece() const { return mHintShown ? mHintPiece : nullptr; }
    Label* getTurnLabel() const { return mTurnLabel; }
    TimeDisplay* getClockDisplay() const { return mClockDisplay; }
    // 0 camera, 1 hint, 2 undo, 3 menu, 4 chat.
    TextButton* getButton(uint32_t i) const { return i < kButtonCount ? mButtons[i] : nullptr; }

protected:
    // The pick of the frame, under the cursor; tests pick at a point.
    virtual ErrorCode pickScene(PickResult* result);

private:
    ErrorCode buildHoverMarker();
    void buildButtons();
    void buildPieceObjects();
    void destroyPieceObjects();
    void computeCellGeometry();
    void placePieces();
    void setPieceMaterial(Piece& piece, uint32_t state);
    void updateHover(const PickResult& pick);
    void hideMarker();
    void playPieceSound(uint32_t rank, uint32_t sound);

    void stepCamera();
    void stepAnimation();
    void stepHint();
    void endHint();
    // Heading of the piece's resting pose and of a move, in degrees.
    void startTurn(float from, float to);
    void applyHeading(MeshInstance* object, float degrees);
    void nextStep();

    Engine3D* mEngine3D = nullptr;
    Engine2D* mEngine2D = nullptr;
    SoundManager* mSounds = nullptr;
    BoardAssets* mAssets = nullptr;
    BoardPieceSet* mPieceSet = nullptr;
    bool mReady = false;

    std::unique_ptr<MeshInstance> mBoardObject;
    std::unique_ptr<MeshInstance> mBackgroundObject;
    std::array<std::unique_ptr<MeshInstance>, 16> mPieceObjects;

    std::array<Platform::Vector3, Board::kCellCount> mMarkerCentres{};
    std::array<Platform::Vector3, Board::kCellCount> mPieceCentres{};
    float mCellWidth = 0;
    float mCellDepth = 0;
    Platform::Vector3 mCentre00;

    std::unique_ptr<MeshModel> mMarkerModel;
    std::unique_ptr<MeshInstance> mHoverMarker;
    std::array<std::unique_ptr<MeshInstance>, 2> mHintMarkers;
    std::unique_ptr<Material> mTargetMaterial;
    std::unique_ptr<Material> mSelectableMaterial;
    std::unique_ptr<Image2D> mBackground;

    Piece* mSelected = nullptr;
    MoveList mSelectionMoves;
    Piece* mHovered = nullptr;
    int32_t mHoverX = -1;
    int32_t mHoverY = -1;

    bool mHintShown = false;
    Timer mHintTimer;
    // The piece the hint moves: its marker lies under it, so the piece
    // itself blinks with the markers.
    Piece* mHintPiece = nullptr;

    bool mAnimating = false;
    uint32_t mStep = 0;
    Timer mStepTimer;
    Move mAnimatedMove;
    Piece* mMover = nullptr;
    Piece* mVictim = nullptr;
    Platform::Vector3 mTravelFrom;
    Platform::Vector3 mTravelTo;
    float mTravelHeight = 0;
    uint32_t mStepMs = 0;
    float mTurnFrom = 0;
    float mTurnTo = 0;
    bool mStepStarted = false;

    // The presets as the view starts with them, and as they are framed now.
    std::array<CameraSetup, kCameraCount> mOwnPresets{};
    std::array<CameraSetup, kCameraCount> mPresets{};
    CameraSetup mCamera;
    CameraSetup mCameraFrom;
    uint32_t mCameraIndex = kStartCamera;
    bool mCameraMoving = false;
    Timer mCameraTimer;

    std::vector<std::unique_ptr<Light>> mLights;
    // Children of the view.
    Component* mPlaqueCopy = nullptr;
    Label* mTurnLabel = nullptr;
    TimeDisplay* mClockDisplay = nullptr;
    std::array<TextButton*, kButtonCount> mButtons{};
};
