#pragma once

#include <QStringList>

/// `wadwright --identify [--json] FILE...`: identifies each file as the window does, without a
/// window, and prints one line per file (or one JSON array). Returns the exit status: 0 when every
/// file is known, 1 when one is unknown and none failed, 2 when any failed.
int identifyFromCommandLine(const QStringList& arguments, const QString& programFolder);
