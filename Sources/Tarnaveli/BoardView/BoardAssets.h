#pragma once
// What the 3D board view draws and plays that the game description and the
// lights file provide: the board models, the piece sets and the scene
// lights. The game supplies its description through this; tests supply
// models of their own.
#include "Framework/ErrorCodes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class Engine3D;
class Light;
class Material;
class MeshModel;

// How a piece is shown; one material per side and state.
enum PieceDisplayState : uint32_t
{
    PIECE_NORMAL = 0,
    PIECE_ROLLED = 1,
    PIECE_SELECTED = 2,
    PIECE_EATABLE = 3,
    PIECE_OTHER = 4
};

enum PieceSound : uint32_t
{
    PIECE_SOUND_MOVE = 0,
    PIECE_SOUND_ATTACK = 1,
    PIECE_SOUND_DEATH = 2
};

class BoardPieceSet
{
public:
    virtual ~BoardPieceSet() = default;
    // Turned pieces face their heading; side 1 rests facing -z.
    virtual bool isRotated() const = 0;
    // In scene units: how much lower than other water-cell markers pieces stand.
    virtual float getWaterDepth() const = 0;
    // Rank 0 (rat) to 7 (elephant).
    virtual MeshModel* getModel(uint32_t rank) = 0;
    virtual float getScale(uint32_t rank) = 0;
    virtual Material* getMaterial(uint32_t rank, uint32_t side, uint32_t state) = 0;
    // A sound id of the sound manager; 0 plays nothing.
    virtual uint32_t getSound(uint32_t rank, uint32_t sound) = 0;
};

class BoardAssets
{
public:
    virtual ~BoardAssets() = default;
    // Loaded, centred on their box.
    virtual MeshModel* getBoardModel() = 0;
    virtual MeshModel* getBackgroundModel() = 0;
    // Below the top of the board model's box: water cells' and others' centres.
    virtual float getWaterDrop() const = 0;
    virtual float getLandDrop() const = 0;
    // Makes the set current; null when there is no such set.
    virtual BoardPieceSet* selectPieceSet(size_t index) = 0;
    // The scene lights, made by the engine; the view owns and deletes them.
    virtual ErrorCode createLights(Engine3D& engine, std::vector<std::unique_ptr<Light>>& lights) = 0;
};
