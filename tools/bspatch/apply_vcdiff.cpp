#include "tools/bspatch/apply_vcdiff.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "tools/bspatch/vcdiff_sections.h"
#include "tools/bspatch/vcdiff_window.h"
#include "tools/common/positioned_read.h"

namespace bspatch::vcdiff {

namespace {

void readExactly(int fd, unsigned char* buffer, size_t size, int64_t offset) {
  for (size_t done = 0; done < size;) {
    const ssize_t got = pread(fd, buffer + done, size - done, offset + static_cast<int64_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw std::runtime_error(std::string("cannot read: ") + std::strerror(errno));
    if (got == 0) throw std::runtime_error("shrank while being read");
    done += static_cast<size_t>(got);
  }
}

void writeAll(int fd, const unsigned char* bytes, size_t size) {
  for (size_t done = 0; done < size;) {
    const ssize_t wrote = write(fd, bytes + done, size - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0) throw std::system_error(errno, std::generic_category(), "cannot write the new file");
    done += static_cast<size_t>(wrote);
  }
}

std::string hex(uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", value);
  return text;
}

}  // namespace

void applyPatch(const Patch& patch, std::span<const unsigned char> old, int outFd,
                const std::function<void()>& afterWindow) {
  SectionReader sections(patch.secondary());
  // Both buffers are reused: memory stays that of the largest window, whatever the patch's length.
  std::vector<unsigned char> encoding, target;
  const int64_t oldSize = static_cast<int64_t>(old.size());
  int64_t number = 1;
  for (int64_t offset = patch.firstWindow(); offset < patch.size(); ++number) {
    const Window w = patch.window(offset, number, oldSize);
    const int64_t stored = w.end - w.sectionOffset[kData];
    encoding.resize(static_cast<size_t>(stored));
    readExactly(patch.fd(), encoding.data(), encoding.size(), w.sectionOffset[kData]);
    std::span<const unsigned char> plain[kSectionCount];
    for (int s = 0; s < kSectionCount; ++s) {
      const auto bytes = std::span<const unsigned char>(encoding).subspan(
          static_cast<size_t>(w.sectionOffset[s] - w.sectionOffset[kData]), static_cast<size_t>(w.sectionLength[s]));
      plain[s] = sections.plain(w, s, bytes);
    }
    target.resize(static_cast<size_t>(w.targetSize));
    decodeWindow(w, old.subspan(static_cast<size_t>(w.segmentPosition), static_cast<size_t>(w.segmentSize)),
                 {plain[kData], plain[kInstructions], plain[kAddresses]}, target);
    if (w.hasChecksum && adler32(target) != w.checksum) {
      throw std::runtime_error("does not fit this old file (or is damaged): window " + std::to_string(number) +
                               " comes out with Adler-32 " + hex(adler32(target)) + ", not " + hex(w.checksum));
    }
    writeAll(outFd, target.data(), target.size());
    if (afterWindow) afterWindow();
    offset = w.end;
  }
}

}  // namespace bspatch::vcdiff
