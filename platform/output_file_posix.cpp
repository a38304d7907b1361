#include "output_file.h"

#include <QFile>

namespace platform {

// A file cannot be made to go with a process here; the run removes it as it ends, and a forced
// end leaves it.
OutputFile::OutputFile(const QString& path, qint64 room) : path_(path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return;
  made_ = file.write(QByteArray(room, ' ')) == room && file.flush();
  file.close();
  if (!made_) file.remove();
}

OutputFile::~OutputFile() {
  if (made_) QFile::remove(path_);
}

QByteArray OutputFile::read(qint64 size) const {
  QFile file(path_);
  return made_ && file.open(QIODevice::ReadOnly) ? file.read(size) : QByteArray();
}

}  // namespace platform
