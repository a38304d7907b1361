#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "tools/bspatch/vcdiff_patch.h"

namespace bspatch::vcdiff {

// Goes through a patch's windows in order, reading the patch in large pieces: a patch of many small
// windows takes one read for thousands of them, not a few for each.
class WindowReader {
 public:
  // Against an old file of `oldSize` bytes.
  WindowReader(const Patch& patch, int64_t oldSize);

  // Reads and checks the next window's header into `window`; false after the last window.
  // Throws std::runtime_error as Patch::window() does.
  bool next(Window& window);

  // Puts into `stored` the stored sections of `window`, the one next() gave last, end to end.
  void sections(const Window& window, std::vector<unsigned char>& stored);

 private:
  // [offset, offset + length) of the patch, or as much of it as the patch holds.
  std::span<const unsigned char> bytes(int64_t offset, int64_t length);

  const Patch& patch_;
  int64_t oldSize_;
  int64_t offset_;
  int64_t number_ = 0;
  std::unique_ptr<unsigned char[]> buffer_;
  int64_t capacity_ = 0;
  int64_t bufferStart_ = 0, bufferLength_ = 0;  // which bytes of the patch the buffer holds
};

// Walks every window's header, checking each: the size of the file `patch` makes from an old file
// of `oldSize` bytes. Throws std::runtime_error as Patch::window() does.
int64_t newFileSize(const Patch& patch, int64_t oldSize);

}  // namespace bspatch::vcdiff
