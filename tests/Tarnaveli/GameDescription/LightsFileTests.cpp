#include "Tarnaveli/GameDescription/LightsFile.h"

#include "FakeEngine.h"
#include "Framework/DiskFile.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

using namespace GameDescriptionTest;

namespace
{

class LightsFileTest : public ::testing::Test
{
protected:
    // Writes the bytes to a scratch file and sets the scene up from it.
    ErrorCode setUpFrom(const std::string& bytes)
    {
        std::string path = folder.path() + "lights.dat";
        std::ofstream(path, std::ios::binary) << bytes;
        return setUpSceneLights(path, lights, engine);
    }

    static std::string recordBytes(uint8_t enabled)
    {
        LightRecord record;
        record.mKind = 0;
        record.mDiffuse = 0xFF102030;
        record.mPosition[1] = 5.0f;
        record.mRange = 40.0f;
        record.mEnabled = enabled != 0;
        std::string bytes(reinterpret_cast<const char*>(&record.mKind), 4);
        bytes += std::string(4, '\0') + std::string("\x30\x20\x10\xFF", 4) + std::string(4, '\0');
        float floats[13] = {0, 5.0f, 0, 0, 0, 0, 0, 0, 0, 40.0f, 0, 0, 0};
        bytes += std::string(reinterpret_cast<const char*>(floats), sizeof floats);
        return bytes + static_cast<char>(enabled);
    }

    static FakeLight& fake(const std::unique_ptr<Light>& light) { return static_cast<FakeLight&>(*light); }

    Platform::TemporaryDirectory folder;
    FakeEngine engine;
    LightList lights;
};

} // namespace

TEST_F(LightsFileTest, TheGeneratedFileGivesItsLightsInRecordOrder)
{
    ASSERT_EQ(setUpSceneLights(VELMORIQUE_DATA_DIR "/lights.dat", lights, engine), ERROR_OK);
    DiskInputFile file(VELMORIQUE_DATA_DIR "/lights.dat");
    ASSERT_EQ(file.open(), ERROR_OK);
    std::vector<LightRecord> records;
    ASSERT_EQ(transferLightRecords(file, records), ERROR_OK);
    ASSERT_EQ(lights.size(), records.size());
    for (size_t i = 0; i < lights.size(); ++i)
    {
        FakeLight& light = fake(lights[i]);
        EXPECT_EQ(light.mKind, records[i].mKind);
        EXPECT_EQ(light.mDiffuse, records[i].mDiffuse);
        EXPECT_EQ(light.mDirection.y, records[i].mDirection[1]);
        EXPECT_EQ(light.mPhi, records[i].mPhi);
        EXPECT_EQ(light.mEnabled, records[i].mEnabled);
    }
    std::vector<std::string> firstRecord(engine.mLightLog.begin(), engine.mLightLog.begin() + 12);
    EXPECT_EQ(firstRecord, (std::vector<std::string>{"type", "ambient", "diffuse", "specular", "position",
                                                     "direction", "attenuation", "range", "falloff", "theta",
                                                     "phi", records[0].mEnabled ? "enable" : "disable"}));
}

TEST_F(LightsFileTest, AnEmptyListIsNoFailure)
{
    EXPECT_EQ(setUpFrom(std::string(4, '\0')), ERROR_OK);
    EXPECT_TRUE(lights.empty());
}

TEST_F(LightsFileTest, ALastByteOfZeroGivesALightSwitchedOff)
{
    ASSERT_EQ(setUpFrom(std::string("\x01\0\0\0", 4) + recordBytes(0)), ERROR_OK);
    ASSERT_EQ(lights.size(), 1u);
    EXPECT_FALSE(fake(lights[0]).mEnabled);
    EXPECT_EQ(fake(lights[0]).mKind, Light::POINT);
    EXPECT_EQ(fake(lights[0]).mDiffuse, 0xFF102030u);
    EXPECT_FLOAT_EQ(fake(lights[0]).mRange, 40.0f);
}

TEST_F(LightsFileTest, ACutRecordOrAMissingFileGivesOnlyTheDefaultLight)
{
    std::string twoRecords = std::string("\x02\0\0\0", 4) + recordBytes(1) + recordBytes(1);
    EXPECT_NE(setUpFrom(twoRecords.substr(0, twoRecords.size() - 1)), ERROR_OK);
    ASSERT_EQ(lights.size(), 1u);
    FakeLight& light = fake(lights[0]);
    EXPECT_EQ(light.mKind, Light::DIRECTIONAL);
    EXPECT_EQ(light.mDiffuse, 0xFF969696u);
    EXPECT_EQ(light.mSpecular, 0xFF828282u);
    EXPECT_EQ(light.mAmbient, 0xFF000000u);
    EXPECT_TRUE(light.mEnabled);
    EXPECT_FLOAT_EQ(light.mDirection.y, -1.0f / std::sqrt(1.25f));
    EXPECT_FLOAT_EQ(light.mDirection.z, 0.5f / std::sqrt(1.25f));

    lights.clear();
    EXPECT_NE(setUpSceneLights(folder.path() + "absent.dat", lights, engine), ERROR_OK);
    EXPECT_EQ(lights.size(), 1u);
}

TEST_F(LightsFileTest, AnUnknownKindIsRefused)
{
    std::string bytes = std::string("\x01\0\0\0", 4) + recordBytes(1);
    bytes[4] = 3;
    EXPECT_NE(setUpFrom(bytes), ERROR_OK);
    ASSERT_EQ(lights.size(), 1u);
    EXPECT_EQ(fake(lights[0]).mDiffuse, 0xFF969696u);
}

TEST_F(LightsFileTest, WrittenLightsReadBackTheSame)
{
    ASSERT_EQ(setUpFrom(std::string("\x01\0\0\0", 4) + recordBytes(1)), ERROR_OK);
    std::string path = folder.path() + "copy.dat";
    {
        DiskOutputFile out(path);
        ASSERT_EQ(out.open(), ERROR_OK);
        ASSERT_EQ(transferLightList(out, lights, engine), ERROR_OK);
    }
    LightList back;
    ASSERT_EQ(loadLights(path, back, engine), ERROR_OK);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(fake(back[0]).mDiffuse, 0xFF102030u);
    EXPECT_TRUE(fake(back[0]).mEnabled);
}
