#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "collection_files.h"
#include "patch_source.h"
#include "patch_ways.h"
#include "platform/process.h"

/// A patch file a way needs that is not in the working folder, but that the collection has,
/// pinned: it can be fetched.
struct FetchFile {
  QString patchFile;  ///< The patch argument it is found under once fetched (" patches\doom.wad\kex-to-ud.vcdiff").
  const CollectionFile* pin;
  /// Where it is stored, relative to the working folder, as the system writes paths.
  QString target() const;
};

/// What fetching would bring for one way.
struct FetchList {
  std::vector<FetchFile> files;
  /// False when a step's patch file is missing and the collection has none pinned for it:
  /// fetching alone does not complete the way.
  bool completesWay = true;
  qint64 bytes() const;
};

/// The files to fetch before `patchFiles` (a step's names, as patchFilesFor gives them) has one
/// present: the first of them that is pinned, or none.
const CollectionFile* pinnedAmong(const QStringList& patchFiles);

/// The patch argument a collection file is found under in the working folder:
/// " patches\doom.wad\kex-to-ud.vcdiff".
QString patchArgument(const CollectionFile& file);

/// The files to fetch before every step of `way` has its patch file.
FetchList filesToFetch(const Way& way);

/// A size as a player reads it: "121 bytes", "40 KB", "1.2 MB".
QString sizeText(qint64 bytes);

/// The files and their size, each named after `shownFolder`: "the patch file
/// 'patches/doom.wad/kex-to-ud.vcdiff' (40 KB)", or "the patch files 'a' and 'b' (1.1 MB in all)".
QString fetchListText(const FetchList& list, const QString& shownFolder);

/// How a fetching ended.
struct FetchResult {
  enum class Outcome { Fetched, Failed, Abandoned };
  Outcome outcome = Outcome::Fetched;
  QString message;  ///< Why it failed.
  int stored = 0;   ///< How many files of a list were stored, one after another, before it ended.
};

/// Told as the fetch tool reports: how many of the file's bytes have come.
using FetchProgress = std::function<void(qint64 bytes)>;

/// Fetches `file` from `source` into the working folder with "fetch.exe SOURCE TARGET SIZE SHA256",
/// which stores it only when it is the pinned file, and leaves nothing else, whatever ends it.
/// What is said names the file after `shownFolder`, as the user typed it ("games/").
FetchResult fetchFile(const FetchFile& file, const PatchSource& source, const platform::RunWatchedCommand& run,
                      const FetchProgress& progress, const QString& shownFolder = {});

/// Each step of `way` looks again for its patch file, after a fetch.
void lookAgain(Way& way);
