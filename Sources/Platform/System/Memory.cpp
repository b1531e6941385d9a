#include "Platform/System/Memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace Platform
{

namespace
{
// Frames still to end before the release; 0 when none is asked for.
uint32_t gFramesBeforeRelease = 0;
} // namespace

void releaseFreeMemory()
{
#if defined(__GLIBC__)
    // 0: keep no pad at the top of the heap; every arena's wholly free pages
    // go back too, not only the heap's end.
    malloc_trim(0);
#endif
}

void releaseFreeMemoryAfterFrames(uint32_t frames)
{
    if (frames == 0)
        releaseFreeMemory();
    else if (frames > gFramesBeforeRelease)
        gFramesBeforeRelease = frames;
}

void frameEnded()
{
    if (gFramesBeforeRelease != 0 && --gFramesBeforeRelease == 0)
        releaseFreeMemory();
}

} // namespace Platform
