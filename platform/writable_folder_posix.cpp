#include "writable_folder.h"

#include <stdlib.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {

bool canCreateFilesIn(const QByteArray& path) {
  QByteArray name = path + "/.wadwright-probe-XXXXXX";
  const int probe = mkstemp(name.data());
  if (probe < 0) return false;
  unlink(name.constData());
  close(probe);
  return true;
}

qint64 freeSpaceIn(const QByteArray& path) {
  struct statvfs space {};
  if (statvfs(path.constData(), &space) != 0 || space.f_blocks == 0) return -1;
  return qint64(space.f_bavail) * qint64(space.f_frsize);
}

}  // namespace platform
