#include "native_names.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include <QDir>
#include <QFile>

#include "file_disposition_win32.h"
#include "native_text_win32.h"

namespace platform {

// Windows names are UTF-16 text; the bytes here are their ANSI-code-page spelling. A name that
// spelling cannot hold does not come back from it.
bool isTextPath(const QByteArray& path) { return QFile::encodeName(QFile::decodeName(path)) == path; }

QByteArray currentNativeFolder() {
  DWORD length = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(length, L'\0');
  folder.resize(GetCurrentDirectoryW(length, folder.data()));
  return folder.empty() ? QByteArray(".") : QByteArray::fromStdString(narrowText(folder));
}

// C:\x, \\server\share and \x (the working drive's root) are absolute; C:x is not, and is left
// to Windows.
static bool isAbsolute(const QByteArray& path) {
  return path.startsWith('\\') || path.startsWith('/') ||
         (path.size() > 2 && path[1] == ':' && (path[2] == '\\' || path[2] == '/'));
}

QByteArray absoluteNativePath(const QByteArray& path) {
  return isAbsolute(path) ? path : currentNativeFolder() + "\\" + path;
}

// A device (NUL, COM1) has no attributes, but it is something under the name, not nothing.
bool nativePathExists(const QByteArray& path) {
  return isDevicePath(path.toStdString()) || GetFileAttributesW(widePath(path.toStdString()).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Either separator ends the folder part; a drive's root keeps its separator (C:\\).
NativeSplitPath splitNativePath(const QByteArray& path) {
  const qsizetype slash = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
  if (slash < 0) return {".", path};
  const bool root = slash == 0 || (slash == 2 && path[1] == ':');
  return {path.left(root ? slash + 1 : slash), path.mid(slash + 1)};
}

bool isNativeFolder(const QByteArray& path) {
  const DWORD attributes = GetFileAttributesW(widePath(path.toStdString()).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

QByteArray realNativePath(const QByteArray& path) {
  const std::wstring wide = wideText(path.toStdString());
  std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
  if (full.empty()) return {};
  full.resize(GetFullPathNameW(wide.c_str(), DWORD(full.size()), full.data(), nullptr));
  return nativePathExists(path) ? QByteArray::fromStdString(narrowText(full)) : QByteArray();
}

bool isReadableFolder(const QByteArray& path) { return isNativeFolder(path); }

// Windows starts no program in a folder whose path is MAX_PATH long or more, and enters none that
// long where its long paths are off: such a folder is entered by its short (8.3) name, where the
// volume keeps them.
bool enterNativeFolder(const QByteArray& path) {
  const std::wstring prefixed = widePath(path.toStdString());
  if (prefixed.rfind(L"\\\\?\\", 0) == 0) {
    std::wstring folder(GetShortPathNameW(prefixed.c_str(), nullptr, 0), L'\0');
    folder.resize(GetShortPathNameW(prefixed.c_str(), folder.data(), DWORD(folder.size())));
    // Without the prefix, which a working folder does not take: \\?\C:\x is C:\x, \\?\UNC\s\x is \\s\x.
    folder = folder.rfind(L"\\\\?\\UNC\\", 0) == 0 ? L"\\\\" + folder.substr(8) : folder.substr(std::min<size_t>(4, folder.size()));
    if (!folder.empty() && folder.size() < MAX_PATH - 1 && SetCurrentDirectoryW(folder.c_str())) return true;
  }
  return SetCurrentDirectoryW(wideText(path.toStdString()).c_str());
}

namespace {

// A copy of our own, made writable whatever the original's attributes, so that it goes as any
// file of ours does. Made through handles: `to` is new, or nothing is written.
bool copyAsOurOwn(const std::wstring& from, const std::wstring& to) {
  const HANDLE source = CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (source == INVALID_HANDLE_VALUE) return false;
  const HANDLE copy = CreateFileW(to.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool copied = copy != INVALID_HANDLE_VALUE;
  std::vector<char> buffer(1 << 20);
  for (DWORD read = 0, written = 0; copied && (copied = ReadFile(source, buffer.data(), DWORD(buffer.size()), &read, nullptr)) && read;)
    copied = WriteFile(copy, buffer.data(), read, &written, nullptr) && written == read;
  if (copy != INVALID_HANDLE_VALUE) {
    if (!copied) deleteHeldName(copy);  // no half copy left
    CloseHandle(copy);
  }
  CloseHandle(source);
  return copied;
}

}  // namespace

// A symbolic link needs a privilege on Windows; a hard link needs the same volume, and where it
// cannot be made a copy hands the file over as well. A hard link shares its attributes with the
// user's file: a read-only one is linked only where Windows deletes the link as it is, never by
// making it writable, and copied elsewhere.
bool linkToNativePath(const QByteArray& target, const QString& link) {
  const std::wstring from = widePath(target.toStdString()), to = widePath(QDir::toNativeSeparators(link).toStdWString());
  const DWORD attributes = GetFileAttributesW(from.c_str());
  const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
  if ((!readOnly || deletesReadOnlyNames(to + L".probe")) && CreateHardLinkW(to.c_str(), from.c_str(), nullptr)) return true;
  return copyAsOurOwn(from, to);
}

QString shownPath(const QString& windowsPath) { return windowsPath; }

QByteArray shownNativePath(const QByteArray& path) { return QByteArray(path).replace('/', '\\'); }

bool backslashMayBeInNames() { return false; }

}  // namespace platform
