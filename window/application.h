#pragma once

#include "version.h"

class QApplication;

/// The title of every message box.
inline constexpr const char* kProgramTitle = "Wadwright";

/// The address of the program's site, shown small and grey in both windows.
inline constexpr const char* kWebAddress = "wadwright.example.org";

/// Called before the application object is made: where no display can be reached, the program
/// ends with one line on standard error saying so, rather than Qt's advice to reinstall it.
void explainUnreachableDisplay();

/// Names, version and fonts the windows rely on; called once, before the first window. It also
/// hands Qt's messages back to Qt.
void prepareApplication(QApplication& application);
