// bspatch.exe OLD NEW PATCH: makes NEW from OLD and a patch, bsdiff 4 (see patch_header.cpp) or
// VCDIFF as xdelta3 writes it (see vcdiff_patch.cpp), told apart by their first bytes.
// NEW must not exist yet; it appears only once it is complete, and not at all on any error.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

#include "tools/bspatch/apply_patch.h"
#include "tools/bspatch/apply_vcdiff.h"
#include "tools/bspatch/bz2_block_reader.h"
#include "tools/bspatch/old_file.h"
#include "tools/bspatch/patch_header.h"
#include "tools/common/pending_file.h"
#include "tools/bspatch/vcdiff_patch.h"
#include "tools/bspatch/vcdiff_windows.h"
#include "tools/common/input_file.h"
#include "tools/common/positioned_read.h"
#include "platform/native_path.h"

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileDescriptor& operator=(FileDescriptor&&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

std::runtime_error fileError(const std::string& path, const std::string& what) {
  return std::runtime_error(path + ": " + what);
}

// Opens a regular file for reading and gives its size.
FileDescriptor openInput(const std::string& path, struct stat& info) {
  FileDescriptor file(tools::openInputFile(path.c_str(), &info));
  if (file.get() < 0) throw fileError(path, std::strerror(errno));
  if (!S_ISREG(info.st_mode)) throw fileError(path, "not a regular file");
  return file;
}

void refuseSameFile(const std::string& oldPath, const std::string& newPath) {
  struct stat oldInfo, newInfo;
  // Windows numbers no files here (st_ino is 0): the new file's own check then speaks.
  if (stat(oldPath.c_str(), &oldInfo) == 0 && stat(newPath.c_str(), &newInfo) == 0 && oldInfo.st_ino != 0 &&
      oldInfo.st_dev == newInfo.st_dev && oldInfo.st_ino == newInfo.st_ino) {
    throw fileError(newPath, "is the old file; not overwriting it");
  }
}

bool isVcdiff(int fd) {
  unsigned char start[bspatch::vcdiff::kMagic.size()];
  ssize_t got;
  do {
    got = pread(fd, start, sizeof start, 0);
  } while (got < 0 && errno == EINTR);
  return got == sizeof start && std::memcmp(start, bspatch::vcdiff::kMagic.data(), sizeof start) == 0;
}

void applyBsdiff(const bspatch::OldFile& old, const std::string& newPath, int patch, int64_t patchSize,
                 const std::string& patchPath) {
  bspatch::PatchLayout layout;
  try {
    layout = bspatch::readPatchHeader(patch, patchSize);
  } catch (const std::runtime_error& e) {
    throw fileError(patchPath, e.what());
  }

  tools::PendingFile out(newPath, layout.newSize);
  try {
    // The readers' threads end before the pending file is committed or removed.
    bspatch::Bz2BlockReader control(patch, layout.controlOffset, layout.controlLength, "control block");
    bspatch::Bz2BlockReader diff(patch, layout.diffOffset, layout.diffLength, "diff block");
    bspatch::Bz2BlockReader extra(patch, layout.extraOffset, layout.extraLength, "extra block");
    // Only the old file's pages read since the last write stay mapped: its whole would be most
    // of our memory.
    bspatch::applyPatch(old.bytes(), layout.newSize, {control, diff, extra}, out.fd(),
                        [&old] { old.releasePages(old.bytes()); });
  } catch (const std::system_error& e) {
    throw fileError(newPath, e.what());  // a fault in writing, not in the patch
  } catch (const std::runtime_error& e) {
    throw fileError(patchPath, e.what());
  }
  out.commit();
}

void applyVcdiff(const bspatch::OldFile& old, const std::string& newPath, int patch, int64_t patchSize,
                 const std::string& patchPath) {
  // Every window header is read and checked before NEW is begun: they give its size, and most
  // faults of the patch show there.
  std::optional<bspatch::vcdiff::Patch> vcdiff;
  int64_t newSize;
  try {
    vcdiff.emplace(patch, patchSize);
    newSize = bspatch::vcdiff::newFileSize(*vcdiff, static_cast<int64_t>(old.bytes().size()));
  } catch (const std::runtime_error& e) {
    throw fileError(patchPath, e.what());
  }

  tools::PendingFile out(newPath, newSize);
  try {
    // Only the old file's pages read lately stay mapped.
    bspatch::vcdiff::applyPatch(*vcdiff, old.bytes(), out.fd(),
                                [&old](std::span<const unsigned char> segment) { old.releasePages(segment); });
  } catch (const std::system_error& e) {
    throw fileError(newPath, e.what());
  } catch (const std::runtime_error& e) {
    throw fileError(patchPath, e.what());
  }
  out.commit();
}

void patchFile(const std::string& oldPath, const std::string& newPath, const std::string& patchPath) {
  refuseSameFile(oldPath, newPath);
  const bspatch::OldFile old(oldPath);
  struct stat patchInfo;
  const FileDescriptor patch = openInput(patchPath, patchInfo);
  if (patchInfo.st_size == 0) throw fileError(patchPath, "empty");
  if (isVcdiff(patch.get())) {
    applyVcdiff(old, newPath, patch.get(), patchInfo.st_size, patchPath);
  } else {
    applyBsdiff(old, newPath, patch.get(), patchInfo.st_size, patchPath);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr,
                 "usage: bspatch.exe OLD NEW PATCH\n"
                 "Makes the file NEW from the file OLD and a PATCH: bsdiff 4, or VCDIFF as xdelta3\n"
                 "writes it. NEW must not exist.\n");
    return 2;
  }
  try {
    patchFile(platform::nativePath(argv[1]), platform::nativePath(argv[2]), platform::nativePath(argv[3]));
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "bspatch.exe: not enough memory\n");
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bspatch.exe: %s\n", e.what());
    return 1;
  }
  return 0;
}
