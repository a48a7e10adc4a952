#pragma once

#include <cstdio>
#include <cstdlib>

// An invariant of a fuzz target: when it fails, abort so the fuzzer keeps the
// input (and the replay test fails).
#define FUZZ_CHECK(cond)                                                                      \
    do {                                                                                      \
        if (!(cond)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)
