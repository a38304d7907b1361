#pragma once

#include <cstdio>
#include <cstdlib>

// A property of the code under test that must hold for every input. A failure aborts, which
// libFuzzer reports as a crash and saves the input, and which fails the corpus replay test.
#define FUZZ_CHECK(condition)                                                           \
  do {                                                                                  \
    if (!(condition)) {                                                                 \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                     \
    }                                                                                   \
  } while (false)
