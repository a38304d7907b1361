#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "identify/catalogue.h"

struct CollectionFile;

/// Whether a step's patch file is there for the patch tool: read as it is, there but unreadable (a
/// folder, no permission, a link to nothing: the user's to mend), or missing, which a fetch mends
/// where the collection has the file pinned.
enum class PatchState { Present, Unreadable, Missing, Fetchable };

/// One patch on a way: it makes `made.release` from `from`. Its file may lie under the design's
/// name or under the public collection's (`patches\doom.wad\kex-to-ud.vcdiff`); `present` is the
/// first of `patchFiles` that is in the working folder's `patches`, or empty when none is.
struct WayStep {
  const CatalogueRow* from;
  MadeFile made;
  QStringList patchFiles;  ///< Patch arguments, each with its leading blank; the design's first.
  QString present{};
  PatchState state = PatchState::Missing;
  QString unreadable{};                 ///< The first of `patchFiles` that is there but cannot be read.
  const CollectionFile* pin = nullptr;  ///< What a fetch stores, when the state is Fetchable.

  /// Looks in the working folder for the step's patch file, and sets what it found.
  void look();
};

/// The steps from one release to another, each made from what the one before made.
struct Way {
  std::vector<WayStep> steps;

  bool empty() const { return steps.empty(); }
  /// True when every step's patch file is there.
  bool complete() const;
  const MadeFile& last() const { return steps.back().made; }
};

/// Every patch argument that makes `to` from `from`, in the order they are tried: `designPatch`
/// (the design's own name), then the collection's file under the current labels of both releases,
/// then under their earlier ones.
QStringList patchFilesFor(const CatalogueRow& from, const CatalogueRow& to, const QString& designPatch);

/// The first of `patchFiles` that is in the working folder and can be read, or an empty text. One
/// that cannot be read is not there for the patch tool.
QString firstPresent(const QStringList& patchFiles);

/// The first of `patchFiles` that is there but cannot be read (no permission, a folder), or an
/// empty text.
QString firstUnreadable(const QStringList& patchFiles);

/// Why none of `patchFiles` can be used: one is there but cannot be read, and why; or none is
/// there, naming each and the folder looked in. The files named after `shownFolder`, as the user
/// typed it ("games/").
QString missingPatchText(const QStringList& patchFiles, const QString& shownFolder);

/// What one patch makes from `from`: the design's offers, then each file of the public collection
/// that reads it (a release the design already makes from it is not made twice).
std::vector<MadeFile> madeFromAll(const CatalogueRow& from);

/// What one patch of the collection makes from `from` beyond the design's own offers, as the
/// window lists them: its folder's hub first, then the releases older than the hub, then the later
/// ones, each group oldest first.
std::vector<MadeFile> collectionOffers(const CatalogueRow& from);

/// For each file that can be made from `from`, in one step or several, the shortest way there:
/// ways whose patch files are all there come before any that needs a missing one, and among
/// those, fewer missing files and then fewer steps win. Those of one step first, in the order the
/// window offers them, then those of two, and so on.
std::vector<Way> waysFrom(const CatalogueRow& from);

/// The way from `from` to the file `targetFile`, or an empty way when none leads there.
Way wayTo(const CatalogueRow& from, const QString& targetFile);
