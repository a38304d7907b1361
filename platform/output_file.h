#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

/// A new file that a helper writes its output into by name (the checksum tool's md5tmp.txt) and
/// that this run reads back and removes. Where the system can see to it, the file goes with the
/// run however the run ends: Windows deletes it as the run's handle closes, killed outright
/// (taskkill /F) too. Elsewhere it is removed when this is destroyed.
class OutputFile {
 public:
  /// Makes the file `path`, which must not exist, with `room` bytes written into it for the
  /// helper to write over: a full disk takes the name but not the bytes.
  OutputFile(const QString& path, qint64 room);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  /// True when it was made, with its room.
  bool made() const { return made_; }
  /// Up to `size` bytes from its start, as the helper left them.
  QByteArray read(qint64 size) const;

 private:
  QString path_;
  bool made_ = false;
#ifdef _WIN32
  void* handle_ = nullptr;
#endif
};

}  // namespace platform
