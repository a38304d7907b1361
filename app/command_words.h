#pragma once

#include <QString>
#include <string>

/// A file name as one word of a tool's command line (quoted where it must be), or an empty text
/// when it cannot be handed over safely.
QString commandWord(const QString& name);

/// Text a tool or the operating system gave us (standard error, a start failure), trimmed.
QString toolText(const std::string& text);
