#include "child_lifetime.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <QProcess>
#include <csignal>

namespace platform {

void endChildWithParent(QProcess& process) {
  pid_t parent = getpid();
  process.setChildProcessModifier([parent] {
    // SIGTERM rather than SIGKILL: the patch tool then still removes what it was writing.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);  // we died before the line above took effect
  });
}

void askChildToEnd(QProcess& process) { process.terminate(); }

}  // namespace platform
