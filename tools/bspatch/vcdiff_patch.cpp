// A patch in VCDIFF (RFC 3284) as Debian's xdelta3 writes it. No library packaged for us reads
// these: open-vcdiff refuses secondary compression, and xdelta3 is a program, not a library, under
// the GPL. Decoding is small, so it is ours.
//
// Integers ("int") are RFC 3284's: big-endian base 128, the top bit of each byte set on all but the
// last. The file:
//
//   bytes   contents
//   4       D6 C3 C4 (magic), 00 (version 0; RFC 3284 knows no other)
//   1       Hdr_Indicator: 1 secondary compressor id follows, 2 own code table, 4 application header
//   [1]     secondary compressor id: 2 LZMA (xdelta3's; 1 DJW and 16 FGK are refused)
//   [int+n] own code table: refused; xdelta3 writes the default one
//   [int+n] application header: xdelta3's "target/compressor/source/compressor" names; skipped
//   then windows, up to the end of the file, each:
//   1       Win_Indicator: 1 source segment (from the old file), 2 target segment (refused; xdelta3
//           never writes one), 4 Adler-32 follows (xdelta3's own addition)
//   [int]   source segment size  } if 1 or 2
//   [int]   source segment position in the old file  }
//   int     length of the delta encoding: everything below, to the window's end
//   int     target window size: the bytes of the new file this window makes
//   1       Delta_Indicator: 1 data, 2 instructions, 4 addresses section compressed
//   int     data section length
//   int     instructions section length
//   int     addresses section length
//   [4]     Adler-32 of the target window, big-endian, if Win_Indicator has 4
//   n       data section: bytes for ADD and RUN
//   n       instructions section: code table indexes, each maybe followed by sizes (ints)
//   n       addresses section: COPY addresses (ints, or single bytes in the "same" modes)
//
// A compressed section is an int, its plain size, and then the compressed bytes: for LZMA one
// continuation of an .xz stream, one stream per kind of section across all windows (see
// vcdiff_sections.cpp). How the instructions make the target window is in vcdiff_window.cpp.

#include "tools/bspatch/vcdiff_patch.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "tools/common/positioned_read.h"

namespace bspatch::vcdiff {

namespace {

enum : unsigned { kHdrSecondary = 1, kHdrCodeTable = 2, kHdrAppHeader = 4 };
enum : unsigned { kWinSource = 1, kWinTarget = 2, kWinChecksum = 4 };

std::string text(int64_t value) { return std::to_string(value); }

}  // namespace

size_t readAt(int fd, unsigned char* buffer, size_t size, int64_t offset) {
  size_t done = 0;
  while (done < size) {
    const ssize_t got = pread(fd, buffer + done, size - done, offset + static_cast<int64_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw std::runtime_error(std::string("cannot read: ") + std::strerror(errno));
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

const char* sectionName(int section) {
  static const char* const names[] = {"data section", "instructions section", "addresses section"};
  return names[section];
}

bool readLongInteger(const unsigned char*& at, const unsigned char* end, int64_t& value) {
  value = 0;
  while (at < end) {
    const unsigned char byte = *at++;
    if (value > (INT64_MAX >> 7)) throw std::runtime_error("holds a number too large for any file");
    value = (value << 7) | (byte & 0x7F);
    if (!(byte & 0x80)) return true;
  }
  return false;
}

Patch::Patch(int fd, int64_t size) : fd_(fd), size_(size) {
  unsigned char head[16];
  const size_t got = readAt(fd, head, sizeof head, 0);
  const unsigned char* at = head + 4;
  const unsigned char* end = head + got;
  const auto cut = [] { return std::runtime_error("ends inside its header"); };
  if (got < kMagic.size() || std::memcmp(head, kMagic.data(), kMagic.size()) != 0) {
    throw std::runtime_error("not a VCDIFF patch");
  }
  if (got < 4) throw cut();
  if (head[3] != 0) {
    throw std::runtime_error("is VCDIFF of a version this tool does not know (" + text(head[3]) +
                             "); it reads version 0, which xdelta3 writes");
  }
  if (got < 5) throw cut();
  const unsigned indicator = *at++;
  if (indicator & ~(kHdrSecondary | kHdrCodeTable | kHdrAppHeader)) {
    throw std::runtime_error("has header flags this tool does not know (" + text(indicator) + ")");
  }
  if (indicator & kHdrSecondary) {
    if (at == end) throw cut();
    const unsigned id = *at++;
    if (id == 1 || id == 16) {
      throw std::runtime_error(std::string("is compressed with ") + (id == 1 ? "DJW" : "FGK") +
                               ", which this tool does not read; make it with xdelta3 -S lzma or -S none");
    }
    if (id != 2) throw std::runtime_error("names a compressor this tool does not know (" + text(id) + ")");
    secondary_ = Secondary::Lzma;
  }
  if (indicator & kHdrCodeTable) {
    throw std::runtime_error("brings its own code table, which this tool does not read; xdelta3 never writes one");
  }
  int64_t position = at - head;
  if (indicator & kHdrAppHeader) {
    int64_t length;
    if (!readInteger(at, end, length)) throw cut();
    position = at - head;
    if (length > size - position) throw cut();
    position += length;
  }
  firstWindow_ = position;
}

Window Patch::window(std::span<const unsigned char> bytes, int64_t offset, int64_t number, int64_t oldSize) const {
  const unsigned char* head = bytes.data();
  const unsigned char* at = head;
  const unsigned char* end = head + bytes.size();
  // Made only for a message: a patch may hold millions of windows.
  const auto name = [number] { return "window " + text(number); };
  // A header that the file ends inside is no window at all.
  const auto noWindow = [&] {
    const std::string after = number == 1 ? "its header" : "window " + text(number - 1);
    return std::runtime_error("has " + text(size_ - offset) + " bytes after " + after +
                              " that make no window");
  };
  const auto read = [&](int64_t& value) {
    if (!readInteger(at, end, value)) throw noWindow();
  };

  Window w;
  w.number = number;
  w.offset = offset;
  if (at == end) throw noWindow();
  const unsigned indicator = *at++;
  if (indicator & ~(kWinSource | kWinTarget | kWinChecksum)) {
    throw std::runtime_error(name() + " has flags this tool does not know (" + text(indicator) + ")");
  }
  if (indicator & kWinTarget) {
    throw std::runtime_error(name() + " copies from the new file (VCD_TARGET), which xdelta3 never writes " +
                             "and this tool does not read");
  }
  if (indicator & kWinSource) {
    read(w.segmentSize);
    read(w.segmentPosition);
    if (w.segmentSize > oldSize || w.segmentPosition > oldSize - w.segmentSize) {
      // Their sum may not fit in 63 bits, so the message names both.
      throw std::runtime_error(name() + " copies from " + text(w.segmentSize) + " bytes at " + text(w.segmentPosition) +
                               " of the old file, which has only " + text(oldSize) +
                               ": the patch does not fit this old file");
    }
  }
  int64_t encodingLength;
  read(encodingLength);
  const int64_t encodingStart = offset + (at - head);
  if (encodingLength > size_ - encodingStart) {
    throw std::runtime_error(name() + " is cut short: it says " + text(encodingLength) +
                             " bytes follow, the file has " + text(size_ - encodingStart));
  }
  // Its sections are read whole: each is at most about the size of the window it makes.
  if (encodingLength > 3 * kMaxWindowSize) {
    throw std::runtime_error(name() + " is " + text(encodingLength) +
                             " bytes long; this tool takes up to 192 MiB");
  }
  w.end = encodingStart + encodingLength;
  read(w.targetSize);
  if (w.targetSize > kMaxWindowSize) {
    throw std::runtime_error(name() + " makes " + text(w.targetSize) +
                             " bytes at once; this tool takes windows of up to 64 MiB");
  }
  if (at == end) throw noWindow();
  const unsigned delta = *at++;
  if (delta & ~7u) throw std::runtime_error(name() + " has compression flags this tool does not know");
  for (int s = 0; s < kSectionCount; ++s) {
    read(w.sectionLength[s]);
    w.compressed[s] = (delta >> s) & 1;
    if (w.compressed[s] && secondary_ == Secondary::None) {
      throw std::runtime_error(name() + " has a compressed " + sectionName(s) +
                               " but the patch names no compressor");
    }
  }
  w.hasChecksum = indicator & kWinChecksum;
  if (w.hasChecksum) {
    if (end - at < 4) throw noWindow();
    w.checksum = uint32_t{at[0]} << 24 | uint32_t{at[1]} << 16 | uint32_t{at[2]} << 8 | at[3];
    at += 4;
  }
  int64_t place = offset + (at - head);
  for (int s = 0; s < kSectionCount; ++s) {
    if (w.sectionLength[s] > w.end - place) {
      throw std::runtime_error(name() + "'s " + sectionName(s) + " is longer than the window says it is");
    }
    w.sectionOffset[s] = place;
    place += w.sectionLength[s];
  }
  if (place != w.end) throw std::runtime_error(name() + "'s sections end before the window does");
  return w;
}

}  // namespace bspatch::vcdiff
