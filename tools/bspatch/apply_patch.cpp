#include "tools/bspatch/apply_patch.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>

#include "tools/bspatch/patch_header.h"

namespace bspatch {

namespace {

constexpr size_t kOutputBufferSize = 1024 * 1024;
constexpr size_t kControlEntrySize = 3 * kNumberSize;

// Collects the new file's bytes and writes them out in large pieces.
class OutputBuffer {
 public:
  OutputBuffer(int fd, std::function<void()> afterWrite)
      : fd_(fd),
        afterWrite_(std::move(afterWrite)),
        buffer_(std::make_unique_for_overwrite<unsigned char[]>(kOutputBufferSize)) {}

  // Room for at least one byte at the end of the buffer, flushing first if it is full.
  size_t room() {
    if (used_ == kOutputBufferSize) flush();
    return kOutputBufferSize - used_;
  }
  // Hands out the next `size` (<= room()) bytes of the buffer for the caller to fill.
  unsigned char* append(size_t size) {
    unsigned char* place = buffer_.get() + used_;
    used_ += size;
    return place;
  }
  void flush() {
    size_t done = 0;
    while (done < used_) {
      const ssize_t wrote = write(fd_, buffer_.get() + done, used_ - done);
      if (wrote < 0) {
        if (errno == EINTR) continue;
        throw std::system_error(errno, std::generic_category(), "cannot write the new file");
      }
      done += static_cast<size_t>(wrote);
    }
    used_ = 0;
    if (afterWrite_) afterWrite_();
  }

 private:
  int fd_;
  std::function<void()> afterWrite_;
  std::unique_ptr<unsigned char[]> buffer_;
  size_t used_ = 0;
};

class Patcher {
 public:
  Patcher(std::span<const unsigned char> old, int64_t newSize, PatchBlocks blocks, int outFd,
          std::function<void()> afterWrite)
      : old_(old), newSize_(newSize), blocks_(blocks), out_(outFd, std::move(afterWrite)) {}

  void run() {
    // bsdiff writes at most one entry per byte of the new file, plus one. Holding to that stops
    // a small patch that decodes to endless empty entries from keeping us busy for long.
    const int64_t maxEntries = newSize_ + 1;
    int64_t entries = 0;
    while (newPos_ < newSize_) {
      unsigned char raw[kControlEntrySize];
      const size_t got = blocks_.control.read(raw, sizeof raw);
      if (got == 0) {
        throw std::runtime_error("control block ends after " + std::to_string(newPos_) +
                                 " bytes of the " + std::to_string(newSize_) +
                                 "-byte new file");
      }
      if (got < sizeof raw) throw std::runtime_error("control block ends inside an entry");
      if (++entries > maxEntries) {
        throw std::runtime_error("control block holds more entries than a " +
                                 std::to_string(newSize_) + "-byte file can need");
      }
      entry_ = entries;
      apply(decodeNumber(raw), decodeNumber(raw + 8), decodeNumber(raw + 16));
    }
    blocks_.control.expectEnd();
    blocks_.diff.expectEnd();
    blocks_.extra.expectEnd();
    out_.flush();
  }

 private:
  void apply(int64_t add, int64_t copy, int64_t seek) {
    if (add < 0 || copy < 0) fail("has a negative length");
    if (add > newSize_ - newPos_ || copy > newSize_ - newPos_ - add) {
      fail("goes past the end of the new file");
    }
    int64_t afterAdd;
    if (__builtin_add_overflow(oldPos_, add, &afterAdd)) fail("moves the old position too far");
    addDiff(add);
    oldPos_ = afterAdd;
    newPos_ += add;
    copyExtra(copy);
    newPos_ += copy;
    if (__builtin_add_overflow(oldPos_, seek, &oldPos_)) fail("moves the old position too far");
  }

  // Writes `length` diff bytes, each plus the old byte at the same offset from oldPos_.
  void addDiff(int64_t length) {
    int64_t oldPos = oldPos_;  // the caller checked that oldPos_ + length does not overflow
    while (length > 0) {
      const auto piece = blocks_.diff.next(std::min<int64_t>(length, out_.room()));
      if (piece.empty()) throw std::runtime_error("diff block ends before the control block does");
      unsigned char* dst = out_.append(piece.size());
      std::memcpy(dst, piece.data(), piece.size());
      // Only the part that falls inside the old file gets old bytes added.
      const int64_t size = static_cast<int64_t>(piece.size());
      const int64_t oldSize = static_cast<int64_t>(old_.size());
      const int64_t from = std::max<int64_t>(oldPos, 0);
      const int64_t to = std::min<int64_t>(oldPos + size, oldSize);
      if (from < to) {
        unsigned char* target = dst + (from - oldPos);
        const unsigned char* source = old_.data() + from;
        for (int64_t i = 0; i < to - from; ++i) target[i] += source[i];
      }
      oldPos += size;
      length -= size;
    }
  }

  void copyExtra(int64_t length) {
    while (length > 0) {
      const auto piece = blocks_.extra.next(std::min<int64_t>(length, out_.room()));
      if (piece.empty()) {
        throw std::runtime_error("extra block ends before the control block does");
      }
      std::memcpy(out_.append(piece.size()), piece.data(), piece.size());
      length -= static_cast<int64_t>(piece.size());
    }
  }

  [[noreturn]] void fail(const char* what) {
    throw std::runtime_error("control entry " + std::to_string(entry_) + " " + what);
  }

  std::span<const unsigned char> old_;
  int64_t newSize_;
  PatchBlocks blocks_;
  OutputBuffer out_;
  int64_t newPos_ = 0;
  int64_t oldPos_ = 0;
  int64_t entry_ = 0;
};

}  // namespace

void applyPatch(std::span<const unsigned char> old, int64_t newSize, PatchBlocks blocks,
                int outFd, std::function<void()> afterWrite) {
  Patcher(old, newSize, blocks, outFd, std::move(afterWrite)).run();
}

}  // namespace bspatch
