#include "tools/bspatch/old_file.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "tools/common/pending_file.h"
#include "tools/common/input_file.h"

namespace bspatch {

namespace {

void onMappedReadFailed(int) {
  tools::removePendingFileNow();
  static const char message[] =
      "bspatch.exe: cannot read the old file any more (did it shrink meanwhile?)\n";
  ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
  (void)ignored;
  _exit(1);
}

}  // namespace

OldFile::OldFile(const std::string& path) {
  struct stat info;
  const int fd = tools::openInputFile(path.c_str(), &info);
  if (fd < 0) throw std::runtime_error(path + ": " + std::strerror(errno));
  if (!S_ISREG(info.st_mode)) {
    close(fd);
    throw std::runtime_error(path + ": not a regular file");
  }
  size_ = static_cast<size_t>(info.st_size);
  if (size_ > 0) {
    void* map = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
    if (map == MAP_FAILED) {
      const std::string problem = std::strerror(errno);
      close(fd);
      throw std::runtime_error(path + ": " + problem);
    }
    data_ = static_cast<const unsigned char*>(map);
    // Read ahead into the page cache, without mapping it all into our memory.
    madvise(map, size_, MADV_WILLNEED);
  }
  close(fd);

  struct sigaction action {};
  action.sa_handler = onMappedReadFailed;
  sigaction(SIGBUS, &action, nullptr);
}

void OldFile::releasePages(std::span<const unsigned char> part) const {
  if (part.empty()) return;
  // The mapping is private and read-only, so its pages are only ever copies of the file's: they
  // come back, from the page cache, when next read. The mapping starts on a page.
  static const uintptr_t pageSize = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t start = reinterpret_cast<uintptr_t>(part.data()) & ~(pageSize - 1);
  const uintptr_t end = reinterpret_cast<uintptr_t>(part.data() + part.size());
  madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
}

OldFile::~OldFile() {
  if (data_) munmap(const_cast<unsigned char*>(data_), size_);
}

}  // namespace bspatch
