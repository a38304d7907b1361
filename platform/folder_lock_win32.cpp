#include "folder_lock.h"

#include <windows.h>

#include <QDir>
#include <QMutex>
#include <set>

#include "native_text_win32.h"
#include "termination_signals.h"

namespace platform {

namespace {

// Windows cannot lock a folder: every Wadwright process working in one opens a mutex named after
// it instead. The name is the folder's volume serial number and file ID, not its path, so that
// every spelling of one folder (a drive letter or another path to it, a subst drive, an 8.3 name,
// a UNC path, a junction) meets the same mutex. The mutex is in the session's namespace (Local\)
// on purpose: the programs of one session take turns; another user's session has its own
// namespace, and a Global\ mutex made by one user could not be opened by another anyway.
std::wstring mutexName(const QString& folder) {
  HANDLE opened = CreateFileW(widePath(QDir::toNativeSeparators(folder).toStdWString()).c_str(),
                              FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return {};
  BY_HANDLE_FILE_INFORMATION about{};
  const bool known = GetFileInformationByHandle(opened, &about);
  CloseHandle(opened);
  if (!known) return {};
  const unsigned long long id = (static_cast<unsigned long long>(about.nFileIndexHigh) << 32) | about.nFileIndexLow;
  return L"Local\\Wadwright folder " + std::to_wstring(about.dwVolumeSerialNumber) + L" " + std::to_wstring(id);
}

// A thread that owns a mutex takes it again without waiting, so the folders whose locks this
// process holds are kept here too: a second lock on one of them, from any thread, waits.
QMutex gHeldMutex;
std::set<std::wstring> gHeld;

}  // namespace

FolderLock::FolderLock(const QString& folder) : name_(mutexName(folder)) {
  if (!name_.empty()) mutex_ = CreateMutexW(nullptr, FALSE, name_.c_str());
}

FolderLock::~FolderLock() {
  if (owned_) {
    ReleaseMutex(mutex_);
    QMutexLocker held(&gHeldMutex);
    gHeld.erase(name_);
  }
  if (mutex_) CloseHandle(mutex_);
}

bool FolderLock::tryLock() {
  if (!mutex_ || owned_) return true;
  QMutexLocker held(&gHeldMutex);
  if (gHeld.count(name_)) return false;
  // An abandoned mutex (its holder died) is ours as well.
  DWORD result = WaitForSingleObject(mutex_, 0);
  owned_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
  if (owned_) gHeld.insert(name_);
  return owned_ || result == WAIT_FAILED;
}

bool FolderLock::lock() {
  // Asked to end meanwhile (Ctrl+C, the console's close), the wait is given up.
  while (!tryLock())
    if (waitUnlessAskedToEnd(100)) return false;
  return true;
}

}  // namespace platform
