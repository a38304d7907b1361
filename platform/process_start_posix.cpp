#include "process_start.h"

namespace platform {

void passCommandLine(QProcess&, const QString&, bool) {}

}  // namespace platform
