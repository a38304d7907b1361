#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

/// The name pattern (for QTemporaryDir) of a private folder of this run's in `base`: a run killed
/// outright leaves it behind, and its name says which run that was.
QString privateFolderTemplate(const QString& base);

/// Removes a private folder as it goes, through handles (never by path, never following a link),
/// waiting a moment for it where it cannot go at once:
/// Windows lets go of what a helper held a little after the helper ends (so may a virus scanner),
/// and a folder with a file in it still cannot be removed.
struct PrivateFolderRemoval {
  void operator()(QTemporaryDir* folder) const;
};
using PrivateFolder = std::unique_ptr<QTemporaryDir, PrivateFolderRemoval>;

/// Removes the private folders that runs which have ended left in XDG_RUNTIME_DIR and in the
/// temporary folder: those a forced end (SIGKILL, the out-of-memory killer, taskkill /F) gave no
/// chance to go, with whatever was being made in them. Those of runs still going stay, and so does
/// whatever is not a real folder of this user's, whatever its name.
void removeDeadRunsFolders();
