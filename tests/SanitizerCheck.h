#pragma once
// VELMORIQUE_TEST_ASAN is 1 in builds with the address sanitizer: GCC says so
// with __SANITIZE_ADDRESS__, Clang only through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define VELMORIQUE_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMORIQUE_TEST_ASAN 1
#endif
#endif
#ifndef VELMORIQUE_TEST_ASAN
#define VELMORIQUE_TEST_ASAN 0
#endif
