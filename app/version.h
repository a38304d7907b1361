#pragma once

/// The program's version, as --version and the windows show it.
inline constexpr const char* kProgramVersion = WADWRIGHT_VERSION;
