#pragma once

// What a file is by its own bytes: a WAD's header and lump directory, or the first bytes of
// something else. Plain C++, so that the fuzz targets reach it without Qt.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace wad {

/// Reads up to `size` bytes of the file at `offset` into `into`: how many it read (fewer only at
/// the file's end), or -1 when reading failed.
using ReadAt = std::function<std::int64_t(std::uint64_t offset, char* into, std::size_t size)>;

/// What the file's first bytes, header and directory say of it, without any catalogue.
struct Structure {
  enum class Kind {
    Unread,    ///< Reading failed: nothing is said.
    Empty,     ///< No bytes at all.
    Archive,   ///< `format` names it: "zip", "7z", "rar", "gzip".
    Page,      ///< `format` is "HTML" or "text".
    NotWad,    ///< Anything else that is no WAD: `firstBytes` are its first four (or fewer).
    CutShort,  ///< Its header, directory or a lump runs past its end; `expectedSize` is where they end.
    Damaged,   ///< All within it, but no sound WAD: `fault` says why.
    Iwad,
    Pwad,
  };
  Kind kind = Kind::Unread;
  std::uint64_t size = 0;          ///< The file's, as given.
  std::string format;              ///< Archive, Page.
  std::string firstBytes;          ///< NotWad.
  std::uint64_t expectedSize = 0;  ///< CutShort: 0 where not even its header is whole.
  std::string fault;               ///< Damaged: "its directory overlaps its header" ...
  std::uint32_t lumps = 0;         ///< Iwad, Pwad: as its header counts them.
  std::vector<std::string> maps;   ///< Iwad, Pwad: its maps (E1M1, MAP01), once each, in directory order.
  std::string game;                ///< Iwad: the game its maps and lumps name, or empty.
};

/// The bytes read of a file at most besides its directory: its header and the start that tells a
/// page or an archive.
inline constexpr std::size_t kStartSize = 512;

/// Reads the file of `size` bytes through `read`: its start and, where it is a WAD, its directory,
/// never its lumps. The directory is read in pieces, so whatever its header claims, no more is
/// held than a piece and the maps found.
Structure readStructure(std::uint64_t size, const ReadAt& read);

}  // namespace wad
