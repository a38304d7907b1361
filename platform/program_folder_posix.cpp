#include "program_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <map>

#include "native_names.h"

namespace platform {

QByteArray programFolder() {
  // A link of any length: it fills the buffer only when the buffer was too short.
  QByteArray self(256, '\0');
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", self.data(), size_t(self.size()));
    if (length <= 0) return {};  // no /proc, or a path longer than the system can name
    if (length < self.size()) {
      self.truncate(length);
      break;
    }
    self.resize(self.size() * 2);
  }
  return self.left(qMax(self.lastIndexOf('/'), 1));
}

QString startablePath(const std::string& path) {
  const QByteArray bytes = QByteArray::fromStdString(path);
  if (isTextPath(bytes)) return QFile::decodeName(bytes);
  // A started process cannot be named by bytes that are not text; the child inherits the
  // handle (it is not closed on exec), and /proc/self/fd/N is its folder there too.
  const NativeSplitPath split = splitNativePath(bytes);
  static std::map<QByteArray, int> folders;  // one handle per folder, for the program's life
  auto found = folders.find(split.folder);
  if (found == folders.end()) found = folders.emplace(split.folder, open(split.folder.constData(), O_PATH | O_DIRECTORY)).first;
  if (found->second < 0) return QFile::decodeName(bytes);  // it will not start, and says so
  return QString("/proc/self/fd/%1/").arg(found->second) + QFile::decodeName(split.name);
}

QString commandFolder(const QByteArray& folder) {
  return isTextPath(folder) ? QFile::decodeName(folder) : startablePath((folder + "/.").toStdString());
}

}  // namespace platform
