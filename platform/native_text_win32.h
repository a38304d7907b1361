#pragma once

#include <string>

namespace platform {

// Windows names files in UTF-16; our narrow texts (command lines, paths) are in the ANSI code
// page, which the program's manifest makes UTF-8 where Windows allows it.
std::wstring wideText(const std::string& text);
std::string narrowText(const std::wstring& text);

/// `path` as Windows' file calls take it whatever its length: one whose whole path is near
/// MAX_PATH or longer is made whole and given the `\\?\` prefix (`\\?\UNC\` for a share), under
/// which Windows knows no such limit, even where long paths are not turned on; others stand as they are.
std::wstring widePath(const std::wstring& path);
inline std::wstring widePath(const std::string& path) { return widePath(wideText(path)); }

/// True when `path` names a device rather than a file: NUL, CON, COM1 and their kin in any folder and,
/// where Windows reads them so, with any extension (`nul.wad`), or a path in the device namespace
/// (`\\.\pipe\x`). Opening one could wait, or do something of its own.
bool isDevicePath(const std::string& path);

}  // namespace platform
