#include "native_text_win32.h"

#include <windows.h>

#include <cwctype>

namespace platform {

std::wstring wideText(const std::string& text) {
  if (text.empty()) return {};
  int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(size_t(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), length);
  return wide;
}

std::string narrowText(const std::wstring& text) {
  if (text.empty()) return {};
  int length = WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(size_t(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), narrow.data(), length, nullptr, nullptr);
  return narrow;
}

namespace {

// Windows' own reading of `path`, `.` and `..` gone and every `/` a `\`: `\\.\NUL` for a device.
std::wstring fullPath(const std::wstring& path) {
  std::wstring full(GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
  if (full.empty()) return {};
  full.resize(GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), nullptr));
  return full;
}

bool startsWith(const std::wstring& text, const wchar_t* start) { return text.rfind(start, 0) == 0; }

}  // namespace

std::wstring widePath(const std::wstring& path) {
  // Kept under MAX_PATH less the room of an 8.3 name, as CreateDirectory counts.
  const std::wstring full = path.empty() || startsWith(path, L"\\\\?\\") ? std::wstring() : fullPath(path);
  if (full.size() < MAX_PATH - 12 || startsWith(full, L"\\\\?\\") || startsWith(full, L"\\\\.\\")) return path;
  return startsWith(full, L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

bool isDevicePath(const std::string& path) {
  std::wstring full = path.empty() ? std::wstring() : fullPath(wideText(path));
  if (!startsWith(full, L"\\\\.\\")) return false;
  full.erase(0, 4);
  for (wchar_t& c : full) c = wchar_t(std::towlower(c));
  // \\.\C:\games\doom.wad is a file reached through the device namespace; \\.\pipe\x is a pipe.
  return full.find(L'\\') == std::wstring::npos || startsWith(full, L"pipe\\");
}

}  // namespace platform
