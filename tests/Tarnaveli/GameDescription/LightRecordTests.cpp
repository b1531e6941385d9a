#include "Framework/DiskFile.h"
#include "Tarnaveli/GameDescription/LightRecord.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

class VectorOutput final : public OutputStream
{
public:
    ErrorCode transfer(void* address, uint32_t byteCount) override
    {
        auto* bytes = static_cast<uint8_t*>(address);
        data.insert(data.end(), bytes, bytes + byteCount);
        return ERROR_OK;
    }
    ErrorCode seek(uint32_t) override { return ERROR_INVALID; }
    uint32_t tell() override { return static_cast<uint32_t>(data.size()); }
    bool isAtEnd() override { return true; }
    std::vector<uint8_t> data;
};

LightRecord sampleRecord()
{
    LightRecord record;
    record.mKind = 1;
    record.mAmbient = 0x11223344;
    record.mDiffuse = 0xFF969696;
    record.mSpecular = 0x80FF4000;
    record.mPosition[0] = 1.5f;
    record.mDirection[2] = -1.0f;
    record.mAttenuation[1] = 0.25f;
    record.mRange = 100.0f;
    record.mFalloff = 1.0f;
    record.mTheta = 0.5f;
    record.mPhi = 0.75f;
    record.mEnabled = true;
    return record;
}

} // namespace

TEST(LightRecord, RecordsAreSixtyNineBytesInFieldOrder)
{
    std::vector<LightRecord> records{sampleRecord(), LightRecord()};
    VectorOutput out;
    ASSERT_EQ(transferLightRecords(out, records), ERROR_OK);
    ASSERT_EQ(out.data.size(), 4u + 2 * 69u);
    EXPECT_EQ(out.data[0], 2);
    EXPECT_EQ(out.data[4], 1);      // kind
    EXPECT_EQ(out.data[8], 0x44);   // ambient, little-endian
    EXPECT_EQ(out.data[4 + 68], 1); // switched on
    EXPECT_EQ(out.data[4 + 69 + 68], 0);

    MemoryInputStream in(out.data.data(), static_cast<uint32_t>(out.data.size()));
    std::vector<LightRecord> back;
    ASSERT_EQ(transferLightRecords(in, back), ERROR_OK);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].mSpecular, 0x80FF4000u);
    EXPECT_FLOAT_EQ(back[0].mPhi, 0.75f);
    EXPECT_FLOAT_EQ(back[0].mAttenuation[1], 0.25f);
    EXPECT_TRUE(back[0].mEnabled);
    EXPECT_FALSE(back[1].mEnabled);
}

TEST(LightRecord, CountsBeyondTheBytesOrTheLimitAreRefused)
{
    std::vector<LightRecord> records{sampleRecord()};
    VectorOutput out;
    ASSERT_EQ(transferLightRecords(out, records), ERROR_OK);
    std::vector<LightRecord> back;
    // One byte short of the record.
    MemoryInputStream cut(out.data.data(), static_cast<uint32_t>(out.data.size() - 1));
    EXPECT_NE(transferLightRecords(cut, back), ERROR_OK);

    std::vector<uint8_t> huge(4 + 69 * 70, 0);
    huge[0] = 70;
    MemoryInputStream tooMany(huge.data(), static_cast<uint32_t>(huge.size()));
    EXPECT_NE(transferLightRecords(tooMany, back), ERROR_OK);
    EXPECT_TRUE(back.empty());

    uint8_t empty[4] = {0, 0, 0, 0};
    MemoryInputStream none(empty, 4);
    EXPECT_EQ(transferLightRecords(none, back), ERROR_OK);
    EXPECT_TRUE(back.empty());
}

TEST(LightRecord, TheGeneratedLightsFileReads)
{
    DiskInputFile file(VELMORIQUE_DATA_DIR "/lights.dat");
    ASSERT_EQ(file.open(), ERROR_OK);
    std::vector<LightRecord> records;
    ASSERT_EQ(transferLightRecords(file, records), ERROR_OK);
    EXPECT_FALSE(records.empty());
    EXPECT_EQ(file.bytesLeft(), 0u);
    for (const LightRecord& record : records)
        EXPECT_LE(record.mKind, 2u);
}
