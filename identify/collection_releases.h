#pragma once

#include <QString>
#include <array>

#include "catalogue.h"

/// The releases that only the public patch collection's README names, most by its SHA-1 alone:
/// NERVE, the Master Levels, Heretic, Hexen and Deathkings, Strife and its Veteran Edition, DOOM 64,
/// the Unity port's extras, the PWADs the collection makes, and the few DOOM labels the other
/// tables lack. Looked up after the other tables.
const std::array<CatalogueRow, 40>& collectionReleases();

/// One folder of the collection: the label its patches hang from, and every label it has, the
/// oldest first, as the window lists what a release can be made into.
struct CollectionFolder {
  const char* folder;
  const char* hub;
  const char* labels;  ///< Space-separated, current names only.
};

const std::array<CollectionFolder, 13>& collectionFolders();

/// The folder `folder`, or nullptr.
const CollectionFolder* collectionFolder(const QString& folder);

/// True when `row` is the release its folder's patches hang from.
bool isCollectionHub(const CatalogueRow& row);
