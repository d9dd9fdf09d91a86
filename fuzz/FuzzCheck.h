#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the fuzz run with a message when an invariant of the code under test is broken.
inline void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken invariant: %s\n", what);
        std::abort();
    }
}
