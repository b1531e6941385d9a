#pragma once
// The C library keeps the memory a program frees for its next allocations;
// after a big release (the start-up's decoding, a finished game's board) most
// of it would stay resident for nothing. These hand the free pages back to
// the system; the next allocations take fresh ones.
#include <cstdint>

namespace Platform
{

void releaseFreeMemory();

// The same once `frames` more frames have ended: the graphics driver lets go
// of the textures and buffers of a frame only once a later one replaced them.
void releaseFreeMemoryAfterFrames(uint32_t frames);
// Called by the main loop at the end of every frame (main thread).
void frameEnded();

// Every library loaded now stays mapped until the process ends, whatever
// unloads it later. The leak checker scans a library's globals only while it
// is mapped: what a graphics driver unloaded with the display still holds
// would be reported as leaks of no known module, not told apart from ours.
void keepLoadedLibraries();

} // namespace Platform
