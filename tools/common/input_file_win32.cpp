#include "input_file.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cerrno>

#include "platform/native_text_win32.h"
#include "windows_error.h"

namespace tools {

// Windows opens a named pipe without waiting for a writer, so a plain open is enough here. Opened
// by its wide name, a long one under the \\?\ prefix: the C runtime's narrow _open stops at
// MAX_PATH wherever Windows' long paths are not turned on. The file is read as bytes, never as text.
int openInputFile(const char* path, struct stat* info) {
  const HANDLE file = CreateFileW(platform::widePath(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // A folder is not opened as a file: Windows says only that access is denied.
    const DWORD attributes = error == ERROR_ACCESS_DENIED ? GetFileAttributesW(platform::widePath(path).c_str()) : INVALID_FILE_ATTRIBUTES;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) errno = EISDIR;
    else errno = windowsErrorNumber(error) ? windowsErrorNumber(error) : EIO;
    return -1;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(file);
    errno = EMFILE;
    return -1;
  }
  if (fstat(fd, info) != 0) {
    const int problem = errno;
    _close(fd);
    errno = problem;
    return -1;
  }
  return fd;
}

bool isDevice(const char* path) { return platform::isDevicePath(path); }

}  // namespace tools
