#include "regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

RegularFile::RegularFile(const QByteArray& path) {
  // A device is not even opened: opening one can do something of its own (a tape rewinds).
  struct stat before {};
  if (stat(path.constData(), &before) == 0 && !S_ISREG(before.st_mode) && !S_ISDIR(before.st_mode)) {
    problem_ = "it is not an ordinary file (it is a device or a pipe)";
    return;
  }
  descriptor_ = open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (descriptor_ < 0) {
    problem_ = errno == ENOENT ? "there is no such file" : QString::fromLocal8Bit(std::strerror(errno));
    return;
  }
  struct stat info {};
  if (fstat(descriptor_, &info) != 0 || !S_ISREG(info.st_mode)) {
    problem_ = S_ISDIR(info.st_mode) ? "it is a folder" : "it is not an ordinary file (it is a device or a pipe)";
    close(descriptor_);
    descriptor_ = -1;
    return;
  }
  size_ = info.st_size;
  fcntl(descriptor_, F_SETFL, fcntl(descriptor_, F_GETFL) & ~O_NONBLOCK);  // a file's reads never wait long
}

RegularFile::~RegularFile() {
  if (descriptor_ >= 0) close(descriptor_);
}

qint64 RegularFile::read(char* buffer, qint64 size) {
  if (descriptor_ < 0) return -1;
  for (;;) {
    ssize_t got = ::read(descriptor_, buffer, size_t(size));
    if (got >= 0 || errno != EINTR) return got;
  }
}

qint64 RegularFile::readAt(qint64 offset, char* buffer, qint64 size) {
  if (descriptor_ < 0) return -1;
  for (;;) {
    ssize_t got = ::pread(descriptor_, buffer, size_t(size), off_t(offset));
    if (got >= 0 || errno != EINTR) return got;
  }
}

}  // namespace platform
