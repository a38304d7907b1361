#include "folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "termination_signals.h"

namespace platform {

namespace {

// A blocking flock cannot be waited on together with a termination signal (it is restarted after
// the handler), so the wait tries again this often, and at once when the process is asked to end.
constexpr int kRetryMilliseconds = 100;

}  // namespace

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

bool FolderLock::lock() {
  for (;;) {
    if (terminationSignal()) return false;
    if (tryLock()) return true;
    waitUnlessAskedToEnd(kRetryMilliseconds);
  }
}

}  // namespace platform
