#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "tools/bspatch/bz2_block_reader.h"

namespace bspatch {

struct PatchBlocks {
  Bz2BlockReader& control;
  Bz2BlockReader& diff;
  Bz2BlockReader& extra;
};

// Builds the new file, `newSize` bytes, from `old` and the patch's blocks and writes it to `outFd`
// as it goes. Checks every control entry before acting on it, and that each block ends exactly
// where the new file does. Throws std::runtime_error saying what is wrong with the patch, or
// std::system_error if writing fails. `afterWrite`, if given, is called after each write.
void applyPatch(std::span<const unsigned char> old, int64_t newSize, PatchBlocks blocks,
                int outFd, std::function<void()> afterWrite = {});

}  // namespace bspatch
