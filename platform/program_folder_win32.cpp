#include "program_folder.h"

#include <windows.h>

#include <QFile>
#include <string>

#include "native_text_win32.h"

namespace platform {

// Windows names the program by UTF-16 text, which our narrow spelling holds: every folder can be
// started from as it is named, and no handle is needed to reach it.
QByteArray programFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const QByteArray self = QByteArray::fromStdString(narrowText(path));
  return self.left(self.lastIndexOf('\\'));
}

QString startablePath(const std::string& path) { return QString::fromStdWString(wideText(path)); }

QString commandFolder(const QByteArray& folder) { return QString::fromStdWString(wideText(folder.toStdString())); }

}  // namespace platform
