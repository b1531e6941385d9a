// data\lights.dat is read from the disk at every game start: any bytes must
// give either the lights or a clean error.
#include "Tarnaveli/GameDescription/LightRecord.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > UINT32_MAX)
        return 0;
    MemoryInputStream stream(data, static_cast<uint32_t>(size));
    std::vector<LightRecord> records;
    ErrorCode code = transferLightRecords(stream, records);
    if (code == ERROR_OK && records.size() > LightRecord::kMaxCount)
        __builtin_trap();
    return 0;
}
