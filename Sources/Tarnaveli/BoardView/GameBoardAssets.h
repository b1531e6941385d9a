#pragma once
// The game description's board models and current piece set, and the
// lights file, as the 3D board view's assets.
#include "Tarnaveli/BoardView/BoardAssets.h"

#include <string>

class GameDescription;
class PionSet;

class GameBoardAssets final : public BoardAssets, public BoardPieceSet
{
public:
    static constexpr const char* kLightsFile = "data\\lights.dat";

    // Not owned: the game keeps its description for the whole run.
    explicit GameBoardAssets(GameDescription* description, std::string lightsFile = kLightsFile)
        : mDescription(description), mLightsFile(std::move(lightsFile))
    {
    }

    MeshModel* getBoardModel() override;
    MeshModel* getBackgroundModel() override;
    float getWaterDrop() const override;
    float getLandDrop() const override;
    BoardPieceSet* selectPieceSet(size_t index) override;
    // The lights of the file, or one default light when it cannot be read.
    ErrorCode createLights(Engine3D& engine, std::vector<std::unique_ptr<Light>>& lights) override;

    bool isRotated() const override;
    float getWaterDepth() const override;
    MeshModel* getModel(uint32_t rank) override;
    float getScale(uint32_t rank) override;
    Material* getMaterial(uint32_t rank, uint32_t side, uint32_t state) override;
    uint32_t getSound(uint32_t rank, uint32_t sound) override;

private:
    PionSet* currentSet() const;

    GameDescription* mDescription;
    std::string mLightsFile;
};
