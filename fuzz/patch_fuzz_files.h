#pragma once

// What the patch readers' fuzz targets share: the old file their seed patches were made from, and
// the patch and new files the tool reads and writes through descriptors.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "fuzz/fuzz_check.h"

namespace patch_fuzz {

/// The old file of every seed patch: the same bytes fuzz/make_*_corpus.sh write. Kept on the heap
/// rather than mapped, so that reading outside it is caught.
inline const std::vector<unsigned char>& oldFile() {
  static const std::vector<unsigned char> bytes = [] {
    std::vector<unsigned char> made;
    char line[64];
    for (int i = 0; i < 1500; ++i) {
      int length = std::snprintf(line, sizeof line, "line %05d of the old file\n", i);
      made.insert(made.end(), line, line + length);
    }
    return made;
  }();
  return bytes;
}

struct Files {
  int patch;
  int made;
};

/// An in-memory patch file holding `data` and an empty new file, reused from one input to the next.
inline Files filesFor(const uint8_t* data, size_t size) {
  static const Files files = [] {
    Files opened{memfd_create("patch", MFD_CLOEXEC), memfd_create("new", MFD_CLOEXEC)};
    FUZZ_CHECK(opened.patch >= 0 && opened.made >= 0);
    return opened;
  }();
  FUZZ_CHECK(ftruncate(files.patch, 0) == 0 && ftruncate(files.made, 0) == 0);
  FUZZ_CHECK(lseek(files.made, 0, SEEK_SET) == 0);
  for (size_t done = 0; done < size;) {
    ssize_t wrote = pwrite(files.patch, data + done, size - done, static_cast<off_t>(done));
    FUZZ_CHECK(wrote > 0);
    done += static_cast<size_t>(wrote);
  }
  return files;
}

}  // namespace patch_fuzz
