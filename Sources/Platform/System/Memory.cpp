#include "Platform/System/Memory.h"

#include <dlfcn.h>
#include <link.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <string>
#include <vector>

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

void keepLoadedLibraries()
{
    std::vector<std::string> names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* list)
        {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] != 0)
                static_cast<std::vector<std::string>*>(list)->push_back(info->dlpi_name);
            return 0;
        },
        &names);
    for (const std::string& name : names)
        dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
}

} // namespace Platform
