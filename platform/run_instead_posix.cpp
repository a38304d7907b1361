#include "run_instead.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

QString runInstead(const QByteArray& program, char** arguments) {
  execv(program.constData(), arguments);
  return QString::fromLocal8Bit(std::strerror(errno));
}

}  // namespace platform
