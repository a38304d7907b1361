#pragma once

#include <QString>

/// The name pattern (for QTemporaryDir) of a private folder of this run's in `base`: a run killed
/// outright leaves it behind, and its name says which run that was.
QString privateFolderTemplate(const QString& base);

/// Removes the private folders that runs which have ended left in XDG_RUNTIME_DIR and in the
/// temporary folder: those a forced end (SIGKILL, the out-of-memory killer, taskkill /F) gave no
/// chance to go, with whatever was being made in them. Those of runs still going stay.
void removeDeadRunsFolders();
