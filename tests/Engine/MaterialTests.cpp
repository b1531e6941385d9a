#include "Engine/Material.h"
#include "FakeResource.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// Writes one letter per apply operation.
class LoggingMaterial final : public Material
{
public:
    using Material::operator=;
    void applyAmbient() override { log += 'a'; }
    void applyDiffuse() override { log += 'd'; }
    void applySpecular() override { log += 's'; }
    void applyEmissive() override { log += 'e'; }
    void applyPower() override { log += 'p'; }
    void applyAll() override { log += '*'; }
    std::string log;
};
} // namespace

TEST(Material, StartsBlackOpaqueWithoutTexture)
{
    LoggingMaterial material;
    EXPECT_EQ(material.getTexture(), nullptr);
    EXPECT_EQ(material.getDiffuse(), (Material::Color{0, 0, 0, 1}));
    EXPECT_EQ(material.getEmissive(), (Material::Color{0, 0, 0, 1}));
    EXPECT_EQ(material.getPower(), 0.0f);
    EXPECT_FALSE(material.ownsTexture());
}

TEST(Material, SettersStoreAndApplyTheirGroup)
{
    LoggingMaterial material;
    material.setDiffuse(1, 0.5f, 0.25f, 1);
    material.setSpecular(0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_EQ(material.getDiffuse(), (Material::Color{1, 0.5f, 0.25f, 1}));
    EXPECT_EQ(material.getSpecular(), (Material::Color{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(material.log, "ds");
}

TEST(Material, TextureIsLoadedWhileSetAndReleasedWhenOwned)
{
    bool destroyed = false;
    auto* first = new FakeResource(nullptr, 2, 2, 0);
    first->destroyed = &destroyed;
    FakeResource second(nullptr, 2, 2, 0);
    {
        LoggingMaterial material;
        EXPECT_EQ(material.setTexture(first, true), 0u);
        EXPECT_EQ(first->getLoadCount(), 1);
        EXPECT_EQ(material.setTexture(&second, false), 0u);
        EXPECT_TRUE(destroyed);
        EXPECT_EQ(second.getLoadCount(), 1);
    }
    // Not owned: unloaded, not released.
    EXPECT_EQ(second.getLoadCount(), 0);
    EXPECT_EQ(second.getRefCount(), 1);
}

TEST(Material, SettingTheSameTextureAgainKeepsItAlive)
{
    FakeResource texture(nullptr, 2, 2, 0);
    LoggingMaterial material;
    ASSERT_EQ(material.setTexture(&texture, false), 0u);
    EXPECT_EQ(material.setTexture(&texture, false), 0u);
    EXPECT_EQ(texture.getLoadCount(), 1);
    // Its data was never dropped in between.
    EXPECT_EQ(texture.loads, 1);
    EXPECT_EQ(texture.unloads, 0);

    bool destroyed = false;
    auto* owned = new FakeResource(nullptr, 2, 2, 0);
    owned->destroyed = &destroyed;
    ASSERT_EQ(material.setTexture(owned, true), 0u);
    EXPECT_EQ(material.setTexture(owned, true), 0u);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(owned->getRefCount(), 1);
    EXPECT_EQ(owned->getLoadCount(), 1);
    material.setTexture(nullptr, false);
    EXPECT_TRUE(destroyed);
}

TEST(Material, AssignmentCopiesGroupsInOrderAndNeverOwnership)
{
    auto* texture = new FakeResource(nullptr, 2, 2, 0);
    LoggingMaterial source;
    source.setTexture(texture, true);
    source.setAmbient(0.1f, 0.1f, 0.1f, 1);
    source.setDiffuse(0.2f, 0.2f, 0.2f, 1);
    source.setSpecular(0.3f, 0.3f, 0.3f, 1);
    source.setEmissive(0.4f, 0.4f, 0.4f, 1);
    source.setPower(12);
    {
        LoggingMaterial copy;
        Material& target = copy;
        target = source;
        EXPECT_EQ(copy.log, "adsep*");
        EXPECT_EQ(copy.getTexture(), texture);
        EXPECT_FALSE(copy.ownsTexture());
        EXPECT_EQ(copy.getEmissive(), source.getEmissive());
        EXPECT_EQ(copy.getPower(), 12.0f);
        EXPECT_EQ(texture->getLoadCount(), 2);
    }
    EXPECT_EQ(texture->getRefCount(), 1);
    EXPECT_EQ(texture->getLoadCount(), 1);
}
