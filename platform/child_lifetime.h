#pragma once

class QProcess;

namespace platform {

/// Makes the process that `process` will start end when we do, even when we are killed: a tool
/// must not go on reading or writing for a window that is gone.
void endChildWithParent(QProcess& process);

}  // namespace platform
