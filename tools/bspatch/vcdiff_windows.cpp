#include "tools/bspatch/vcdiff_windows.h"

#include <algorithm>
#include <stdexcept>

namespace bspatch::vcdiff {

namespace {

// Reads below this size cost more in calls than in copying.
constexpr int64_t kReadSize = 256 << 10;

}  // namespace

WindowReader::WindowReader(const Patch& patch, int64_t oldSize)
    : patch_(patch), oldSize_(oldSize), offset_(patch.firstWindow()) {}

bool WindowReader::next(Window& window) {
  if (offset_ >= patch_.size()) return false;
  window = patch_.window(bytes(offset_, kMaxWindowHeader), offset_, ++number_, oldSize_);
  offset_ = window.end;
  return true;
}

void WindowReader::sections(const Window& window, std::vector<unsigned char>& stored) {
  const int64_t start = window.sectionOffset[kData], length = window.end - start;
  stored.resize(static_cast<size_t>(length));
  size_t got;
  const bool buffered = start >= bufferStart_ && start + length <= bufferStart_ + bufferLength_;
  if (buffered || length < kReadSize) {
    const auto buffered = bytes(start, length);
    std::copy(buffered.begin(), buffered.end(), stored.begin());
    got = buffered.size();
  } else {
    got = readAt(patch_.fd(), stored.data(), stored.size(), start);  // large: straight where it goes
  }
  if (got != stored.size()) throw std::runtime_error("shrank while being read");
}

std::span<const unsigned char> WindowReader::bytes(int64_t offset, int64_t length) {
  if (offset < bufferStart_ || offset + length > bufferStart_ + bufferLength_) {
    const int64_t want = std::min(std::max(length, kReadSize), patch_.size() - offset);
    if (want > capacity_) {
      buffer_.reset();  // before the larger one: the memory of the largest window, not of two
      buffer_ = std::make_unique_for_overwrite<unsigned char[]>(static_cast<size_t>(want));
      capacity_ = want;
    }
    bufferStart_ = offset;
    bufferLength_ = static_cast<int64_t>(readAt(patch_.fd(), buffer_.get(), static_cast<size_t>(want), offset));
  }
  const int64_t have = std::min(length, bufferStart_ + bufferLength_ - offset);
  return {buffer_.get() + (offset - bufferStart_), static_cast<size_t>(std::max<int64_t>(have, 0))};
}

int64_t newFileSize(const Patch& patch, int64_t oldSize) {
  WindowReader reader(patch, oldSize);
  int64_t total = 0;
  for (Window window; reader.next(window);) total += window.targetSize;
  return total;
}

}  // namespace bspatch::vcdiff
