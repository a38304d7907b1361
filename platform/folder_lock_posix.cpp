#include "folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

namespace platform {

FolderLock::FolderLock(const QString& folder)
    : descriptor_(open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

FolderLock::~FolderLock() {
  if (descriptor_ >= 0) close(descriptor_);  // closing releases the lock
}

bool FolderLock::tryLock() {
  if (descriptor_ < 0) return true;
  if (flock(descriptor_, LOCK_EX | LOCK_NB) == 0) return true;
  return errno != EWOULDBLOCK && errno != EINTR;
}

void FolderLock::lock() {
  if (descriptor_ < 0) return;
  while (flock(descriptor_, LOCK_EX) != 0 && errno == EINTR) {
  }
}

}  // namespace platform
