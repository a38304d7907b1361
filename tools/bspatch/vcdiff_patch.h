#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace bspatch::vcdiff {

// A VCDIFF patch starts with these three bytes, then its version; the layout is described at the top
// of vcdiff_patch.cpp.
constexpr std::array<unsigned char, 3> kMagic = {0xD6, 0xC3, 0xC4};

// The most bytes a window's header takes: indicator, five ints of at most 9 bytes, a byte, three
// ints, a checksum.
constexpr int kMaxWindowHeader = 1 + 5 * 9 + 1 + 3 * 9 + 4;

// A window makes at most this many bytes of the new file, so that a patch cannot make us hold more.
// xdelta3 writes 8 MiB windows unless told otherwise.
constexpr int64_t kMaxWindowSize = int64_t{64} << 20;

enum class Secondary { None, Lzma };

// The three sections of a window's delta encoding, in the order they are stored.
enum Section { kData, kInstructions, kAddresses, kSectionCount };
const char* sectionName(int section);

struct Window {
  int64_t number = 0;      // counted from 1, for messages
  int64_t offset = 0;      // of its first byte in the patch
  int64_t end = 0;         // just past its last byte
  int64_t segmentPosition = 0;
  int64_t segmentSize = 0;  // of the old file's bytes it copies from; 0 if none
  int64_t targetSize = 0;   // bytes of the new file it makes
  bool compressed[kSectionCount] = {};
  int64_t sectionOffset[kSectionCount] = {};
  int64_t sectionLength[kSectionCount] = {};
  bool hasChecksum = false;
  uint32_t checksum = 0;  // Adler-32 of the bytes it makes
};

// A VCDIFF patch open on `fd`, `size` bytes long: its header, read and checked on construction,
// and its windows, each read on request. Every method throws std::runtime_error saying what is wrong.
class Patch {
 public:
  Patch(int fd, int64_t size);

  Secondary secondary() const { return secondary_; }
  int64_t firstWindow() const { return firstWindow_; }
  int64_t size() const { return size_; }
  int fd() const { return fd_; }

  // Reads and checks the header of window `number` from `head`, the patch's bytes from `offset` on
  // (kMaxWindowHeader of them, or all up to the end of the patch), against an old file of `oldSize`
  // bytes; its sections must lie inside the patch.
  Window window(std::span<const unsigned char> head, int64_t offset, int64_t number, int64_t oldSize) const;

 private:
  int fd_;
  int64_t size_;
  Secondary secondary_ = Secondary::None;
  int64_t firstWindow_ = 0;
};

// Reads up to `size` bytes of the file `fd` at `offset`, fewer only at its end. Throws
// std::runtime_error if reading fails.
size_t readAt(int fd, unsigned char* buffer, size_t size, int64_t offset);

// Reads an RFC 3284 integer from [*at, end): big-endian base 128, the top bit of each byte saying
// another follows. Returns false if it runs past `end`; throws if it does not fit in 63 bits.
bool readLongInteger(const unsigned char*& at, const unsigned char* end, int64_t& value);
inline bool readInteger(const unsigned char*& at, const unsigned char* end, int64_t& value) {
  if (at < end && *at < 0x80) {  // most are below 128: one byte
    value = *at++;
    return true;
  }
  return readLongInteger(at, end, value);
}

}  // namespace bspatch::vcdiff
