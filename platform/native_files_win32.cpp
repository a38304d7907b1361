#include "native_files.h"

#include <windows.h>

#include <algorithm>

#include "native_text_win32.h"

namespace platform {

NativeFileInfo nativeFileInfo(const QByteArray& path) {
  NativeFileInfo info;
  if (isDevicePath(path.toStdString())) {  // not even opened
    info.kind = NativeFileInfo::Kind::Other;
    return info;
  }
  // Opened for its attributes alone, links followed: no pipe or device is read or waited for.
  HANDLE file = CreateFileW(widePath(path.toStdString()).c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return info;
  BY_HANDLE_FILE_INFORMATION about{};
  const DWORD type = GetFileType(file);
  if (GetFileInformationByHandle(file, &about)) {
    info.kind = (about.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? NativeFileInfo::Kind::Folder
                : type == FILE_TYPE_DISK                            ? NativeFileInfo::Kind::File
                                                                    : NativeFileInfo::Kind::Other;
    // The volume and the file's index tell it from every other, as a device and an inode do.
    info.device = about.dwVolumeSerialNumber;
    info.inode = (quint64(about.nFileIndexHigh) << 32) | about.nFileIndexLow;
  }
  CloseHandle(file);
  return info;
}

QList<QByteArray> nativeFolderNames(const QByteArray& path) {
  QList<QByteArray> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(widePath((path + "\\*").toStdString()).c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const QByteArray name = QByteArray::fromStdString(narrowText(entry.cFileName));
    if (name != "." && name != "..") names << name;
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace platform
