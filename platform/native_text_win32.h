#pragma once

#include <string>

namespace platform {

// Windows names files in UTF-16; our narrow texts (command lines, paths) are in the ANSI code
// page, which the program's manifest makes UTF-8 where Windows allows it.
std::wstring wideText(const std::string& text);
std::string narrowText(const std::wstring& text);

}  // namespace platform
