#include "native_names.h"

#include <windows.h>

#include <QDir>
#include <QFile>

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

bool nativePathExists(const QByteArray& path) {
  return GetFileAttributesW(wideText(path.toStdString()).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool enterNativeFolder(const QByteArray& path) { return SetCurrentDirectoryW(wideText(path.toStdString()).c_str()); }

// A symbolic link needs a privilege on Windows; a hard link needs the same volume, and where it
// cannot be made a copy hands the file over as well.
bool linkToNativePath(const QByteArray& target, const QString& link) {
  const std::wstring from = wideText(target.toStdString()), to = QDir::toNativeSeparators(link).toStdWString();
  return CreateHardLinkW(to.c_str(), from.c_str(), nullptr) || CopyFileW(from.c_str(), to.c_str(), TRUE);
}

QString shownPath(const QString& windowsPath) { return windowsPath; }

}  // namespace platform
