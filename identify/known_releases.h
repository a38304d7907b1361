#pragma once

#include <QString>
#include <array>

#include "catalogue.h"

/// Releases that are named but that no patch turns into another release (the store
/// re-releases, translations, Freedoom, the other games of the family): rows with no offer and
/// no note. Looked up only after the catalogue.
const std::array<CatalogueRow, 44>& knownReleases();

/// The known release whose checksum equals `checksum` exactly, or nullptr.
const CatalogueRow* lookUpKnownRelease(const QString& checksum);
