#include "native_files.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

namespace platform {

NativeFileInfo nativeFileInfo(const QByteArray& path) {
  NativeFileInfo info;
  struct stat status;
  if (stat(path.constData(), &status) != 0) return info;
  info.kind = S_ISDIR(status.st_mode)   ? NativeFileInfo::Kind::Folder
              : S_ISREG(status.st_mode) ? NativeFileInfo::Kind::File
                                        : NativeFileInfo::Kind::Other;
  info.device = status.st_dev;
  info.inode = status.st_ino;
  return info;
}

QList<QByteArray> nativeFolderNames(const QByteArray& path) {
  QList<QByteArray> names;
  DIR* folder = opendir(path.constData());
  if (!folder) return names;
  while (const dirent* entry = readdir(folder)) {
    const QByteArray name(entry->d_name);
    if (name != "." && name != "..") names << name;
  }
  closedir(folder);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace platform
