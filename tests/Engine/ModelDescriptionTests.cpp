#include "Engine/ModelDescription.h"
#include "FakeEngine3D.h"

#include <gtest/gtest.h>

using namespace EngineTest;

namespace
{
class ModelDescriptionTest : public ::testing::Test
{
protected:
    void SetUp() override { engine.init(); }
    FakeEngine3D engine;
};
} // namespace

TEST_F(ModelDescriptionTest, InstancesShareOneLoadOfTheirModel)
{
    CountingModel model;
    model.setFileName("data\\models\\a.X");
    auto first = std::unique_ptr<MeshInstance>(model.createInstance());
    auto second = std::unique_ptr<MeshInstance>(model.createInstance());
    EXPECT_EQ(model.loads, 1);
    first.reset();
    EXPECT_EQ(model.unloads, 0);
    second.reset();
    EXPECT_EQ(model.unloads, 1);
    EXPECT_EQ(model.getUseCount(), 0u);
}

TEST_F(ModelDescriptionTest, AModelBuiltInCodeIsNeverUnloadedByItsInstances)
{
    CountingModel model;
    delete model.createInstance();
    EXPECT_EQ(model.loads, 1);
    EXPECT_EQ(model.unloads, 0);
}

TEST_F(ModelDescriptionTest, InstanceMaterialsCoverTheModelsSubsets)
{
    CountingModel model(3);
    auto instance = std::unique_ptr<MeshInstance>(model.createInstance());
    EXPECT_EQ(instance->getSubsetCount(), 3u);
    FakeMaterial own;
    Material* marker = &own;
    EXPECT_EQ(instance->setAllMaterials(marker), 3u);
    EXPECT_EQ(instance->getEffectiveMaterial(2), marker);
    instance->setMaterial(1, nullptr);
    EXPECT_EQ(instance->getEffectiveMaterial(1), nullptr);
    // Outside the subsets: nothing, never a read past the list.
    instance->setMaterial(7, marker);
    EXPECT_EQ(instance->getMaterial(7), nullptr);
    EXPECT_EQ(instance->getParent(), engine.getSceneRoot());
}

TEST_F(ModelDescriptionTest, MaterialCopiesTakeTheOverrideElseTheModelsMaterial)
{
    CountingModel model(3);
    model.setSubsetMaterial(0, new FakeMaterial());
    model.getMaterial(0)->setDiffuse(0.1f, 0.2f, 0.3f, 1.0f);
    model.setSubsetMaterial(1, new FakeMaterial());
    model.getMaterial(1)->setDiffuse(0.5f, 0.5f, 0.5f, 1.0f);
    auto instance = std::unique_ptr<MeshInstance>(model.createInstance());
    FakeMaterial own;
    own.setDiffuse(0.9f, 0.8f, 0.7f, 0.5f);
    own.setPower(12.0f);
    instance->setMaterial(1, &own);

    std::vector<std::unique_ptr<Material>> copies;
    copies.push_back(std::make_unique<FakeMaterial>());
    EXPECT_EQ(instance->copyMaterials(engine, copies), 3u);
    ASSERT_EQ(copies.size(), 4u);
    EXPECT_EQ(copies[1]->getDiffuse(), (Material::Color{0.1f, 0.2f, 0.3f, 1.0f}));
    EXPECT_EQ(copies[2]->getDiffuse(), (Material::Color{0.9f, 0.8f, 0.7f, 0.5f}));
    EXPECT_EQ(copies[2]->getPower(), 12.0f);
    // Copies, not the materials themselves: changing one leaves the source.
    copies[2]->setPower(1.0f);
    EXPECT_EQ(own.getPower(), 12.0f);
    EXPECT_NE(copies[1].get(), model.getMaterial(0));
    // The third subset has no material anywhere: a fresh one stands in.
    EXPECT_EQ(copies[3]->getDiffuse(), FakeMaterial().getDiffuse());
}

TEST_F(ModelDescriptionTest, PreloadingHoldsTheModelAndScalesInstances)
{
    ModelDescription description;
    auto* model = static_cast<CountingModel*>(description.getModel());
    ASSERT_NE(model, nullptr);
    model->setFileName("data\\models\\piece.X");
    description.setScale(2.5f);
    EXPECT_EQ(description.setPreloaded(true), 0u);
    EXPECT_EQ(description.setPreloaded(true), 0u);
    EXPECT_EQ(model->loads, 1);
    auto instance = std::unique_ptr<MeshInstance>(description.createInstance());
    EXPECT_EQ(instance->mTransform.mScale, (Platform::Vector3{2.5f, 2.5f, 2.5f}));
    EXPECT_EQ(model->loads, 1);
    instance.reset();
    EXPECT_EQ(model->unloads, 0);
    EXPECT_EQ(description.setPreloaded(false), 0u);
    EXPECT_EQ(model->unloads, 1);
}

TEST_F(ModelDescriptionTest, PreloadReturnsTheLoadCode)
{
    ModelDescription description;
    auto* model = static_cast<CountingModel*>(description.getModel());
    model->loadCode = ERROR_FILENOTFOUND;
    EXPECT_EQ(description.setPreloaded(true), uint32_t(ERROR_FILENOTFOUND));
}

TEST(ModelDescriptionWithoutEngine, HasNoModelAndMakesNoInstance)
{
    ModelDescription description;
    EXPECT_EQ(description.getModel(), nullptr);
    EXPECT_EQ(description.createInstance(), nullptr);
    EXPECT_EQ(description.setPreloaded(true), 0u);
}
