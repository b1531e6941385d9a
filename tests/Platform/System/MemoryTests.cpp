#include "Platform/System/Memory.h"

#include "../../ResidentMemory.h"
#include "../../SanitizerCheck.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

// 64 MB written in blocks too small for a mapping of their own, then freed
// but the last, which holds the heap's end: only a release of the free pages
// inside the heap gives them back. Returns the last block.
void* leaveFreePagesInTheHeap()
{
    constexpr size_t kBlock = 4000;
    std::vector<void*> blocks(64u * 1024 * 1024 / kBlock);
    for (void*& block : blocks)
    {
        block = std::malloc(kBlock);
        std::memset(block, 1, kBlock);
    }
    for (size_t i = 0; i + 1 < blocks.size(); ++i)
        std::free(blocks[i]);
    return blocks.back();
}

} // namespace

TEST(ReleaseFreeMemory, FreePagesGoBackOnceTheAskedFramesHaveEnded)
{
#if !defined(__GLIBC__)
    GTEST_SKIP() << "only the GNU C library keeps freed pages this way";
#endif
    if (VELMORIQUE_TEST_ASAN)
        GTEST_SKIP() << "the sanitizer's allocator keeps pages of its own";
    void* pin = leaveFreePagesInTheHeap();
    const double before = residentMb();

    Platform::releaseFreeMemoryAfterFrames(2);
    Platform::frameEnded();
    EXPECT_GT(residentMb(), before - 16) << "released a frame early";
    Platform::frameEnded();
    EXPECT_LT(residentMb(), before - 32) << "not released after the second frame";

    // A shorter request does not cut a longer one short.
    std::free(pin);
    pin = leaveFreePagesInTheHeap();
    const double again = residentMb();
    Platform::releaseFreeMemoryAfterFrames(3);
    Platform::releaseFreeMemoryAfterFrames(1);
    Platform::frameEnded();
    Platform::frameEnded();
    EXPECT_GT(residentMb(), again - 16);
    Platform::frameEnded();
    EXPECT_LT(residentMb(), again - 32);
    std::free(pin);
}
