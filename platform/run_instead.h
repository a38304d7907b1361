#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

/// Replaces this process by `program` (its path byte for byte), started with `arguments` (the first names the program
/// itself), as the window program is started by the command-line front. Returns only when it
/// could not be started, with the reason.
QString runInstead(const QByteArray& program, char** arguments);

}  // namespace platform
