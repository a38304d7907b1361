// The patch tool's reading of a patch: whatever the patch holds, applying it to the old file
// either writes exactly the new file's declared size or stops with a message, and either way
// leaves no thread or buffer behind.
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "tools/bspatch/apply_patch.h"
#include "tools/bspatch/bz2_block_reader.h"
#include "tools/bspatch/patch_header.h"

namespace {

// Patching takes time in proportion to the new file, and a few bytes of bzip2 can stand for
// hundreds of megabytes; larger new files would only slow the runs down. Every seed's fits.
constexpr int64_t kMaxNewSize = 1 << 20;

// The old file of every seed patch: the same bytes fuzz/make_bspatch_corpus.sh writes. Kept on
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
  // The tool reads its patch and writes its new file through descriptors; in-memory files,
  // reused from one input to the next, stand in for both.
  static const int patchFd = memoryFile("patch");
  static const int newFd = memoryFile("new");
  FUZZ_CHECK(ftruncate(patchFd, 0) == 0 && ftruncate(newFd, 0) == 0);
  FUZZ_CHECK(lseek(newFd, 0, SEEK_SET) == 0);
  for (size_t done = 0; done < size;) {
    ssize_t wrote = pwrite(patchFd, data + done, size - done, static_cast<off_t>(done));
    FUZZ_CHECK(wrote > 0);
    done += static_cast<size_t>(wrote);
  }

  const int64_t patchSize = static_cast<int64_t>(size);
  bspatch::PatchLayout layout;
  try {
    layout = bspatch::readPatchHeader(patchFd, patchSize);
  } catch (const std::runtime_error&) {
    return 0;
  }
  // The three blocks lie one after the other, inside the patch.
  FUZZ_CHECK(layout.controlOffset == bspatch::kHeaderSize);
  FUZZ_CHECK(layout.controlLength >= 0 && layout.diffLength >= 0 && layout.extraLength >= 0);
  FUZZ_CHECK(layout.diffOffset == layout.controlOffset + layout.controlLength);
  FUZZ_CHECK(layout.extraOffset == layout.diffOffset + layout.diffLength);
  FUZZ_CHECK(layout.extraOffset + layout.extraLength == patchSize);
  FUZZ_CHECK(layout.newSize >= 0);
  if (layout.newSize > kMaxNewSize) return 0;

  bool applied = false;
  try {
    bspatch::Bz2BlockReader control(patchFd, layout.controlOffset, layout.controlLength,
                                    "control block");
    bspatch::Bz2BlockReader diff(patchFd, layout.diffOffset, layout.diffLength, "diff block");
    bspatch::Bz2BlockReader extra(patchFd, layout.extraOffset, layout.extraLength, "extra block");
    bspatch::applyPatch(oldFile(), layout.newSize, {control, diff, extra}, newFd);
    applied = true;
  } catch (const std::runtime_error&) {
    // A bad patch; anything else thrown is a fault and ends the run.
  }
  if (applied) {
    struct stat info;
    FUZZ_CHECK(fstat(newFd, &info) == 0);
    FUZZ_CHECK(info.st_size == layout.newSize);
  }
  return 0;
}
