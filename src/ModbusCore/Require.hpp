#pragma once

#include <cstdio>
#include <cstdlib>

// An always-on precondition check: a violated precondition is a programming error, so the
// process stops with the place and the reason, in release builds as well.
#define TESSARIN_REQUIRE(condition, why)                                                                  \
    do {                                                                                                  \
        if (!(condition)) [[unlikely]] {                                                                  \
            std::fprintf(stderr, "%s:%d: precondition failed: %s (%s)\n", __FILE__, __LINE__, #condition, \
                         why);                                                                            \
            std::abort();                                                                                 \
        }                                                                                                 \
    } while (false)
