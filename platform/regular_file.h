#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

/// A file opened for reading only if it is an ordinary one. It is opened without waiting: a plain
/// open of a FIFO waits for a writer, before anyone could see that it is no file at all.
class RegularFile {
 public:
  explicit RegularFile(const QByteArray& path);
  ~RegularFile();
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  /// Why it could not be opened, for the user ("there is no such file", "it is a folder" ...);
  /// empty when it is open.
  QString problem() const { return problem_; }
  qint64 size() const { return size_; }
  /// Reads up to `size` bytes at the current place; 0 at the end, -1 when reading failed.
  qint64 read(char* buffer, qint64 size);
  /// Reads up to `size` bytes at `offset`, wherever the current place is; as read() returns.
  qint64 readAt(qint64 offset, char* buffer, qint64 size);

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int descriptor_ = -1;
#endif
  qint64 size_ = 0;
  QString problem_;
};

/// The first `limit` bytes (all, when it is shorter) of the ordinary file `path` leads to: what is
/// read of a store's list or an IWAD's header, which must neither wait nor fill the memory.
/// Nothing, with the reason in `why`, when it is no ordinary file or cannot be read.
std::optional<QByteArray> readRegularFile(const QByteArray& path, qint64 limit, QString* why = nullptr);

}  // namespace platform
