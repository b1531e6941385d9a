#pragma once
// Constants shared by every layer of the program.

// The text of any language lookup made while the application or its
// language table is not there.
inline constexpr const char* TEXT_UNAVAILABLE = "Text unavailable - ApplicationGeneric object not loaded";

// A distance larger than any in the scenes: the square root of the largest
// float, so that its square still fits.
inline constexpr float VERY_LARGE_DISTANCE = 1.8446744e19f;
