#include "positioned_read.h"

#include <windows.h>
#include <io.h>

#include <cerrno>

// ReadFile at an offset given in OVERLAPPED reads there on a handle opened for ordinary reads too,
// whatever the other threads' reads do to the file position.
ssize_t pread(int fd, void* buffer, size_t size, int64_t offset) {
  HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (file == INVALID_HANDLE_VALUE) {
    errno = EBADF;
    return -1;
  }
  OVERLAPPED at{};
  at.Offset = DWORD(offset);
  at.OffsetHigh = DWORD(uint64_t(offset) >> 32);
  DWORD got = 0;
  if (!ReadFile(file, buffer, DWORD(size > 0x40000000 ? 0x40000000 : size), &got, &at)) {
    if (GetLastError() == ERROR_HANDLE_EOF) return 0;
    errno = EIO;
    return -1;
  }
  return ssize_t(got);
}
