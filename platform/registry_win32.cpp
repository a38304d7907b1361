#include "registry_win32.h"

#include <windows.h>

namespace platform {

// Opened with KEY_READ alone and read with RegGetValueW: QSettings creates a key it is asked to
// read from, and a search must leave the registry as it found it.
QString registryText(const QString& key, const QString& name) {
  const qsizetype slash = key.indexOf('\\');
  const QString rootName = key.left(slash);
  const HKEY root = rootName == "HKEY_CURRENT_USER"    ? HKEY_CURRENT_USER
                    : rootName == "HKEY_LOCAL_MACHINE" ? HKEY_LOCAL_MACHINE
                                                       : nullptr;
  if (!root || slash < 0) return {};
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key.mid(slash + 1).toStdWString().c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
  const std::wstring value = name.toStdWString();
  std::wstring text;
  DWORD size = 0;
  LSTATUS status = RegGetValueW(opened, nullptr, value.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size);
  // The value may grow between the two calls: asked again until it fits.
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    text.resize(size / sizeof(wchar_t) + 1);
    size = DWORD(text.size() * sizeof(wchar_t));
    status = RegGetValueW(opened, nullptr, value.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &size);
    if (status == ERROR_SUCCESS) {
      text.resize(size / sizeof(wchar_t));
      break;
    }
  }
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS) return {};
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return QString::fromStdWString(text);
}

}  // namespace platform
