#pragma once

#include <QByteArray>
#include <QString>

/// Where a path given on the command line or dropped on the window leads: the folder to work in
/// and the file in it to select.
struct StartPlace {
  QByteArray folder;  ///< Its real path, byte for byte; empty when the path leads nowhere usable.
  QString file;       ///< The name to select in that folder, or empty.
  QString problem;    ///< What to tell the user when the path leads nowhere usable.
};

StartPlace placeOf(const QString& path);
