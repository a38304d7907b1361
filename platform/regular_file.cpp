#include "regular_file.h"

#include <algorithm>

namespace platform {

std::optional<QByteArray> readRegularFile(const QByteArray& path, qint64 limit, QString* why) {
  RegularFile file(path);
  QByteArray bytes(std::min(limit, file.size()), '\0');
  qint64 done = 0;
  while (file.problem().isEmpty() && done < bytes.size()) {
    const qint64 got = file.read(bytes.data() + done, bytes.size() - done);
    if (got < 0) {
      if (why) *why = "I could not read it";
      return std::nullopt;
    }
    if (got == 0) break;  // shorter now than when it was looked at
    done += got;
  }
  if (!file.problem().isEmpty()) {
    if (why) *why = file.problem();
    return std::nullopt;
  }
  bytes.truncate(done);
  return bytes;
}

}  // namespace platform
