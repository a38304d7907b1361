#include "writable_folder.h"

#include <stdlib.h>
#include <unistd.h>

namespace platform {

bool canCreateFilesIn(const QByteArray& path) {
  QByteArray name = path + "/.wadwright-probe-XXXXXX";
  const int probe = mkstemp(name.data());
  if (probe < 0) return false;
  unlink(name.constData());
  close(probe);
  return true;
}

}  // namespace platform
