#pragma once

#include <cstdint>

namespace bspatch {

// Where the three blocks of a patch lie in the patch file, and the size of the file it makes.
// The layout is described at the top of patch_header.cpp.
struct PatchLayout {
  int64_t controlOffset = 0;
  int64_t controlLength = 0;
  int64_t diffOffset = 0;
  int64_t diffLength = 0;
  int64_t extraOffset = 0;
  int64_t extraLength = 0;
  int64_t newSize = 0;
};

constexpr int kHeaderSize = 32;
constexpr int kNumberSize = 8;

// Reads a number as the patch stores it: 8 bytes, sign-magnitude, least significant byte first.
int64_t decodeNumber(const unsigned char* bytes);

// Reads and checks the header of the patch open on `fd`, whose size is `patchSize`.
// Throws std::runtime_error saying what is wrong.
PatchLayout readPatchHeader(int fd, int64_t patchSize);

}  // namespace bspatch
