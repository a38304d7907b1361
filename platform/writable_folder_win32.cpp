#include "writable_folder.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "native_text_win32.h"

namespace platform {

// Windows keeps the read-only mark apart from the access rights, and Qt reads only the mark. The
// probe is deleted by Windows as it is closed, so that not even a kill leaves it behind; its name
// is this process's and this probe's alone, and an existing file is never opened.
bool canCreateFilesIn(const QByteArray& path) {
  static std::atomic<unsigned> probes{0};
  const std::wstring name = widePath(path.toStdString() + "\\.wadwright-probe-") +
                            std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++probes);
  HANDLE probe = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return false;
  CloseHandle(probe);
  return true;
}

qint64 freeSpaceIn(const QByteArray& path) {
  ULARGE_INTEGER available{}, total{};
  if (!GetDiskFreeSpaceExW(wideText(path.toStdString()).c_str(), &available, &total, nullptr) || total.QuadPart == 0) return -1;
  return qint64(available.QuadPart);
}

}  // namespace platform
