#include "Tarnaveli/BoardView/GameBoardAssets.h"

#include "Tarnaveli/GameDescription/GameDescription.h"
#include "Tarnaveli/GameDescription/LightsFile.h"

PionSet* GameBoardAssets::currentSet() const
{
    return mDescription != nullptr ? mDescription->getCurrentPionSet() : nullptr;
}

MeshModel* GameBoardAssets::getBoardModel()
{
    return mDescription != nullptr ? mDescription->getBoardModel() : nullptr;
}

MeshModel* GameBoardAssets::getBackgroundModel()
{
    return mDescription != nullptr ? mDescription->getBoardBackgroundModel() : nullptr;
}

float GameBoardAssets::getWaterDrop() const
{
    return mDescription != nullptr ? mDescription->getWaterDrop() : 0.0f;
}

float GameBoardAssets::getLandDrop() const
{
    return mDescription != nullptr ? mDescription->getLandDrop() : 0.0f;
}

BoardPieceSet* GameBoardAssets::selectPieceSet(size_t index)
{
    if (mDescription == nullptr || !mDescription->setCurrentPionSetIndex(index))
        return nullptr;
    return this;
}

ErrorCode GameBoardAssets::createLights(Engine3D& engine, std::vector<std::unique_ptr<Light>>& lights)
{
    return setUpSceneLights(mLightsFile, lights, engine);
}

bool GameBoardAssets::isRotated() const
{
    PionSet* set = currentSet();
    return set != nullptr && set->isRotated();
}

float GameBoardAssets::getWaterDepth() const
{
    PionSet* set = currentSet();
    return set != nullptr ? set->getWaterDepth() : 0.0f;
}

MeshModel* GameBoardAssets::getModel(uint32_t rank)
{
    PionSet* set = currentSet();
    return set != nullptr && rank < 8 ? set->getPionData(rank).getModelDescription().getModel() : nullptr;
}

float GameBoardAssets::getScale(uint32_t rank)
{
    PionSet* set = currentSet();
    return set != nullptr && rank < 8 ? set->getPionData(rank).getModelDescription().getScale() : 1.0f;
}

Material* GameBoardAssets::getMaterial(uint32_t rank, uint32_t side, uint32_t state)
{
    PionSet* set = currentSet();
    return set != nullptr && rank < 8 ? set->getPionData(rank).getMaterial(side, state) : nullptr;
}

uint32_t GameBoardAssets::getSound(uint32_t rank, uint32_t sound)
{
    PionSet* set = currentSet();
    return set != nullptr && rank < 8 ? set->getPionData(rank).getSound(sound) : 0;
}

// The view's numbering of display states and sounds is the piece set's.
constexpr bool sameNumber(uint32_t a, uint32_t b)
{
    return a == b;
}
static_assert(sameNumber(PIECE_NORMAL, PION_STATE_NORMAL) && sameNumber(PIECE_ROLLED, PION_STATE_ROLLED) &&
              sameNumber(PIECE_SELECTED, PION_STATE_SELECTED) &&
              sameNumber(PIECE_EATABLE, PION_STATE_EATABLE) && sameNumber(PIECE_OTHER, PION_STATE_OTHER));
static_assert(sameNumber(PIECE_SOUND_MOVE, PION_SOUND_MOVE) &&
              sameNumber(PIECE_SOUND_ATTACK, PION_SOUND_ATTACK) &&
              sameNumber(PIECE_SOUND_DEATH, PION_SOUND_DEATH));
