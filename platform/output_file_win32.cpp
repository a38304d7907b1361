#include "output_file.h"

#include <windows.h>

#include <QDir>

namespace platform {

// Made to be deleted as its last handle closes. The helper's interpreter opens it again by name,
// sharing it for writing and deleting, as this handle shares it.
OutputFile::OutputFile(const QString& path, qint64 room) : path_(path) {
  HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
                            GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  handle_ = file;
  const QByteArray spaces(room, ' ');
  DWORD written = 0;
  made_ = WriteFile(file, spaces.constData(), DWORD(spaces.size()), &written, nullptr) && written == DWORD(room) &&
          FlushFileBuffers(file);
}

OutputFile::~OutputFile() {
  if (handle_) CloseHandle(handle_);
}

QByteArray OutputFile::read(qint64 size) const {
  if (!made_) return {};
  QByteArray bytes(size, '\0');
  LARGE_INTEGER start{};
  DWORD got = 0;
  if (!SetFilePointerEx(handle_, start, nullptr, FILE_BEGIN) || !ReadFile(handle_, bytes.data(), DWORD(size), &got, nullptr))
    return {};
  bytes.resize(got);
  return bytes;
}

}  // namespace platform
