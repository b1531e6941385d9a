#pragma once
// The sounds built into the program (made by the build from the generated
// sounds): registered as the program's own sounds, which the WAVE reader
// plays when no file of that name exists.
void registerBuiltInSounds();
