#pragma once

#include <lzma.h>

#include <cstdint>
#include <span>
#include <vector>

#include "tools/bspatch/vcdiff_patch.h"

namespace bspatch::vcdiff {

// Turns a window's sections, as stored, into their plain bytes. xdelta3 compresses each kind of
// section as one LZMA stream running through all windows, so the decoders live as long as the patch.
class SectionReader {
 public:
  explicit SectionReader(Secondary secondary) : secondary_(secondary) {}
  ~SectionReader();
  SectionReader(const SectionReader&) = delete;
  SectionReader& operator=(const SectionReader&) = delete;

  // The plain bytes of `section` of `window`, whose stored bytes are `stored`: those themselves, or
  // decompressed into `buffer`. Throws std::runtime_error naming the window and section if they
  // cannot be decompressed, std::bad_alloc if memory runs out. Each kind of section must be given
  // window after window, one call at a time; different kinds may be given on different threads.
  std::span<const unsigned char> plain(const Window& window, int section, std::span<const unsigned char> stored,
                                       std::vector<unsigned char>& buffer);

 private:
  Secondary secondary_;
  lzma_stream streams_[kSectionCount] = {LZMA_STREAM_INIT, LZMA_STREAM_INIT, LZMA_STREAM_INIT};
  bool started_[kSectionCount] = {};
};

}  // namespace bspatch::vcdiff
