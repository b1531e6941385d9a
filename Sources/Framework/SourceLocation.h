#pragma once
// The place of a call, taken as a default argument (SourceLocation::current())
// so that error boxes can name the caller's line. std::source_location where
// the standard library offers it; the library's older form where the
// compiler lacks what it needs (clang before 15 with libstdc++), which gives
// the same line.
#include <version>

#if defined(__cpp_lib_source_location)
#include <source_location>
using SourceLocation = std::source_location;
#else
#include <experimental/source_location>
using SourceLocation = std::experimental::source_location;
#endif
