# Instrumented builds, for a build folder of their own (scripts/test makes build-sanitize/,
# fuzz/run makes build-fuzz/). Both apply to the whole tree: code that is not instrumented hides
# the faults that reach into it.

option(WADWRIGHT_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(WADWRIGHT_FUZZ "Build the fuzz targets for libFuzzer (clang only)" OFF)

if(WADWRIGHT_SANITIZE OR WADWRIGHT_FUZZ)
  # Undefined behaviour must fail the test that meets it, not just print a line.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WADWRIGHT_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "WADWRIGHT_FUZZ needs clang: -DCMAKE_CXX_COMPILER=clang++")
  endif()
  # Coverage for libFuzzer in every library; only the fuzz targets link its main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
