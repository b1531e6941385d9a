#include "Tarnaveli/GameDescription/LightRecord.h"

ErrorCode LightRecord::serialize(BinaryStream& stream)
{
    ErrorCode code = stream.transferValue(mKind);
    if (code == ERROR_OK)
        code = stream.transferValue(mAmbient);
    if (code == ERROR_OK)
        code = stream.transferValue(mDiffuse);
    if (code == ERROR_OK)
        code = stream.transferValue(mSpecular);
    for (float* group : {mPosition, mDirection, mAttenuation})
        for (int i = 0; i < 3 && code == ERROR_OK; ++i)
            code = stream.transferValue(group[i]);
    for (float* value : {&mRange, &mFalloff, &mTheta, &mPhi})
        if (code == ERROR_OK)
            code = stream.transferValue(*value);
    if (code == ERROR_OK)
        code = stream.transferBool(mEnabled);
    return code;
}

ErrorCode transferLightCount(BinaryStream& stream, uint32_t& count)
{
    ErrorCode code = stream.transferValue(count);
    if (code != ERROR_OK || !stream.isReading())
        return code;
    auto* input = dynamic_cast<InputStream*>(&stream);
    if (count > LightRecord::kMaxCount ||
        (input != nullptr && uint64_t{count} * LightRecord::kSize > input->bytesLeft()))
        return ERROR_FILEIO_READERROR;
    return ERROR_OK;
}

ErrorCode transferLightRecords(BinaryStream& stream, std::vector<LightRecord>& records)
{
    uint32_t count = static_cast<uint32_t>(records.size());
    ErrorCode code = transferLightCount(stream, count);
    if (code != ERROR_OK)
        return code;
    if (stream.isReading())
        records.assign(count, LightRecord());
    for (LightRecord& record : records)
    {
        code = record.serialize(stream);
        if (code != ERROR_OK)
            return code;
    }
    return ERROR_OK;
}
