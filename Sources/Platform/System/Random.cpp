#include "Platform/System/Random.h"

#include <atomic>

namespace Platform
{
namespace
{
std::atomic<uint32_t> gState{1};
}

void seedRandom(uint32_t seed)
{
    gState.store(seed, std::memory_order_relaxed);
}

int random()
{
    uint32_t state = gState.load(std::memory_order_relaxed) * 214013u + 2531011u;
    gState.store(state, std::memory_order_relaxed);
    return static_cast<int>((state >> 16) & 0x7FFF);
}

} // namespace Platform
