#pragma once

#include <cstdio>
#include <cstdlib>

namespace korvane::fuzz {

// Stops the run on a broken promise, so the fuzzer keeps the input that broke it.
inline void require(bool holds, const char* promise) {
    if (!holds) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

} // namespace korvane::fuzz
