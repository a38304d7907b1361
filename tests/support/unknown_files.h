#pragma once

// Files in no row, one or more of each kind that is told of such a file, as a player brings them:
// made-up WADs, Freedoom's IWAD cut short and with a byte changed, a zip holding a WAD, a saved
// web page. What is told is stated here from the WAD format and the sizes the releases have.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QtEndian>
#include <vector>

#include "support/scratch_folder.h"
#include "support/tool_run.h"

/// Checksum tools that print checksums in no row, whatever the file: what a file is then comes
/// from its bytes alone, and a 27 MB file is not read twice.
inline constexpr const char* kNoRowMd5 = "#!/bin/sh\necho 00112233445566778899aabbccddeeff\n";
inline constexpr const char* kNoRowSha1 = "#!/bin/sh\necho 00112233445566778899aabbccddeeff0011223344\n";

/// A WAD of lumps named `names`, its directory last: a map's marker holds nothing, every other
/// lump `lump`.
inline QByteArray wadBytes(const QStringList& names, const QByteArray& magic = "IWAD", const QByteArray& lump = "data") {
  const auto le32 = [](qsizetype value) {
    const quint32 bytes = qToLittleEndian(quint32(value));
    return QByteArray(reinterpret_cast<const char*>(&bytes), 4);
  };
  QByteArray body, directory;
  for (const QString& name : names) {
    const bool marker = name.startsWith("MAP") || (name.size() == 4 && name[0] == 'E' && name[2] == 'M');
    const QByteArray data = marker ? QByteArray() : lump;
    directory += le32(data.isEmpty() ? 0 : 12 + body.size()) + le32(data.size()) + name.toLatin1().leftJustified(8, '\0');
    body += data;
  }
  return magic + le32(names.size()) + le32(12 + body.size()) + body + directory;
}

struct UnknownFile {
  QString name;
  QByteArray bytes;
  QString kind;  ///< As --json names it.
  QString game;  ///< Empty where none is told.
  QString told;  ///< What is said after the design's sentence; where it ends in a blank, how that begins.
};

inline constexpr const char* kNothingMade =
    " Nothing can be made from it; where it lies in a store's installation (the 2024 re-release keeps the classic IWADs in "
    "its base folders), wadwright --find names the releases beside it.";

/// Writes each file into `work` and says what is told of it.
inline std::vector<UnknownFile> writeUnknownFiles(const ScratchFolder& work) {
  QFile freedoom("/usr/share/games/doom/freedoom1.wad");  // 27284992 bytes, its directory last
  if (!freedoom.open(QIODevice::ReadOnly)) return {};
  QByteArray changed = freedoom.readAll();
  const QByteArray half = changed.left(changed.size() / 2);
  changed[1000] = char(changed[1000] ^ 1);  // within its first lump
  work.write("inner.wad", wadBytes({"E1M1", "THINGS"}));
  runTool("python3", {"-m", "zipfile", "-c", work.path("zipped.wad"), work.path("inner.wad")});
  QFile::remove(work.path("inner.wad"));
  // As the collection makes it: 32 maps in 3139972 bytes.
  QStringList levels;
  for (int map = 1; map <= 32; ++map) levels << QString("MAP%1").arg(map, 2, 10, QChar('0'));
  const QByteArray hexen = wadBytes({"MAPINFO", "MAP01", "THINGS", "BEHAVIOR", "MAP02", "THINGS", "BEHAVIOR"});
  const QByteArray doom = wadBytes({"ENDOOM", "E1M1", "THINGS", "E1M2", "THINGS", "E2M1", "THINGS"});
  const QString iwadOf = "It is an IWAD of %1 that I do not know; it holds the maps %2. The nearest in size is %3, %4 bytes larger.";
  const std::vector<UnknownFile> files = {
      {"empty.wad", "", "empty", "", "The file is empty."},
      {"zipped.wad", work.read("zipped.wad"), "archive", "", "It is a zip archive; unpack it: the IWAD is inside."},
      {"page.wad", "<!DOCTYPE html>\n<html><head><title>404 Not Found</title></head><body>Not Found</body></html>\n", "page", "",
       "It is a web page, not a game file: the download failed."},
      {"program.wad", QByteArray("MZ\x90\0\x03\0\0\0", 8), "not-wad", "", "It is no WAD: it begins with 4D 5A 90 00 (MZ..)."},
      {"half.wad", half, "cut-short", "", "It is cut short or damaged: it has 13642496 bytes, and its own directory says it should have 27284992."},
      {"billion.wad", "IWAD" + QByteArray::fromHex("00ca9a3b0c000000"), "cut-short", "",  // 10^9 lumps from 12
       "It is cut short or damaged: it has 12 bytes, and its own directory says it should have 16000000012."},
      {"overlap.wad", "PWAD" + QByteArray::fromHex("0100000004000000") + QByteArray(16, '\0'), "cut-short", "",
       "It is damaged: its directory overlaps its header."},
      {"changed.wad", changed, "damaged-copy", "Freedoom: Phase 1",
       "It is a damaged or changed copy of Freedoom: Phase 1 0.12.1: it has the size, not the checksum. I will not patch it."},
      {"addon.wad", wadBytes({"MAP07", "THINGS", "MAP09", "THINGS"}, "PWAD"), "pwad", "",
       "It is an add-on (a PWAD): it needs an IWAD to be played; it holds the maps MAP07, MAP09."},
      {"levels.wad", wadBytes(levels + QStringList{"THINGS"}, "PWAD", QByteArray(3139972 - 12 - 33 * 16, 'x')), "pwad", "",
       "It is the DOOM2 levels PWAD the public patch collection makes, an add-on (a PWAD): it needs an IWAD to be played; it "
       "holds the maps MAP01-MAP32."},
      {"hexen.wad", hexen, "iwad", "Hexen", iwadOf.arg("Hexen", "MAP01-MAP02", "Hexen demo").arg(10644136 - hexen.size()) + kNothingMade},
      {"doom.wad", doom, "iwad", "DOOM", iwadOf.arg("DOOM", "E1M1-E1M2, E2M1", "DOOM ALPHA 0.2").arg(496250 - doom.size()) + kNothingMade},
      // The smallest release of each game is the nearest: these two end there, as rows may be added.
      {"strife.wad", wadBytes({"ENDSTRF", "MAP01", "THINGS"}), "iwad", "Strife",
       "It is an IWAD of Strife that I do not know; it holds the maps MAP01. The nearest in size is "},
      {"heretic.wad", wadBytes({"ENDTEXT", "E1M1", "THINGS"}), "iwad", "Heretic",
       "It is an IWAD of Heretic that I do not know; it holds the maps E1M1. The nearest in size is "},
      {"nogame.wad", wadBytes({"PLAYPAL", "COLORMAP"}), "iwad", "", "It is a WAD of 2 lumps, of no game I know."},
  };
  for (const UnknownFile& file : files) work.write(file.name, file.bytes);
  return files;
}
