#pragma once

#include <QString>
#include <array>

#include "catalogue.h"

/// Releases outside the design's catalogue (the store re-releases, translations, Freedoom, the
/// other games of the family): rows with no note, whose only offer is the update that the public
/// patch collection makes into their game's hub release, where it does. Looked up only after the
/// catalogue.
const std::array<CatalogueRow, 44>& knownReleases();

/// The known release whose checksum equals `checksum` exactly, or nullptr.
const CatalogueRow* lookUpKnownRelease(const QString& checksum);
