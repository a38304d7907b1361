#pragma once

#include <QString>

#include "platform/process.h"

/// What one update or backdate action came to.
struct PatchResult {
  enum class Outcome {
    Created,     ///< The new file is there.
    NotCreated,  ///< Nothing was written; `message` says why.
    Abandoned,   ///< The tool was ended before it finished (the program is closing).
  };
  Outcome outcome = Outcome::NotCreated;
  QString patchCommand;  ///< The patch command line, when one was composed.
  QString message;       ///< What to tell the user.
};

/// Makes `targetFile` in the working folder from the file `sourceName` with the patch tool:
/// "bspatch.exe SOURCE TARGET" + `patchFile` (which begins with its blank). Refuses, without
/// running anything, when anything is already there under the target's name.
PatchResult createRelease(const QString& sourceName, const QString& targetFile, const QString& patchFile,
                          const platform::RunCommand& run);
