#include "file_disposition_win32.h"

namespace platform {

namespace {

// FileDispositionInfoEx and its flags, which older headers lack.
constexpr FILE_INFO_BY_HANDLE_CLASS kDispositionEx = FILE_INFO_BY_HANDLE_CLASS(21);
constexpr DWORD kDelete = 0x1, kPosixSemantics = 0x2, kOnClose = 0x8, kIgnoreReadOnly = 0x10;

bool setDisposition(HANDLE file, DWORD flags) {
  DWORD extended = flags;
  return SetFileInformationByHandle(file, kDispositionEx, &extended, sizeof extended);
}

}  // namespace

bool deleteHeldName(HANDLE file) {
  // The name goes now, even while another program holds the file (a virus scanner).
  if (setDisposition(file, kDelete | kPosixSemantics | kIgnoreReadOnly)) return true;
  // Before Windows 10 1809, and on FAT: it goes once every handle has closed.
  FILE_DISPOSITION_INFO plain{TRUE};
  return SetFileInformationByHandle(file, FileDispositionInfo, &plain, sizeof plain);
}

bool deleteHeldNameOnClose(HANDLE file) { return setDisposition(file, kDelete | kOnClose | kIgnoreReadOnly); }

bool deletesReadOnlyNames(const std::wstring& probe) {
  const HANDLE file = CreateFileW(probe.c_str(), DELETE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool deletes = setDisposition(file, kDelete | kPosixSemantics | kIgnoreReadOnly);
  CloseHandle(file);  // gone either way
  return deletes;
}

}  // namespace platform
