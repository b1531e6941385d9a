#include "Platform/System/ByteReader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using Platform::ByteReader;

TEST(ByteReader, ReadsLittleEndianFieldsInOrder)
{
    const uint8_t bytes[] = {0x01, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xAA, 0xBB};
    ByteReader reader(bytes);
    EXPECT_EQ(reader.u8(), 0x01);
    EXPECT_EQ(reader.u16(), 0x1234);
    EXPECT_EQ(reader.u32(), 0x12345678u);
    EXPECT_EQ(reader.left(), 2u);
    const uint8_t* rest = reader.bytes(2);
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(rest[1], 0xBB);
    EXPECT_TRUE(reader.ok());
    EXPECT_EQ(reader.left(), 0u);
}

TEST(ByteReader, AShortReadGivesZeroMovesNothingAndSticks)
{
    const uint8_t bytes[] = {0xFF, 0xFF, 0xFF, 0x02};
    ByteReader reader(bytes);
    EXPECT_EQ(reader.u8(), 0xFF);
    EXPECT_EQ(reader.u32(), 0u); // three bytes left
    EXPECT_FALSE(reader.ok());
    EXPECT_EQ(reader.left(), 3u);
    EXPECT_EQ(reader.position(), bytes + 1);
    // What would fit is refused too once the reader has failed.
    EXPECT_EQ(reader.u8(), 0u);
    EXPECT_EQ(reader.bytes(0), nullptr);
    EXPECT_EQ(reader.u16At(0), 0u);
    EXPECT_EQ(reader.left(), 3u);
}

TEST(ByteReader, ReadsAtAnOffsetWithoutMovingAndRefusesPastTheEnd)
{
    const uint8_t bytes[] = {0, 0, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12};
    ByteReader reader(bytes);
    EXPECT_EQ(reader.u16At(2), 0x1234);
    EXPECT_EQ(reader.u32At(4), 0x12345678u);
    EXPECT_EQ(reader.left(), sizeof bytes);
    EXPECT_TRUE(reader.ok());

    ByteReader past(bytes);
    EXPECT_EQ(past.u32At(5), 0u);
    EXPECT_FALSE(past.ok());
    // An offset that would wrap the address around is refused, not read.
    ByteReader wrapping(bytes);
    EXPECT_EQ(wrapping.u16At(std::numeric_limits<size_t>::max()), 0u);
    EXPECT_FALSE(wrapping.ok());
}

TEST(ByteReader, NoBytesAtAllReadNothing)
{
    ByteReader reader(nullptr, 0);
    // Nothing is always there: its place is the (null) start.
    EXPECT_EQ(reader.bytes(0), nullptr);
    EXPECT_TRUE(reader.ok());
    EXPECT_EQ(reader.u8(), 0u);
    EXPECT_FALSE(reader.ok());
}
