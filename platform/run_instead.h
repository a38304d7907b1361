#pragma once

#include <QString>

namespace platform {

/// Replaces this process by `program`, started with `arguments` (the first names the program
/// itself), as the window program is started by the command-line front. Returns only when it
/// could not be started, with the reason.
QString runInstead(const QString& program, char** arguments);

}  // namespace platform
