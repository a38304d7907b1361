// xdelta3's LZMA sections: each kind of section (data, instructions, addresses) is one .xz stream
// (check None, one LZMA2 filter) that xdelta3 flushes with LZMA_SYNC_FLUSH at the end of every
// window and never finishes. So the stream's header comes only in the first window that compresses
// that kind of section, and each later window's section continues where the last one stopped.
// A compressed section is an int, its plain size, then its share of the stream, which must give
// exactly that many bytes and be used up.

#include "tools/bspatch/vcdiff_sections.h"

#include <new>
#include <stdexcept>
#include <string>

namespace bspatch::vcdiff {

namespace {

// xdelta3 uses a 256 KiB dictionary; this leaves room for any preset without letting a patch
// make us allocate without bound.
constexpr uint64_t kMemoryLimit = 256u << 20;

}  // namespace

SectionReader::~SectionReader() {
  for (int s = 0; s < kSectionCount; ++s) {
    if (started_[s]) lzma_end(&streams_[s]);
  }
}

std::span<const unsigned char> SectionReader::plain(const Window& window, int section,
                                                    std::span<const unsigned char> stored,
                                                    std::vector<unsigned char>& out) {
  if (!window.compressed[section]) return stored;
  const auto fail = [&](const std::string& what) {
    return std::runtime_error("window " + std::to_string(window.number) + "'s " + sectionName(section) + " " + what);
  };
  const unsigned char* at = stored.data();
  int64_t size;
  if (!readInteger(at, stored.data() + stored.size(), size)) throw fail("is cut short");
  // Every section is at most about as large as the window it makes; xdelta3 never compresses an empty one.
  if (size == 0 || size > kMaxWindowSize) throw fail("says it holds " + std::to_string(size) + " bytes");

  lzma_stream& stream = streams_[section];
  if (!started_[section]) {
    const lzma_ret started = lzma_stream_decoder(&stream, kMemoryLimit, LZMA_TELL_NO_CHECK);
    if (started == LZMA_MEM_ERROR) throw std::bad_alloc();
    if (started != LZMA_OK) throw std::runtime_error("cannot start the LZMA decoder");
    started_[section] = true;
  }
  out.resize(static_cast<size_t>(size));
  stream.next_in = at;
  stream.avail_in = static_cast<size_t>(stored.data() + stored.size() - at);
  stream.next_out = out.data();
  stream.avail_out = out.size();
  while (stream.avail_out > 0) {
    const size_t inBefore = stream.avail_in, outBefore = stream.avail_out;
    const lzma_ret result = lzma_code(&stream, LZMA_RUN);
    if (result == LZMA_MEMLIMIT_ERROR) throw fail("needs more than 256 MiB to decompress");
    if (result == LZMA_MEM_ERROR) throw std::bad_alloc();
    if (result == LZMA_STREAM_END) break;
    if (result != LZMA_OK && result != LZMA_NO_CHECK) throw fail("is damaged (not the LZMA data it should be)");
    if (stream.avail_in == inBefore && stream.avail_out == outBefore) break;  // wants bytes it has not got
  }
  if (stream.avail_out > 0) {
    throw fail("gives " + std::to_string(out.size() - stream.avail_out) + " of the " + std::to_string(out.size()) +
               " bytes it says it holds");
  }
  if (stream.avail_in > 0) throw fail("holds more than its " + std::to_string(out.size()) + " bytes");
  return out;
}

}  // namespace bspatch::vcdiff
