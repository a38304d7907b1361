#include "folder_lock.h"

#include <windows.h>

#include <QDir>
#include <QFileInfo>

#include "termination_signals.h"

namespace platform {

namespace {

// Windows cannot lock a folder: every Wadwright process working in one opens the mutex named
// after its full path instead, in any letter case, as Windows compares names. A mutex name has
// no backslash and a limited length, so it holds a 64-bit FNV-1a hash of the path; two folders
// sharing one only wait for each other.
std::wstring mutexName(const QString& folder) {
  QString path = QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath()).toLower();
  unsigned long long hash = 14695981039346656037ull;
  for (QChar c : path) {
    hash ^= c.unicode();
    hash *= 1099511628211ull;
  }
  return L"Local\\Wadwright folder " + std::to_wstring(hash);
}

}  // namespace

FolderLock::FolderLock(const QString& folder) : mutex_(CreateMutexW(nullptr, FALSE, mutexName(folder).c_str())) {}

FolderLock::~FolderLock() {
  if (owned_) ReleaseMutex(mutex_);
  if (mutex_) CloseHandle(mutex_);
}

bool FolderLock::tryLock() {
  if (!mutex_ || owned_) return true;
  // An abandoned mutex (its holder died) is ours as well.
  DWORD result = WaitForSingleObject(mutex_, 0);
  owned_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
  return owned_ || result == WAIT_FAILED;
}

bool FolderLock::lock() {
  // Asked to end meanwhile (Ctrl+C, the console's close), the wait is given up.
  while (!tryLock())
    if (waitUnlessAskedToEnd(100)) return false;
  return true;
}

}  // namespace platform
