#pragma once

#include <QString>

namespace platform {

/// A file name as one word of a tool's command line (quoted where it must be), or an empty text
/// when it cannot be handed over safely.
QString commandWord(const QString& name);

}  // namespace platform
