#pragma once

class QProcess;

namespace platform {

/// Makes the process that `process` will start end when we do, even when we are killed: a tool
/// must not go on reading or writing for a window that is gone.
void endChildWithParent(QProcess& process);

/// Asks the running child to end. On POSIX that is SIGTERM, so that it can tidy up. A Windows
/// console program cannot be asked (it gets no WM_CLOSE), so there it is ended at once, and what
/// it started with it: our command.com holds its program in a job that ends with it.
void askChildToEnd(QProcess& process);

}  // namespace platform
