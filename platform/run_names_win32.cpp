#include "run_names.h"

#include <windows.h>

#include <QStringList>

namespace platform {

namespace {

// When the process `pid` started, in 100 ns since 1601; 0 when none of that id runs now. A process
// that has ended but whose handle someone still holds runs no more either.
quint64 startOf(DWORD pid, bool* unknown) {
  *unknown = false;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) {
    // Another user's process may be closed to us: only "no such process" says it has gone.
    *unknown = GetLastError() != ERROR_INVALID_PARAMETER;
    return 0;
  }
  FILETIME created{}, exited{}, kernel{}, user{};
  DWORD status = 0;
  quint64 start = 0;
  if (GetExitCodeProcess(process, &status) && status == STILL_ACTIVE &&
      GetProcessTimes(process, &created, &exited, &kernel, &user))
    start = (quint64(created.dwHighDateTime) << 32) | created.dwLowDateTime;
  CloseHandle(process);
  return start;
}

}  // namespace

QString thisRunName() {
  bool unknown = false;
  const DWORD pid = GetCurrentProcessId();
  return QString::number(pid) + "-" + QString::number(startOf(pid, &unknown));
}

bool runHasEnded(const QString& name) {
  const QStringList parts = name.split('-');
  bool pidRead = false, startRead = false;
  const DWORD pid = parts.size() == 2 ? parts[0].toULong(&pidRead) : 0;
  const quint64 start = parts.size() == 2 ? parts[1].toULongLong(&startRead) : 0;
  if (!pidRead || !startRead || parts[0].startsWith('+') || parts[1].startsWith('+')) return false;
  bool unknown = false;
  const quint64 now = startOf(pid, &unknown);
  return !unknown && now != start;
}

}  // namespace platform
