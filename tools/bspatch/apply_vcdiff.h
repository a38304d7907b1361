#pragma once

#include <functional>
#include <span>

#include "tools/bspatch/vcdiff_patch.h"

namespace bspatch::vcdiff {

// Makes the new file from `old` and `patch`, whose windows newFileSize() has checked against `old`,
// and writes it to `outFd`. Each window's Adler-32 is checked before it is written. Throws
// std::runtime_error saying what is wrong with the patch, std::system_error if writing fails, or
// std::bad_alloc. `releaseOld`, if given, is called every megabyte made or so with the part of
// `old` read since, whose pages may be let go: they are read again if needed.
//
// While one window is made and written, the next is read and its LZMA sections decompressed, each
// kind on a thread of its own; small windows stay on the calling thread.
void applyPatch(const Patch& patch, std::span<const unsigned char> old, int outFd,
                const std::function<void(std::span<const unsigned char> segment)>& releaseOld = {});

}  // namespace bspatch::vcdiff
