#include "tools/bspatch/old_file.h"

#include <windows.h>

#include <stdexcept>

#include "platform/native_text_win32.h"
#include "tools/common/windows_error.h"

namespace bspatch {

// Windows refuses to shorten a file while it is mapped, so the old file cannot shrink under us:
// no handler is needed for reading a lost page. Shared for deleting: Wadwright holds a file made
// on the way so, to go with it however it ends.
OldFile::OldFile(const std::string& path) {
  auto fail = [&path] { throw std::runtime_error(path + ": " + tools::windowsErrorText(GetLastError())); };
  const std::wstring name = platform::widePath(path);
  HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) fail();
  LARGE_INTEGER size{};
  if (GetFileType(file) != FILE_TYPE_DISK || (GetFileAttributesW(name.c_str()) & FILE_ATTRIBUTE_DIRECTORY)) {
    CloseHandle(file);
    throw std::runtime_error(path + ": not a regular file");
  }
  if (!GetFileSizeEx(file, &size)) {
    CloseHandle(file);
    fail();
  }
  size_ = static_cast<size_t>(size.QuadPart);
  if (size_ > 0) {
    HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
    const DWORD problem = GetLastError();
    if (mapping) CloseHandle(mapping);  // the view keeps the mapping
    CloseHandle(file);
    if (!view) {
      SetLastError(problem);
      fail();
    }
    data_ = static_cast<const unsigned char*>(view);
  } else {
    CloseHandle(file);
  }
}

void OldFile::releasePages(std::span<const unsigned char> part) const {
  // Unlocking pages that were never locked takes them out of the working set: they come back
  // from the file cache when next read.
  if (!part.empty()) VirtualUnlock(const_cast<unsigned char*>(part.data()), part.size());
}

OldFile::~OldFile() {
  if (data_) UnmapViewOfFile(data_);
}

}  // namespace bspatch
