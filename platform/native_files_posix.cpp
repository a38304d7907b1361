#include "native_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {

namespace {

std::optional<QByteArray> refused(QString* why, const QString& reason) {
  if (why) *why = reason;
  return std::nullopt;
}

QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

}  // namespace

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

std::optional<QByteArray> readRegularFile(const QByteArray& path, qsizetype limit, QString* why) {
  const QString notOrdinary = "it is not an ordinary file (it is a folder, a device or a pipe)";
  struct stat status;
  if (stat(path.constData(), &status) != 0) return refused(why, errorText(errno));
  if (!S_ISREG(status.st_mode)) return refused(why, notOrdinary);
  // Swapped for a pipe since: O_NONBLOCK opens it without waiting for a writer, and fstat tells.
  const int descriptor = open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) return refused(why, errorText(errno));
  QByteArray bytes;
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(descriptor);
    return refused(why, notOrdinary);
  }
  bytes.resize(std::min<qsizetype>(limit, status.st_size));
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t got = read(descriptor, bytes.data() + done, size_t(bytes.size() - done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int error = errno;
      close(descriptor);
      return refused(why, errorText(error));
    }
    if (got == 0) break;  // shorter now than when it was looked at
    done += got;
  }
  close(descriptor);
  bytes.truncate(done);
  return bytes;
}

}  // namespace platform
