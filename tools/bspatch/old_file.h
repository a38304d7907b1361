#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace bspatch {

// The old file, mapped whole and read-only: the patch may take its bytes from anywhere, in any
// order, and mapping spares copying them (and faulting in a private copy, which is slow).
// Should the file shrink while mapped, reading it raises SIGBUS; we then remove the pending new
// file, say so and exit.
class OldFile {
 public:
  // Throws std::runtime_error if the file cannot be opened or mapped.
  explicit OldFile(const std::string& path);
  ~OldFile();
  OldFile(const OldFile&) = delete;
  OldFile& operator=(const OldFile&) = delete;

  std::span<const unsigned char> bytes() const { return {data_, size_}; }
  // Lets go of the pages of `part` (of bytes()) read so far, so that the program's memory holds
  // only those read since.
  void releasePages(std::span<const unsigned char> part) const;

 private:
  const unsigned char* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace bspatch
