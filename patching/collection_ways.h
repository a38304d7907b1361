#pragma once

#include <QString>
#include <vector>

#include "identify/catalogue.h"

/// One patch file of the public collection that a way takes: the release it reads, the release
/// it makes, and the patch argument (" patches\nerve.wad\bfg-to-kex.vcdiff").
struct CollectionWay {
  QString path;  ///< As the collection names it: "nerve.wad/bfg-to-kex.vcdiff".
  const CatalogueRow* from;
  const CatalogueRow* to;
  QByteArray patchFile;
};

/// Every patch file of the collection that some way takes, each tied to its two rows by its
/// folder and labels, in the collection's order.
const std::vector<CollectionWay>& collectionWays();

/// One file of the collection that no way takes, and why.
struct ExcludedPatch {
  const char* path;
  const char* reason;
};

/// The collection's files that no way takes.
const std::vector<ExcludedPatch>& excludedPatches();

/// The file `release` is made as where nothing else names it: its folder's name and its label
/// ("nerve_unity_1.1.wad", "masterlevels_kex.wad"), unless its row names one.
QString collectionFileName(const CatalogueRow& release);
