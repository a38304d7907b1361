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
#include "fuzz/patch_fuzz_files.h"
#include "tools/bspatch/apply_vcdiff.h"
#include "tools/bspatch/vcdiff_patch.h"
#include "tools/bspatch/vcdiff_windows.h"

namespace {

// Windows of up to 64 MiB are allowed; a few bytes can declare them, and larger new files would
// only slow the runs down. Every seed's fits.
constexpr int64_t kMaxNewSize = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto [patchFd, newFd] = patch_fuzz::filesFor(data, size);
  // Only what starts as VCDIFF reaches this reader.
  if (size < 3 || !std::equal(bspatch::vcdiff::kMagic.begin(), bspatch::vcdiff::kMagic.end(), data)) return 0;

  const std::vector<unsigned char>& old = patch_fuzz::oldFile();
  int64_t newSize;
  try {
    const bspatch::vcdiff::Patch patch(patchFd, static_cast<int64_t>(size));
    newSize = bspatch::vcdiff::newFileSize(patch, static_cast<int64_t>(old.size()));
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
