#pragma once

#include <functional>
#include <span>

#include "tools/bspatch/vcdiff_patch.h"

namespace bspatch::vcdiff {

// Makes the new file from `old` and `patch`, whose windows newFileSize() has checked against `old`,
// one window at a time, and writes it to `outFd`. Each window's Adler-32 is checked before it is
// written. Throws std::runtime_error saying what is wrong with the patch, or std::system_error if
// writing fails. `afterWindow`, if given, is called after each window is written.
void applyPatch(const Patch& patch, std::span<const unsigned char> old, int outFd,
                const std::function<void()>& afterWindow = {});

}  // namespace bspatch::vcdiff
