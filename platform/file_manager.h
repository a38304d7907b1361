#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

/// Shows `folder` in the desktop's file manager, through the program's `explorer`. False, with
/// the reason in `why`, when the file manager could not be started or ended at once with an error.
/// The event loop runs while it starts.
bool showInFileManager(const QByteArray& folder, const QByteArray& programFolder, QString* why);

}  // namespace platform
