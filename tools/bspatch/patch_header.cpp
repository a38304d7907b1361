// A patch in the bsdiff 4 format, the one Debian's bsdiff writes:
//
//   offset    length  contents
//   0         8       "BSDIFF40"
//   8         8       X = length of the bzip2'd control block
//   16        8       Y = length of the bzip2'd diff block
//   24        8       size of the new file
//   32        X       control block, bzip2'd
//   32+X      Y       diff block, bzip2'd
//   32+X+Y    rest    extra block, bzip2'd
//
// Every number is 8 bytes, least significant first, sign-magnitude: the top bit of the last byte
// is the sign, the other 63 bits the magnitude.
//
// The control block is a series of triples (add, copy, seek), 24 bytes each. For each triple:
// take `add` bytes from the diff block, add to each the old file's byte at the same place counted
// from the current old position (nothing where that place is outside the old file), and write
// them out; write the next `copy` bytes of the extra block out unchanged; then move the old
// position by `add + seek`. The new file is done when its declared size has been written.

#include "tools/bspatch/patch_header.h"

#include "tools/common/positioned_read.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace bspatch {

namespace {

constexpr char kMagic[] = "BSDIFF40";

}  // namespace

int64_t decodeNumber(const unsigned char* bytes) {
  uint64_t magnitude = 0;
  for (int i = kNumberSize - 1; i >= 0; --i) magnitude = (magnitude << 8) | bytes[i];
  const bool negative = (magnitude >> 63) != 0;
  magnitude &= ~(uint64_t{1} << 63);
  // The magnitude has 63 bits, so it always fits and so does its negation.
  return negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
}

PatchLayout readPatchHeader(int fd, int64_t patchSize) {
  if (patchSize < kHeaderSize) {
    throw std::runtime_error("too short for a patch (" + std::to_string(patchSize) +
                             " bytes; the header alone takes 32)");
  }
  unsigned char header[kHeaderSize];
  ssize_t got;
  do {
    got = pread(fd, header, sizeof header, 0);
  } while (got < 0 && errno == EINTR);
  if (got < 0) throw std::runtime_error(std::string("cannot read: ") + std::strerror(errno));
  if (got != kHeaderSize) throw std::runtime_error("shrank while being read");

  if (std::memcmp(header, kMagic, kNumberSize) != 0) {
    throw std::runtime_error("not a bsdiff 4 patch (it does not start with \"BSDIFF40\")");
  }

  PatchLayout layout;
  layout.controlLength = decodeNumber(header + 8);
  layout.diffLength = decodeNumber(header + 16);
  layout.newSize = decodeNumber(header + 24);
  if (layout.controlLength < 0 || layout.diffLength < 0 || layout.newSize < 0) {
    throw std::runtime_error("header holds a negative length");
  }
  // Both lengths are below 2^63 and the file is no larger, so these sums cannot overflow
  // once each length is known to fit.
  const int64_t blocksRoom = patchSize - kHeaderSize;
  if (layout.controlLength > blocksRoom || layout.diffLength > blocksRoom - layout.controlLength) {
    throw std::runtime_error("header says the control and diff blocks take " +
                             std::to_string(layout.controlLength) + " + " +
                             std::to_string(layout.diffLength) + " bytes, but only " +
                             std::to_string(blocksRoom) + " follow it");
  }
  layout.controlOffset = kHeaderSize;
  layout.diffOffset = layout.controlOffset + layout.controlLength;
  layout.extraOffset = layout.diffOffset + layout.diffLength;
  layout.extraLength = patchSize - layout.extraOffset;
  return layout;
}

}  // namespace bspatch
