// A WAD, as every game of the DOOM family reads it (numbers are 32-bit little-endian):
//
//   header, at offset 0, 12 bytes
//     0  4  "IWAD" (a game's own data) or "PWAD" (an add-on, played over an IWAD)
//     4  4  the number of lumps
//     8  4  the directory's offset
//   directory, 16 bytes a lump, after the header (the games write it at the end)
//     0  4  the lump's offset
//     4  4  its size in bytes
//     8  8  its name: upper-case ASCII, NUL-padded when shorter than eight
//
// A lump of size 0 is a marker (a map's name, F_START): its offset means nothing. The games read the
// two counts as signed; no WAD has 2^31 lumps or bytes, so read unsigned they are merely too large.
#include "wad_structure.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace wad {
namespace {

constexpr std::uint64_t kHeaderSize = 12, kEntrySize = 16;
constexpr std::size_t kPieceEntries = 4096;  // 64 KiB of directory at a time

std::uint32_t le32(const char* bytes) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
}

// Archives by the signature they begin with.
struct Signature {
  const char* format;
  std::string_view bytes;
};
constexpr Signature kArchives[] = {
    {"zip", std::string_view("PK\x03\x04", 4)},           {"zip", std::string_view("PK\x05\x06", 4)},
    {"7z", std::string_view("7z\xBC\xAF\x27\x1C", 6)},    {"rar", std::string_view("Rar!\x1A\x07", 6)},
    {"gzip", std::string_view("\x1F\x8B", 2)},
};

// How an HTML page or an XML one (a store's error page) begins, after blanks, in any case.
constexpr std::string_view kPageStarts[] = {"<!doctype", "<html", "<head", "<body", "<?xml", "<!--", "<title"};

// The games of the family by the lumps that set them apart, as the documents published on each
// game's WAD format name them. An IWAD is of the first game whose kind of maps it has (DOOM's E1M1 ... or DOOM2's MAP01
// ...) and one of whose lumps it holds, where the game names any.
enum class Maps { Episodes, Levels };
struct GameMarks {
  const char* game;
  Maps maps;
  std::array<std::string_view, 2> lumps;
};
constexpr GameMarks kGames[] = {
    {"Freedoom: Phase 1", Maps::Episodes, {"FREEDOOM"}},  // the lump Freedoom marks its IWADs with
    {"Freedoom: Phase 2", Maps::Levels, {"FREEDOOM"}},
    {"Strife", Maps::Levels, {"ENDSTRF"}},                // its text-mode end screen
    {"Hexen", Maps::Levels, {"BEHAVIOR", "MAPINFO"}},     // each map's compiled scripts; the map list
    {"Heretic", Maps::Episodes, {"ENDTEXT", "MUS_E1M1"}}, // its end screen (DOOM's is ENDOOM); its music's names
    {"DOOM", Maps::Episodes, {}},
    {"DOOM2", Maps::Levels, {}},
};
constexpr std::size_t kGameCount = std::size(kGames);

bool isEpisodeMap(std::string_view name) {
  return name.size() == 4 && name[0] == 'E' && name[1] >= '1' && name[1] <= '9' && name[2] == 'M' && name[3] >= '1' && name[3] <= '9';
}

bool isLevelMap(std::string_view name) {
  return name.size() == 5 && name.substr(0, 3) == "MAP" && std::isdigit(static_cast<unsigned char>(name[3])) &&
         std::isdigit(static_cast<unsigned char>(name[4]));
}

// Text as a page holds it: printable ASCII, blanks and line ends, and UTF-8 sequences. A sequence
// cut off by the end of what was read still counts.
bool isText(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c == '\t' || c == '\n' || c == '\r' || c == '\f' || (c >= 0x20 && c < 0x7f)) {
      ++i;
      continue;
    }
    const std::size_t length = c >= 0xc2 && c <= 0xdf ? 2 : c >= 0xe0 && c <= 0xef ? 3 : c >= 0xf0 && c <= 0xf4 ? 4 : 0;
    if (length == 0) return false;
    for (std::size_t k = 1; k < length; ++k)
      if (i + k < bytes.size() && (static_cast<unsigned char>(bytes[i + k]) & 0xc0) != 0x80) return false;
    i += length;
  }
  return true;
}

// What the start of a file that is no WAD says it is.
Structure notWad(Structure found, std::string_view start) {
  for (const Signature& archive : kArchives)
    if (start.substr(0, archive.bytes.size()) == archive.bytes) {
      found.kind = Structure::Kind::Archive;
      found.format = archive.format;
      return found;
    }
  std::string_view text = start.substr(0, 3) == "\xEF\xBB\xBF" ? start.substr(3) : start;
  if (isText(text)) {
    text.remove_prefix(std::min(text.size(), text.find_first_not_of(" \t\r\n\f")));
    std::string lower(text.substr(0, 16));
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    found.kind = Structure::Kind::Page;
    found.format = "text";
    for (std::string_view page : kPageStarts)
      if (std::string_view(lower).substr(0, page.size()) == page) found.format = "HTML";
    return found;
  }
  found.kind = Structure::Kind::NotWad;
  found.firstBytes = std::string(start.substr(0, 4));
  return found;
}

// Reads exactly `size` bytes at `offset`; false when the file gives fewer.
bool readExactly(const ReadAt& read, std::uint64_t offset, char* into, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const std::int64_t got = read(offset + done, into + done, size - done);
    if (got <= 0) return false;
    done += std::size_t(got);
  }
  return true;
}

}  // namespace

Structure readStructure(std::uint64_t size, const ReadAt& read) {
  Structure found;
  found.size = size;
  if (size == 0) {
    found.kind = Structure::Kind::Empty;
    return found;
  }
  std::string start(std::min<std::uint64_t>(size, kStartSize), '\0');
  if (!readExactly(read, 0, start.data(), start.size())) return found;
  const std::string_view magic = std::string_view(start).substr(0, 4);
  if (magic != "IWAD" && magic != "PWAD") return notWad(found, start);
  if (size < kHeaderSize) {
    found.kind = Structure::Kind::CutShort;
    return found;
  }
  const std::uint64_t count = le32(start.data() + 4), directory = le32(start.data() + 8);
  const std::uint64_t directoryEnd = directory + count * kEntrySize;  // at most 17 * 2^32: no overflow
  if (directoryEnd > size) {
    // Nothing of it is read: a claim of a billion lumps costs nothing.
    found.kind = Structure::Kind::CutShort;
    found.expectedSize = directoryEnd;
    return found;
  }
  if (count > 0 && directory < kHeaderSize) {
    found.kind = Structure::Kind::Damaged;
    found.fault = "its directory overlaps its header";
    return found;
  }

  std::uint64_t lumpsEnd = 0;
  std::array<bool, kGameCount> marked{};
  bool episodes = false, levels = false;
  std::vector<char> piece(std::min<std::uint64_t>(count, kPieceEntries) * kEntrySize);
  for (std::uint64_t first = 0; first < count; first += kPieceEntries) {
    const std::uint64_t entries = std::min<std::uint64_t>(count - first, kPieceEntries);
    if (!readExactly(read, directory + first * kEntrySize, piece.data(), std::size_t(entries * kEntrySize))) {
      found.kind = Structure::Kind::Unread;  // it was shorter than its size said, or could not be read
      return found;
    }
    for (std::uint64_t i = 0; i < entries; ++i) {
      const char* entry = piece.data() + i * kEntrySize;
      const std::uint64_t offset = le32(entry), length = le32(entry + 4);
      if (length > 0) {
        lumpsEnd = std::max(lumpsEnd, offset + length);
        if (offset < kHeaderSize && found.fault.empty()) found.fault = "a lump overlaps its header";
      }
      const std::string_view padded(entry + 8, 8);
      const std::string_view name = padded.substr(0, std::min(padded.find('\0'), padded.size()));
      if (padded.find_first_not_of('\0', name.size()) != std::string_view::npos) {
        if (found.fault.empty()) found.fault = "a lump's name has a NUL in its middle";
        continue;
      }
      const bool episode = isEpisodeMap(name), level = isLevelMap(name);
      episodes = episodes || episode;
      levels = levels || level;
      if ((episode || level) && std::find(found.maps.begin(), found.maps.end(), name) == found.maps.end())
        found.maps.emplace_back(name);
      for (std::size_t game = 0; game < kGameCount; ++game)
        for (std::string_view lump : kGames[game].lumps)
          if (!lump.empty() && lump == name) marked[game] = true;
    }
  }
  if (lumpsEnd > size) {
    found.kind = Structure::Kind::CutShort;
    found.expectedSize = std::max(lumpsEnd, directoryEnd);
    found.maps.clear();
    return found;
  }
  if (!found.fault.empty()) {
    found.kind = Structure::Kind::Damaged;
    found.maps.clear();
    return found;
  }
  found.kind = magic == "IWAD" ? Structure::Kind::Iwad : Structure::Kind::Pwad;
  found.lumps = std::uint32_t(count);
  for (std::size_t game = 0; game < kGameCount && found.kind == Structure::Kind::Iwad; ++game) {
    const bool hasMaps = kGames[game].maps == Maps::Episodes ? episodes : levels;
    const bool needsLump = !kGames[game].lumps[0].empty();
    if (hasMaps && (!needsLump || marked[game])) {
      found.game = kGames[game].game;
      break;
    }
  }
  return found;
}

}  // namespace wad
