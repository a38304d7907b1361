#pragma once

#include <optional>
#include <string>

namespace platform {

/// Finds a program named on a command line: a name with a folder part is taken as it stands;
/// a bare name is looked for in the program's own folder, then the working folder, then PATH.
/// Our own helpers (command.com, md5sum.exe, bspatch.exe, fetch.exe, explorer) come from the
/// program's folder alone: a folder of downloaded files must never supply the program that decides what a
/// file is, or that writes the new one.
/// On failure, `why` (if given) says what was wrong.
std::optional<std::string> findProgram(const std::string& name, const std::string& programFolder,
                                       std::string* why = nullptr);

/// The variable through which a child reads the command line it was started with, as a Windows
/// program would through GetCommandLine.
inline constexpr const char* kCommandLineVariable = "WADWRIGHT_COMMAND_LINE";

}  // namespace platform
