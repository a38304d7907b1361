// The patch tool's reading of a VCDIFF patch: whatever the patch holds, applying it to the old file
// either writes exactly the size its windows declare or stops with a message, reading nothing
// outside the old file.
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "tools/bspatch/apply_vcdiff.h"
#include "tools/bspatch/vcdiff_patch.h"

namespace {

// Windows of up to 64 MiB are allowed; a few bytes can declare them, and larger new files would
// only slow the runs down. Every seed's fits.
constexpr int64_t kMaxNewSize = 1 << 20;

// The old file of every seed patch: the same bytes fuzz/make_vcdiff_corpus.sh writes. Kept on
// the heap rather than mapped, so that reading outside it is caught.
const std::vector<unsigned char>& oldFile() {
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

int memoryFile(const char* name) {
  int fd = memfd_create(name, MFD_CLOEXEC);
  FUZZ_CHECK(fd >= 0);
  return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const int patchFd = memoryFile("patch");
  static const int newFd = memoryFile("new");
  FUZZ_CHECK(ftruncate(patchFd, 0) == 0 && ftruncate(newFd, 0) == 0);
  FUZZ_CHECK(lseek(newFd, 0, SEEK_SET) == 0);
  for (size_t done = 0; done < size;) {
    ssize_t wrote = pwrite(patchFd, data + done, size - done, static_cast<off_t>(done));
    FUZZ_CHECK(wrote > 0);
    done += static_cast<size_t>(wrote);
  }
  // Only what starts as VCDIFF reaches this reader.
  if (size < 4 || !std::equal(bspatch::vcdiff::kMagic.begin(), bspatch::vcdiff::kMagic.end(), data)) return 0;

  const std::vector<unsigned char>& old = oldFile();
  int64_t newSize;
  try {
    const bspatch::vcdiff::Patch patch(patchFd, static_cast<int64_t>(size));
    newSize = patch.newFileSize(static_cast<int64_t>(old.size()));
    FUZZ_CHECK(newSize >= 0);
    if (newSize > kMaxNewSize) return 0;
    bspatch::vcdiff::applyPatch(patch, old, newFd);
  } catch (const std::runtime_error&) {
    return 0;  // a bad patch; anything else thrown is a fault and ends the run
  }
  struct stat info;
  FUZZ_CHECK(fstat(newFd, &info) == 0);
  FUZZ_CHECK(info.st_size == newSize);
  return 0;
}
