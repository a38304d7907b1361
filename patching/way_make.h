#pragma once

#include <QString>

#include "patch_action.h"
#include "patch_ways.h"

/// One making over a way: the selected file as it was identified, and the file to make of it.
struct WayJob {
  QString sourceName;
  QString sourceChecksum;
  QString targetFile;
  bool identifiedUnderLock = false;
  QString shownFolder{};
};

/// Makes `job.targetFile` in the working folder from the selected file along `way`, whose patch
/// files must all be there. Each file made on the way goes into a private folder and is checked as
/// the release it should be before the next step reads it; only the last one appears beside the
/// selected file, checked. Whatever ends it, nothing else is left.
PatchResult makeAlongWay(const WayJob& job, const Way& way, const platform::RunCommand& run);

/// Why makeAlongWay would not take `way` now in the working folder: each patch file of it that is
/// missing or cannot be read; or else that its last file is already there or the folder is
/// read-only; or else, as whyNoRoom, that there is no room. Empty when it would. The files are
/// named after `shownFolder`.
QString whyNotTaken(const Way& way, const QString& shownFolder);

/// That there is no room for `way`, found before anything runs: the working folder has none for
/// its last file, or no private folder of the user's has room for every file made on the way
/// (XDG_RUNTIME_DIR is often a small tmpfs; the temporary folder is tried after it). Empty where
/// there is room, or where a file system does not say how much it has.
QString whyNoRoom(const Way& way, const QString& shownFolder);

/// The way in one sentence: "by way of Ultimate Doom (patches/doom.wad/kex-to-ud.vcdiff, then
/// patches/doom.wad/ud-to-1.9.vcdiff)", the patch files named after `shownFolder`.
QString wayText(const Way& way, const QString& shownFolder);
