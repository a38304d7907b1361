#include "input_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tools {

int openInputFile(const char* path, struct stat* info) {
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  const int flags = fcntl(fd, F_GETFL);
  if (fstat(fd, info) != 0 || flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    const int problem = errno;
    close(fd);
    errno = problem;
    return -1;
  }
  return fd;
}

bool isDevice(const char* path) {
  struct stat info;
  return stat(path, &info) == 0 && (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode));
}

}  // namespace tools
