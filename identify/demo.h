#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

struct CatalogueRow;

/// What a DOOM demo (a .lmp file) says of itself: the executable version that recorded it, where
/// and how it was played, and so the catalogue's releases that play it back as recorded.
struct Demo {
  QString problem;  ///< Why the file is no demo, for the user; the rest is meaningful only when empty.
  int versionByte = -1;  ///< -1 for the old header of V1.0-V1.2, which has none.
  QString version;       ///< As players name it: "V1.666", "V1.0-V1.2" ...
  QString port;          ///< The source port family that recorded it, for demos no release plays.
  QString game;          ///< "DOOM2", "DOOM or DOOM2" ...: as much as its map tells.
  int skill = 0;         ///< 1 ("I'm too young to die") to 5 ("Nightmare!"), as -skill counts.
  int episode = 0;
  int map = 0;
  int players = 0;
  std::vector<const CatalogueRow*> releases;  ///< In catalogue order; none for a port's demo.

  /// E1M1 or MAP07 style; "E1M3 or MAP03" where the header cannot tell the two games apart.
  QString mapName() const;
  QString skillName() const;
  /// "This demo was recorded with DOOM2 V1.666 on MAP07, skill 4 (Ultra-Violence), 1 player."
  QString sentence() const;
  /// Whether `row`'s executable plays it back as recorded.
  bool plays(const CatalogueRow* row) const;
  /// Whether a source port may play it with `row`'s files: only if it was recorded on them, which
  /// no header tells (Freedoom's maps have DOOM's numbers).
  bool mayPlay(const CatalogueRow* row) const;
};

/// The most a demo is read for its end marker: over 100 hours of one player's tics.
inline constexpr qint64 kDemoScanLimit = 64 << 20;

/// Reads the demo at `path` (given byte for byte): its header, and its tics up to the end marker,
/// at most kDemoScanLimit bytes. Anything but an ordinary file is refused unread.
Demo readDemo(const QByteArray& path);

/// The demo whose first bytes are `start`, without its tics: what the header alone says.
Demo demoFromHeader(const QByteArray& start);
