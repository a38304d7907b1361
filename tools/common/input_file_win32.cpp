#include "input_file.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>

namespace tools {

// Windows opens a named pipe without waiting for a writer, so a plain open is enough here; the
// file is read as bytes, never as text.
int openInputFile(const char* path, struct stat* info) {
  const int fd = _open(path, _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) return -1;
  if (fstat(fd, info) != 0) {
    const int problem = errno;
    _close(fd);
    errno = problem;
    return -1;
  }
  return fd;
}

}  // namespace tools
