#pragma once

#include <QString>
#include <vector>

#include "catalogue.h"
#include "wad_structure.h"

/// What is told of a file in no row: what its own bytes say, held against the sizes the catalogue
/// knows. The first of these that holds, in this order.
struct WadVerdict {
  enum class Kind {
    None,         ///< It could not be read: nothing is told.
    Empty,
    Archive,
    Page,
    NotWad,
    CutShort,     ///< Cut short, or damaged within.
    DamagedCopy,  ///< A release's size, another checksum: `sameSize` names every such release.
    Pwad,         ///< `sameSize` names the collection's levels PWAD of its size, where there is one.
    Iwad,         ///< Its game, where told, and the release of that game `nearest` in size.
  };
  Kind kind = Kind::None;
  wad::Structure structure;
  std::vector<const CatalogueRow*> sameSize;
  const CatalogueRow* nearest = nullptr;
  qint64 bytesOff = 0;  ///< The file's size less `nearest`'s.
};

/// The verdict on a file of this structure.
WadVerdict judgeStructure(const wad::Structure& structure);

/// Reads the structure of the ordinary file `name` and judges it; Kind::None where it cannot be read.
WadVerdict readWadVerdict(const QString& name);

/// As --identify and --json name it: "cut-short" ...; empty for Kind::None.
QString kindName(WadVerdict::Kind kind);

/// What it is and what can be done, in a sentence or two for the player; empty for Kind::None.
QString verdictText(const WadVerdict& verdict);

/// Its maps in short: "E1M1-E1M9, E2M1-E2M9", "MAP01-MAP32".
QString mapsInShort(const std::vector<std::string>& maps);
