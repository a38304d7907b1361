#include "run_instead.h"

#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

namespace platform {

QString runInstead(const QString& program, char** arguments) {
  QByteArray path = QFile::encodeName(program);
  execv(path.constData(), arguments);
  return QString::fromLocal8Bit(std::strerror(errno));
}

}  // namespace platform
