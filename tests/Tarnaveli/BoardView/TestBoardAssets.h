#pragma once
// The board and animal models the build generates, as the 3D board view's
// assets, and a view that picks what the test puts under the cursor.
#include "Engine/Engine3D.h"
#include "Engine/Light.h"
#include "Engine/MeshModel.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// The pieces of the build's data, one material per rank, side and state so
// that a test can tell which state a piece shows.
class TestAssets final : public BoardAssets, public BoardPieceSet
{
public:
    static constexpr const char* kAnimals[8] = {"rat",      "chat",  "loup", "chien",
                                                "panthere", "tigre", "lion", "elephant"};

    explicit TestAssets(Engine3D& engine)
    {
        board = loadModel(engine, "data\\models\\boardZorvad\\plateau.X", true);
        background = loadModel(engine, "data\\models\\boardZorvad\\plateau_fond.X", true);
        for (uint32_t rank = 0; rank < 8; ++rank)
        {
            pieces[rank] =
                loadModel(engine, std::string("data\\models\\pions\\") + kAnimals[rank] + ".X", false);
            pieces[rank]->setOrigin({0, pieces[rank]->mBoxMin.y, 0});
            for (uint32_t side = 0; side < 2; ++side)
            {
                for (uint32_t state = 0; state < 5; ++state)
                    materials[rank][side][state].reset(engine.createMaterial());
            }
        }
    }
    ~TestAssets() override
    {
        for (auto& model : pieces)
            model->removeUser();
        board->removeUser();
        background->removeUser();
    }

    static std::unique_ptr<MeshModel> loadModel(Engine3D& engine, const std::string& file, bool centre)
    {
        std::unique_ptr<MeshModel> model(engine.createMeshModel());
        model->setFileName(file);
        EXPECT_EQ(model->addUser(), 0u) << file;
        if (centre)
            model->setOrigin((model->mBoxMin + model->mBoxMax) * 0.5f);
        return model;
    }

    MeshModel* getBoardModel() override { return board.get(); }
    MeshModel* getBackgroundModel() override { return background.get(); }
    float getWaterDrop() const override { return 0.1f; }
    float getLandDrop() const override { return 0.02f; }
    BoardPieceSet* selectPieceSet(size_t index) override { return index == 0 ? this : nullptr; }
    ErrorCode createLights(Engine3D& engine, std::vector<std::unique_ptr<Light>>& lights) override
    {
        if (lightsResult != ERROR_OK)
            return lightsResult;
        lights.emplace_back(engine.createLight());
        lights.back()->setType(Light::DIRECTIONAL);
        return ERROR_OK;
    }

    bool isRotated() const override { return rotate; }
    float getWaterDepth() const override { return waterDepth; }
    MeshModel* getModel(uint32_t rank) override { return pieces[rank].get(); }
    float getScale(uint32_t rank) override { return 1.0f + 0.1f * static_cast<float>(rank); }
    Material* getMaterial(uint32_t rank, uint32_t side, uint32_t state) override
    {
        return materials[rank][side][state].get();
    }
    // Rank r's move, attack and death sounds are 10 + 3r, 11 + 3r, 12 + 3r.
    uint32_t getSound(uint32_t rank, uint32_t sound) override { return 10 + 3 * rank + sound; }

    bool rotate = true;
    float waterDepth = 0.08f;
    ErrorCode lightsResult = ERROR_OK;
    std::unique_ptr<MeshModel> board;
    std::unique_ptr<MeshModel> background;
    std::unique_ptr<MeshModel> pieces[8];
    std::unique_ptr<Material> materials[8][2][5];
};

// Picks what the test puts under the cursor.
class TestBoardView final : public BoardGraphics3D
{
public:
    using BoardGraphics3D::BoardGraphics3D;
    ErrorCode pickScene(PickResult* result) override
    {
        *result = nextPick;
        return ERROR_OK;
    }
    PickResult nextPick;
};
