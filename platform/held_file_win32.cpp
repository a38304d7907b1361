#include "held_file.h"

#include <windows.h>

#include <QDir>

#include "native_text_win32.h"

namespace platform {

// Every program that opens the file after this must share it for deleting, as the tools do.
HeldFile::HeldFile(const QString& path) {
  const HANDLE file = CreateFileW(widePath(QDir::toNativeSeparators(path).toStdWString()).c_str(), DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file != INVALID_HANDLE_VALUE) handle_ = file;
}

HeldFile::~HeldFile() {
  if (handle_) CloseHandle(handle_);
}

}  // namespace platform
