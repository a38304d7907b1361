#pragma once

#include "version.h"

class QApplication;

/// The title of every message box.
inline constexpr const char* kProgramTitle = "Wadwright";

/// The address of the program's site, shown small and grey in both windows.
inline constexpr const char* kWebAddress = "wadwright.example.org";

/// Names, version and fonts the windows rely on; called once, before the first window.
void prepareApplication(QApplication& application);
