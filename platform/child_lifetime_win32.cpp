#include "child_lifetime.h"

#include <windows.h>

#include <QProcess>

#include "child_lifetime_win32.h"

namespace platform {

namespace {

// The job that ends our helpers with us: we put ourselves in it before the first helper starts,
// so that every process started from then on is in it from its first instant, grandchildren
// included (command.com's md5sum.exe), and Windows kills them all when our handle to the job
// closes as we end, however we end. A process meant to outlive us breaks away from it.
bool gInJob = false;
HANDLE gJob = nullptr;

bool enterHelpersJob() {
  gJob = CreateJobObjectW(nullptr, nullptr);  // not inherited: only we hold it open
  if (!gJob) return false;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_BREAKAWAY_OK;
  return SetInformationJobObject(gJob, JobObjectExtendedLimitInformation, &limits, sizeof limits) &&
         AssignProcessToJobObject(gJob, GetCurrentProcess());
}

}  // namespace

bool inHelpersJob() { return gInJob; }

void endChildWithParent(QProcess& process) {
  if (!gJob) gInJob = enterHelpersJob();
  if (gInJob) return;
  // Already in a job that keeps us from entering ours (older Windows): each helper is put in
  // ours once started. What it starts before that escapes, but the helper itself does not.
  QObject::connect(&process, &QProcess::started, &process, [&process] {
    if (HANDLE child = OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, DWORD(process.processId()))) {
      AssignProcessToJobObject(gJob, child);
      CloseHandle(child);
    }
  });
}

void askChildToEnd(QProcess& process) { process.kill(); }

}  // namespace platform
