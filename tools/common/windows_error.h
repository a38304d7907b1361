#pragma once

#include <string>

namespace tools {

/// What a Windows error code means, in the words coreutils uses for the common ones ("No such
/// file or directory"), else in Windows' own.
std::string windowsErrorText(unsigned long code);

/// The errno value for the common Windows error codes (ENOENT for ERROR_FILE_NOT_FOUND); 0 for the others.
int windowsErrorNumber(unsigned long code);

/// The folder of the running program, from GetModuleFileNameW.
std::string ownFolder();

}  // namespace tools
