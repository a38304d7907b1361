#include "native_text_win32.h"

#include <windows.h>

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

}  // namespace platform
