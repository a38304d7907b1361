#pragma once

class QApplication;

/// The title of every message box.
inline constexpr const char* kProgramTitle = "Wadwright";
inline constexpr const char* kProgramVersion = WADWRIGHT_VERSION;

/// The address of the program's site, shown small and grey in both windows.
inline constexpr const char* kWebAddress = "wadwright.example.org";

/// Names, version and fonts the windows rely on; called once, before the first window.
void prepareApplication(QApplication& application);
