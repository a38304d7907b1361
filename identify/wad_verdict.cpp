#include "wad_verdict.h"

#include <QFile>
#include <algorithm>
#include <cstdlib>

#include "platform/regular_file.h"

namespace {

// The releases of each game the structure reader names: the rows in the collection's folders of
// the game, and the rows outside the collection whose names begin so.
struct GameReleases {
  const char* game;
  const char* folders;  // space-separated
  const char* names;    // |-separated beginnings
};
constexpr GameReleases kGameReleases[] = {
    {"DOOM", "doom.wad", "DOOM ALPHA|DOOM PRESS|DOOM Shareware|DOOM BFG"},
    {"DOOM2", "doom2.wad tnt.wad plutonia.wad", "Final Doom"},
    {"Heretic", "heretic.wad", "Heretic"},
    {"Hexen", "hexen.wad", "Hexen"},
    {"Strife", "strife1.wad", "Strife"},
    {"Freedoom: Phase 1", "", "Freedoom: Phase 1"},
    {"Freedoom: Phase 2", "", "Freedoom: Phase 2"},
};

bool isOfGame(const CatalogueRow& row, const QString& game) {
  for (const GameReleases& releases : kGameReleases) {
    if (game != QLatin1String(releases.game)) continue;
    if (row.collectionFolder) return QString(releases.folders).split(' ').contains(QLatin1String(row.collectionFolder));
    for (const QString& start : QString(releases.names).split('|'))
      if (QLatin1String(row.releaseName).startsWith(start)) return true;
  }
  return false;
}

// One of the collection's levels PWADs: made by its patches, known by no checksum, only by its size.
bool isLevelsPwad(const CatalogueRow& row) {
  return row.collectionLabels && QString(row.collectionLabels).section(' ', 0, 0) == "pwad";
}

bool hasChecksum(const CatalogueRow& row) { return row.checksum || row.sha1; }

WadVerdict::Kind kindOf(wad::Structure::Kind kind) {
  using K = wad::Structure::Kind;
  switch (kind) {
    case K::Unread: return WadVerdict::Kind::None;
    case K::Empty: return WadVerdict::Kind::Empty;
    case K::Archive: return WadVerdict::Kind::Archive;
    case K::Page: return WadVerdict::Kind::Page;
    case K::NotWad: return WadVerdict::Kind::NotWad;
    case K::CutShort:
    case K::Damaged: return WadVerdict::Kind::CutShort;
    case K::Iwad: return WadVerdict::Kind::Iwad;
    case K::Pwad: return WadVerdict::Kind::Pwad;
  }
  return WadVerdict::Kind::None;
}

QString names(const std::vector<const CatalogueRow*>& rows) {
  QStringList all;
  for (const CatalogueRow* row : rows) all << row->releaseName;
  const QString last = all.takeLast();
  return all.isEmpty() ? last : all.join(", ") + " or " + last;
}

// The first bytes, as hexadecimal and as the characters they are where they print.
QString firstBytesText(const std::string& bytes) {
  QStringList hex;
  QString shown;
  for (char c : bytes) {
    hex << QString("%1").arg(uint(uchar(c)), 2, 16, QChar('0')).toUpper();
    shown += uchar(c) >= 0x20 && uchar(c) < 0x7f ? QLatin1Char(c) : QLatin1Char('.');
  }
  return hex.join(' ') + " (" + shown + ")";
}

QString mapsClause(const wad::Structure& structure) {
  return structure.maps.empty() ? QString("it holds no maps") : "it holds the maps " + mapsInShort(structure.maps);
}

QString nearestClause(const WadVerdict& verdict) {
  if (!verdict.nearest) return QString(" No release of %1 in my catalogue has a size I know.").arg(QString::fromStdString(verdict.structure.game));
  const qint64 off = std::llabs(verdict.bytesOff);
  return QString(" The nearest in size is %1, %2 bytes %3.")
      .arg(verdict.nearest->releaseName)
      .arg(off)
      .arg(verdict.bytesOff > 0 ? "smaller" : "larger");
}

}  // namespace

WadVerdict judgeStructure(const wad::Structure& structure) {
  WadVerdict verdict;
  verdict.structure = structure;
  verdict.kind = kindOf(structure.kind);
  if (verdict.kind != WadVerdict::Kind::Iwad && verdict.kind != WadVerdict::Kind::Pwad) return verdict;
  const qint64 size = qint64(structure.size);
  const std::vector<const CatalogueRow*> rows = everyRow();
  for (const CatalogueRow* row : rows)
    if (row->size == size && hasChecksum(*row)) verdict.sameSize.push_back(row);
  if (!verdict.sameSize.empty()) {
    verdict.kind = WadVerdict::Kind::DamagedCopy;
    return verdict;
  }
  if (verdict.kind == WadVerdict::Kind::Pwad) {
    for (const CatalogueRow* row : rows)
      if (row->size == size && isLevelsPwad(*row)) verdict.sameSize.push_back(row);
    return verdict;
  }
  const QString game = QString::fromStdString(structure.game);
  for (const CatalogueRow* row : rows) {
    if (row->size <= 0 || isLevelsPwad(*row) || !isOfGame(*row, game)) continue;
    if (!verdict.nearest || std::llabs(size - row->size) < std::llabs(verdict.bytesOff)) {
      verdict.nearest = row;
      verdict.bytesOff = size - row->size;
    }
  }
  return verdict;
}

WadVerdict readWadVerdict(const QString& name) {
  platform::RegularFile file(QFile::encodeName(name));
  if (!file.problem().isEmpty()) return {};
  return judgeStructure(wad::readStructure(quint64(file.size()), [&file](std::uint64_t offset, char* into, std::size_t size) {
    return std::int64_t(file.readAt(qint64(offset), into, qint64(size)));
  }));
}

QString kindName(WadVerdict::Kind kind) {
  switch (kind) {
    case WadVerdict::Kind::None: break;
    case WadVerdict::Kind::Empty: return "empty";
    case WadVerdict::Kind::Archive: return "archive";
    case WadVerdict::Kind::Page: return "page";
    case WadVerdict::Kind::NotWad: return "not-wad";
    case WadVerdict::Kind::CutShort: return "cut-short";
    case WadVerdict::Kind::DamagedCopy: return "damaged-copy";
    case WadVerdict::Kind::Pwad: return "pwad";
    case WadVerdict::Kind::Iwad: return "iwad";
  }
  return {};
}

QString verdictText(const WadVerdict& verdict) {
  const wad::Structure& structure = verdict.structure;
  switch (verdict.kind) {
    case WadVerdict::Kind::None: break;
    case WadVerdict::Kind::Empty: return "The file is empty.";
    case WadVerdict::Kind::Archive:
      return QString("It is a %1 archive; unpack it: the IWAD is inside.").arg(QString::fromStdString(structure.format));
    case WadVerdict::Kind::Page: return "It is a web page, not a game file: the download failed.";
    case WadVerdict::Kind::NotWad: return "It is no WAD: it begins with " + firstBytesText(structure.firstBytes) + ".";
    case WadVerdict::Kind::CutShort:
      if (!structure.fault.empty()) return QString("It is damaged: %1.").arg(QString::fromStdString(structure.fault));
      if (structure.expectedSize == 0)
        return QString("It is cut short: it has %1 bytes, fewer than a WAD's 12-byte header.").arg(structure.size);
      return QString("It is cut short or damaged: it has %1 bytes, and its own directory says it should have %2.")
          .arg(structure.size)
          .arg(structure.expectedSize);
    case WadVerdict::Kind::DamagedCopy:
      return "It is a damaged or changed copy of " + names(verdict.sameSize) + ": it has the size, not the checksum. I will not patch it.";
    case WadVerdict::Kind::Pwad:
      if (!verdict.sameSize.empty())
        return QString("It is the %1 the public patch collection makes, an add-on (a PWAD): it needs an IWAD to be played; %2.")
            .arg(names(verdict.sameSize), mapsClause(structure));
      return "It is an add-on (a PWAD): it needs an IWAD to be played; " + mapsClause(structure) + ".";
    case WadVerdict::Kind::Iwad:
      if (structure.game.empty()) return QString("It is a WAD of %1 lumps, of no game I know.").arg(structure.lumps);
      return QString("It is an IWAD of %1 that I do not know; %2.").arg(QString::fromStdString(structure.game), mapsClause(structure)) +
             nearestClause(verdict) +
             " Nothing can be made from it; where it lies in a store's installation (the 2024 re-release keeps the classic IWADs "
             "in its base folders), wadwright --find names the releases beside it.";
  }
  return {};
}

QString mapsInShort(const std::vector<std::string>& maps) {
  std::vector<std::string> sorted = maps;
  std::sort(sorted.begin(), sorted.end());
  // The map after `name` in its game's order: E1M9 ends an episode.
  const auto next = [](const std::string& name) {
    if (name.size() == 4) return name[3] == '9' ? std::string() : name.substr(0, 3) + char(name[3] + 1);
    const int number = std::stoi(name.substr(3)) + 1;
    return number > 99 ? std::string() : QString("MAP%1").arg(number, 2, 10, QChar('0')).toStdString();
  };
  QStringList runs;
  for (std::size_t first = 0; first < sorted.size();) {
    std::size_t last = first;
    while (last + 1 < sorted.size() && sorted[last + 1] == next(sorted[last])) ++last;
    runs << QString::fromStdString(last == first ? sorted[first] : sorted[first] + "-" + sorted[last]);
    first = last + 1;
  }
  return runs.join(", ");
}
