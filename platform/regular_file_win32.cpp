#include "regular_file.h"

#include <windows.h>

#include <algorithm>

#include "native_text_win32.h"

namespace platform {

RegularFile::RegularFile(const QByteArray& path) {
  // A device is not even opened: opening one can do something of its own (a modem dials).
  if (isDevicePath(path.toStdString())) {
    problem_ = "it is not an ordinary file (it is a device or a pipe)";
    return;
  }
  const HANDLE file = CreateFileW(widePath(path.toStdString()).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);  // a folder opens too, and is told apart
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    problem_ = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? "there is no such file"
                                                                               : "I am not allowed to read it";
    return;
  }
  BY_HANDLE_FILE_INFORMATION about{};
  // A pipe or a device is a file to Windows too: only a disk file is an ordinary one.
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &about) ||
      (about.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    problem_ = (about.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "it is a folder"
                                                                    : "it is not an ordinary file (it is a device or a pipe)";
    CloseHandle(file);
    return;
  }
  handle_ = file;
  size_ = (qint64(about.nFileSizeHigh) << 32) | about.nFileSizeLow;
}

RegularFile::~RegularFile() {
  if (handle_) CloseHandle(handle_);
}

qint64 RegularFile::read(char* buffer, qint64 size) {
  if (!handle_) return -1;
  DWORD got = 0;
  const DWORD wanted = DWORD(std::min<qint64>(size, 1 << 30));
  return ReadFile(handle_, buffer, wanted, &got, nullptr) ? qint64(got) : -1;
}

qint64 RegularFile::readAt(qint64 offset, char* buffer, qint64 size) {
  if (!handle_) return -1;
  // On a handle opened for synchronous reads the offset given is where the read starts.
  OVERLAPPED at{};
  at.Offset = DWORD(offset & 0xffffffff);
  at.OffsetHigh = DWORD(quint64(offset) >> 32);
  DWORD got = 0;
  const DWORD wanted = DWORD(std::min<qint64>(size, 1 << 30));
  if (ReadFile(handle_, buffer, wanted, &got, &at)) return qint64(got);
  return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
}

}  // namespace platform
