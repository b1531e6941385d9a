#pragma once
// One light of the board scene as data/lights.dat stores it: 69 bytes,
// little-endian, every field one transfer in this order. The file is a u32
// count followed by that many records, no header and no trailer. The record
// is plain data so that the file can be read (and checked) without a 3D
// engine; LightsFile.h moves records into and out of the engine's lights.
#include "Framework/BinaryStream.h"

#include <cstdint>
#include <vector>

struct LightRecord
{
    static constexpr uint32_t kSize = 69;
    // More lights than any scene of the game uses; a count above it is a
    // damaged file, refused before anything is made.
    static constexpr uint32_t kMaxCount = 64;

    uint32_t mKind = 2; // 0 point, 1 spot, 2 directional
    uint32_t mAmbient = 0;
    uint32_t mDiffuse = 0;
    uint32_t mSpecular = 0;
    float mPosition[3] = {};
    float mDirection[3] = {};
    float mAttenuation[3] = {};
    float mRange = 0;
    float mFalloff = 0;
    float mTheta = 0;
    float mPhi = 0;
    bool mEnabled = false;

    // Returns the first non-zero code of the stream.
    ErrorCode serialize(BinaryStream& stream);
};

// The u32 count that opens the file. Reading refuses a count above
// kMaxCount or one the bytes left in the stream cannot hold (14), so a
// caller can size its list before reading the records.
ErrorCode transferLightCount(BinaryStream& stream, uint32_t& count);
// The whole file: count, then the records.
ErrorCode transferLightRecords(BinaryStream& stream, std::vector<LightRecord>& records);
