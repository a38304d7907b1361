#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "tools/bspatch/vcdiff_patch.h"

namespace bspatch::vcdiff {

// The plain sections of one window.
struct WindowSections {
  std::span<const unsigned char> data, instructions, addresses;
};

// Runs `window`'s instructions, with the default code table, to fill `target` (its target size)
// from `source` (its source segment) and `sections`. Throws std::runtime_error naming the window if
// an instruction reaches outside the source segment or the target so far, or the instructions do not
// make exactly the target and use up exactly every section. `made`, if given, is told how many bytes
// of `target` are made, which stay as they are, every `step` bytes or so.
void decodeWindow(const Window& window, std::span<const unsigned char> source, WindowSections sections,
                  std::span<unsigned char> target, const std::function<void(size_t made)>& made = {},
                  size_t step = 0);

// Adler-32 (RFC 1950) of `bytes`, as xdelta3 records it for each window; or, given the sum of the
// bytes before them as `sum`, of those and `bytes`.
uint32_t adler32(std::span<const unsigned char> bytes, uint32_t sum = 1);

}  // namespace bspatch::vcdiff
