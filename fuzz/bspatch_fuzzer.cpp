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
#include "fuzz/patch_fuzz_files.h"
#include "tools/bspatch/apply_patch.h"
#include "tools/bspatch/bz2_block_reader.h"
#include "tools/bspatch/patch_header.h"

namespace {

// Patching takes time in proportion to the new file, and a few bytes of bzip2 can stand for
// hundreds of megabytes; larger new files would only slow the runs down. Every seed's fits.
constexpr int64_t kMaxNewSize = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto [patchFd, newFd] = patch_fuzz::filesFor(data, size);

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
    bspatch::applyPatch(patch_fuzz::oldFile(), layout.newSize, {control, diff, extra}, newFd);
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
