#include "held_file.h"

#include <windows.h>

#include <QDir>

#include "file_disposition_win32.h"
#include "native_text_win32.h"

namespace platform {

// Every program that opens the file after this must share it for deleting, as the tools do.
HeldFile::HeldFile(const QString& path) {
  const std::wstring name = widePath(QDir::toNativeSeparators(path).toStdWString());
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE file =
      CreateFileW(name.c_str(), DELETE, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    // A read-only file refuses that open. Its attribute is never cleared to let it go (a hard
    // link shares it with the user's own file): it is marked to go as it is, where Windows can.
    file = CreateFileW(name.c_str(), DELETE, share, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file != INVALID_HANDLE_VALUE && !deleteHeldNameOnClose(file)) {
      CloseHandle(file);
      file = INVALID_HANDLE_VALUE;
    }
  }
  if (file != INVALID_HANDLE_VALUE) handle_ = file;
}

HeldFile::~HeldFile() {
  if (handle_) CloseHandle(handle_);
}

}  // namespace platform
