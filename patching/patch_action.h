#pragma once

#include <QString>

#include "identify/catalogue.h"
#include "platform/process.h"

/// What one update or backdate action came to.
struct PatchResult {
  enum class Outcome {
    Created,     ///< The new file is there, and it is the release it should be.
    Unchecked,   ///< The new file is there, but it could not be confirmed; `message` says why.
    NotCreated,  ///< No new file is there; `message` says why.
    Refused,     ///< Nothing was run: the target is there, the folder is read-only, or the selected
                 ///< file is not what was identified; `message` says which.
    Abandoned,   ///< A tool was ended before it finished (the program is closing).
  };
  Outcome outcome = Outcome::NotCreated;
  QString patchCommand;  ///< The patch command line, when one was run.
  QString message;       ///< What to tell the user.
};

/// One update or backdate: the selected file as it was identified, and what to make of it.
struct PatchJob {
  QString sourceName;
  QString sourceChecksum;  ///< The checksum the selected file was identified with.
  QString targetFile;
  QString patchFile;  ///< The patch argument, which begins with its blank.
  const CatalogueRow& release;  ///< The release the new file must be.
  /// Identified a moment ago under the lock the action holds: it need not be read again.
  bool identifiedUnderLock = false;
  /// What is said names the files by this folder, as the user typed it ("games/"), where given.
  QString shownFolder{};
  /// What is said calls the files so, where given, instead of by the folder and the name: a file
  /// made on the way lives in a private folder the user never typed.
  QString shownSource{}, shownTarget{};
  /// The new file is made on the way to another: one that cannot be checked is no use to anyone.
  bool madeOnTheWay = false;
};

/// True when anything at all is under `name` in the working folder, a link to nothing included:
/// the patch tool must not be pointed at it.
bool anythingUnder(const QString& name);

/// Why `targetFile` cannot be made in the working folder before anything is run (something is
/// already under its name, or the folder is read-only), or an empty text when it can.
QString whyNotCreate(const QString& targetFile, const QString& shownTarget);

/// Makes `job.targetFile` in the working folder from the selected file with the patch tool:
/// "bspatch.exe SOURCE TARGET" + the patch argument. Runs nothing when anything is already there
/// under the target's name, when the folder is read-only, or when the selected file no longer has
/// the checksum it was identified with. The new file is then identified as a selected file is;
/// one that is not `job.release` is removed.
PatchResult createRelease(const PatchJob& job, const platform::RunCommand& run);
