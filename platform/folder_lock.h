#pragma once

#include <QString>
#ifdef _WIN32
#include <string>
#endif

namespace platform {

/// An advisory lock on a folder, which every Wadwright process working there takes before it
/// runs a tool: two of them then never share the folder's md5tmp.txt, nor start a patch on a file
/// the other is still writing. It needs no file of its own, so it works in read-only folders too.
class FolderLock {
 public:
  explicit FolderLock(const QString& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  /// Takes the lock if nobody holds it; true when it is ours now. Where the file system knows no
  /// locks, there is nobody to wait for: true.
  bool tryLock();
  /// Waits until the lock is ours (or the file system knows no locks): true. False, without the
  /// lock, when the process is asked to end meanwhile (see terminationSignal).
  bool lock();

 private:
#ifdef _WIN32
  std::wstring name_;      // the folder's, whatever the path that led to it
  void* mutex_ = nullptr;  // a named mutex: Windows locks no folders
  bool owned_ = false;
#else
  int descriptor_ = -1;
#endif
};

}  // namespace platform
