#include "tools/common/pending_file.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tools {

namespace {

// The signal handler reads the temporary file's path from here: it may use nothing that
// allocates or locks.
char gTempPath[PATH_MAX];
volatile sig_atomic_t gHaveTemp = 0;

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void removeTempAndDie(int signal) {
  removePendingFileNow();
  // Die of the same signal, so whoever started us sees how we ended.
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigaction(signal, &action, nullptr);
  raise(signal);
}

void installCleanupHandlers() {
  struct sigaction action {};
  action.sa_handler = removeTempAndDie;
  sigemptyset(&action.sa_mask);
  for (int signal : kCleanupSignals) sigaddset(&action.sa_mask, signal);
  for (int signal : kCleanupSignals) {
    struct sigaction previous {};
    sigaction(signal, nullptr, &previous);
    // A signal our starter chose to ignore (nohup) stays ignored.
    if (previous.sa_handler != SIG_IGN) sigaction(signal, &action, nullptr);
  }
}

// Holds the cleanup signals off while the temporary file and gHaveTemp are brought into step.
class CleanupSignalsHeld {
 public:
  CleanupSignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (int signal : kCleanupSignals) sigaddset(&held, signal);
    pthread_sigmask(SIG_BLOCK, &held, &previous_);
  }
  ~CleanupSignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

 private:
  sigset_t previous_;
};

std::string errorText() { return std::strerror(errno); }

mode_t currentUmask() {
  const mode_t mask = umask(0);
  umask(mask);
  return mask;
}

}  // namespace

void removePendingFileNow() {
  if (gHaveTemp) unlink(gTempPath);
}

PendingFile::PendingFile(const std::string& finalPath, int64_t size, const std::string& pendingFolder)
    : finalPath_(finalPath) {
  struct stat existing;
  if (lstat(finalPath.c_str(), &existing) == 0) {
    throw std::runtime_error(finalPath + ": already exists; not overwriting it");
  }
  if (errno != ENOENT) throw std::runtime_error(finalPath + ": " + errorText());

  const size_t slash = finalPath.rfind('/');
  const std::string finalFolder = slash == std::string::npos ? "" : finalPath.substr(0, slash + 1);
  folder_ = finalFolder.empty() ? "." : finalFolder;
  std::string name = finalPath.substr(finalFolder.size());
  if (name.empty() || name == "." || name == "..") {
    throw std::runtime_error(finalPath + ": not a file name");
  }
  const std::string prefix = pendingFolder.empty() ? finalFolder : pendingFolder + "/";
  const std::string writtenIn = prefix.empty() ? "." : prefix;
  // As a user would name it: "." means nothing to someone who never typed it.
  const std::string shownFolder = prefix.empty() ? "its folder" : prefix;

  struct statvfs space;
  if (statvfs(writtenIn.c_str(), &space) != 0) {
    throw std::runtime_error(shownFolder + ": " + errorText());
  }
  const unsigned long long freeBytes =
      static_cast<unsigned long long>(space.f_bavail) * space.f_frsize;
  // A file system that reports no size at all (ramfs) says nothing of its room: the writes will.
  if (space.f_blocks != 0 && static_cast<unsigned long long>(size) > freeBytes) {
    throw std::runtime_error("the new file would take " + std::to_string(size) + " bytes, but " +
                             shownFolder + " has only " + std::to_string(freeBytes) + " free");
  }

  // Best, a file with no name at all, which vanishes with us however we end, even killed.
  fd_ = open(writtenIn.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
  if (fd_ >= 0) return;
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
    throw std::runtime_error("cannot create a file in " + shownFolder + ": " + errorText());
  }
  // The file system cannot do that: a hidden name beside the final one keeps the file on the same
  // file system, so it can be renamed into place. Cut so the added characters cannot make it too
  // long.
  if (name.size() > 200) name.resize(200);
  const std::string pattern = prefix + "." + name + ".XXXXXX";
  if (pattern.size() >= sizeof gTempPath) throw std::runtime_error(finalPath + ": path too long");

  installCleanupHandlers();
  CleanupSignalsHeld held;
  std::memcpy(gTempPath, pattern.c_str(), pattern.size() + 1);
  fd_ = mkostemp(gTempPath, O_CLOEXEC);
  if (fd_ < 0) throw std::runtime_error("cannot create a file in " + shownFolder + ": " + errorText());
  gHaveTemp = 1;
  // mkostemp makes the file private; the new file gets the mode of any newly created one.
  fchmod(fd_, 0644 & ~currentUmask());
}

PendingFile::~PendingFile() {
  if (fd_ >= 0) close(fd_);
  CleanupSignalsHeld held;
  if (gHaveTemp) unlink(gTempPath);
  gHaveTemp = 0;
}

void PendingFile::failToName() const {
  if (errno == EEXIST) {
    throw std::runtime_error(finalPath_ + ": appeared meanwhile; not overwriting it");
  }
  throw std::runtime_error("cannot name the new file " + finalPath_ + ": " + errorText());
}

void PendingFile::commit() {
  if (fsync(fd_) != 0) throw std::runtime_error("cannot write " + finalPath_ + ": " + errorText());
  if (gHaveTemp) {
    nameTemporaryFile();
  } else {
    nameUnnamedFile();
  }
  const int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0) throw std::runtime_error("cannot write " + finalPath_ + ": " + errorText());

  // Make the new name itself durable too.
  const int folder = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
}

void PendingFile::nameUnnamedFile() const {
  // Like the rename below, linking never replaces a file that took the final name meanwhile.
  // Through /proc any user may link the file; AT_EMPTY_PATH needs a privilege, but no /proc.
  const std::string self = "/proc/self/fd/" + std::to_string(fd_);
  if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, finalPath_.c_str(), AT_SYMLINK_FOLLOW) == 0) return;
  if (errno == ENOENT && linkat(fd_, "", AT_FDCWD, finalPath_.c_str(), AT_EMPTY_PATH) == 0) return;
  failToName();
}

void PendingFile::nameTemporaryFile() const {
  CleanupSignalsHeld held;
  // Neither way replaces a file that took the final name while we were writing.
  if (renameat2(AT_FDCWD, gTempPath, AT_FDCWD, finalPath_.c_str(), RENAME_NOREPLACE) != 0) {
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) failToName();
    // The file system cannot rename without replacing: link the final name, drop the temporary.
    if (link(gTempPath, finalPath_.c_str()) == 0) {
      unlink(gTempPath);
    } else {
      if (errno != EPERM && errno != ENOSYS && errno != ENOTSUP) failToName();
      // Nor link (FUSE's vfat, say): claim the name with an empty file, then replace only that.
      const int claim = open(finalPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
      if (claim < 0) failToName();
      close(claim);
      if (rename(gTempPath, finalPath_.c_str()) != 0) {
        const int problem = errno;
        unlink(finalPath_.c_str());
        errno = problem;
        failToName();
      }
    }
  }
  gHaveTemp = 0;
}

}  // namespace tools
