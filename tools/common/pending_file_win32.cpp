#include "tools/common/pending_file.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "platform/native_text_win32.h"
#include "tools/common/windows_error.h"

namespace tools {

// Windows has no unnamed file: the new file is written under a hidden name beside its final one
// (".NAME.NUMBER"), flushed, then moved to its name by a move that never replaces a file. Until
// then it is marked to be deleted when its handle closes, so that Windows removes it however we
// end, killed outright (TerminateProcess, the Task Manager) too; the mark is lifted only for the
// moment of the move. Ctrl+C, Ctrl+Break and the console's close end us by that way as well.
namespace {

wchar_t gTempPath[32768];
volatile LONG gHaveTemp = 0;

std::string lastError() { return tools::windowsErrorText(GetLastError()); }

BOOL WINAPI removeTempOnConsoleEvent(DWORD) {
  removePendingFileNow();
  return FALSE;  // and end as the next handler, Windows' own, ends us
}

}  // namespace

void removePendingFileNow() {
  // Opened with FILE_SHARE_DELETE: the file goes as soon as the handle writing it closes.
  if (InterlockedExchange(&gHaveTemp, 0)) DeleteFileW(gTempPath);
}

PendingFile::PendingFile(const std::string& finalPath, int64_t size, const std::string& pendingFolder)
    : finalPath_(finalPath) {
  const std::wstring wideFinal = platform::widePath(finalPath);
  if (GetFileAttributesW(wideFinal.c_str()) != INVALID_FILE_ATTRIBUTES) {
    throw std::runtime_error(finalPath + ": already exists; not overwriting it");
  }
  // Its folder too may be missing yet, where the file is written above it.
  const DWORD missing = GetLastError();
  if (missing != ERROR_FILE_NOT_FOUND && !(missing == ERROR_PATH_NOT_FOUND && !pendingFolder.empty()))
    throw std::runtime_error(finalPath + ": " + tools::windowsErrorText(missing));

  const size_t slash = finalPath.find_last_of("\\/");
  const std::string finalFolder = slash == std::string::npos ? "" : finalPath.substr(0, slash + 1);
  folder_ = finalFolder.empty() ? "." : finalFolder;
  std::string name = finalPath.substr(finalFolder.size());
  if (name.empty() || name == "." || name == "..") throw std::runtime_error(finalPath + ": not a file name");
  const std::string prefix = pendingFolder.empty() ? finalFolder : pendingFolder + "\\";
  const std::string shownFolder = prefix.empty() ? "its folder" : prefix;

  ULARGE_INTEGER freeBytes{};
  if (!GetDiskFreeSpaceExW(platform::widePath(prefix.empty() ? "." : prefix).c_str(), &freeBytes, nullptr, nullptr)) {
    throw std::runtime_error(shownFolder + ": " + lastError());
  }
  if (static_cast<unsigned long long>(size) > freeBytes.QuadPart) {
    throw std::runtime_error("the new file would take " + std::to_string(size) + " bytes, but " + shownFolder +
                             " has only " + std::to_string(freeBytes.QuadPart) + " free");
  }

  if (name.size() > 200) name.resize(200);
  SetConsoleCtrlHandler(removeTempOnConsoleEvent, TRUE);
  HANDLE file = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    const std::wstring temp = platform::widePath(
        prefix + "." + name + "." + std::to_string((GetTickCount64() * 7919 + GetCurrentProcessId() + attempt) % 1000000));
    if (temp.size() >= sizeof gTempPath / sizeof gTempPath[0]) throw std::runtime_error(finalPath + ": path too long");
    wcscpy(gTempPath, temp.c_str());
    file = CreateFileW(gTempPath, GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create a file in " + shownFolder + ": " + lastError());
  gHaveTemp = 1;
  FILE_DISPOSITION_INFO deleteOnClose{TRUE};
  SetFileInformationByHandle(file, FileDispositionInfo, &deleteOnClose, sizeof deleteOnClose);
  fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
  if (fd_ < 0) {
    CloseHandle(file);
    removePendingFileNow();
    throw std::runtime_error("cannot create a file in " + shownFolder);
  }
}

PendingFile::~PendingFile() {
  if (fd_ >= 0) _close(fd_);
  removePendingFileNow();
}

void PendingFile::commit() {
  HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(fd_));
  if (!FlushFileBuffers(file)) throw std::runtime_error("cannot write " + finalPath_ + ": " + lastError());
  // Visible under its final name: the attribute goes before the name comes.
  FILE_BASIC_INFO basic{};
  if (GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)) {
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
  }
  FILE_DISPOSITION_INFO keep{FALSE};
  if (!SetFileInformationByHandle(file, FileDispositionInfo, &keep, sizeof keep))
    throw std::runtime_error("cannot keep " + finalPath_ + ": " + lastError());
  const int fd = fd_;
  fd_ = -1;
  if (_close(fd) != 0) throw std::runtime_error("cannot write " + finalPath_ + ": " + std::strerror(errno));
  // Without MOVEFILE_REPLACE_EXISTING: a file that took the name while we wrote stays as it is.
  if (!MoveFileExW(gTempPath, platform::widePath(finalPath_).c_str(), MOVEFILE_WRITE_THROUGH)) {
    const DWORD problem = GetLastError();
    if (problem == ERROR_ALREADY_EXISTS || problem == ERROR_FILE_EXISTS) {
      throw std::runtime_error(finalPath_ + ": appeared meanwhile; not overwriting it");
    }
    throw std::runtime_error("cannot name the new file " + finalPath_ + ": " + tools::windowsErrorText(problem));
  }
  gHaveTemp = 0;
}

}  // namespace tools
