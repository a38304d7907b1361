#pragma once

#include <cstdint>
#include <string>

namespace tools {

// The new file while it is being written, in the folder of its final name, which it gets only
// once it is complete and on disk. Unnamed until then where the file system allows (O_TMPFILE),
// so that nothing is left however the program ends; elsewhere a hidden temporary file, removed if
// anything fails first, including when SIGINT, SIGTERM, SIGHUP or SIGQUIT stops the program.
// Only one may exist at a time. Where the final name's folder is yet to be made, the file is
// written in `pendingFolder`, an existing folder above it on the same file system, and moved into
// place at the end.
class PendingFile {
 public:
  // Throws std::runtime_error if `finalPath` already exists, the folder written in lacks room for
  // `size` bytes, or the temporary file cannot be made.
  PendingFile(const std::string& finalPath, int64_t size, const std::string& pendingFolder = {});
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  int fd() const { return fd_; }

  // Flushes the file to disk and gives it its final name, unless something has taken that name
  // meanwhile: an existing file is never replaced. Throws std::runtime_error on failure.
  void commit();

 private:
  void nameUnnamedFile() const;
  void nameTemporaryFile() const;
  [[noreturn]] void failToName() const;

  std::string finalPath_;
  std::string folder_;
  int fd_ = -1;
};

// Removes the temporary file of the PendingFile being written, if any. Safe in a signal handler.
void removePendingFileNow();

}  // namespace tools
