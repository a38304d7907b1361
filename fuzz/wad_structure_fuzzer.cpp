// The reader of a WAD's structure: whatever the bytes, it says what they are, reads nothing outside
// the file and, of its directory, no more than the header claims and the file holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz/fuzz_check.h"
#include "identify/wad_structure.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::uint64_t read = 0;
  const wad::ReadAt readAt = [&](std::uint64_t offset, char* into, std::size_t length) -> std::int64_t {
    FUZZ_CHECK(offset < size && length > 0);
    const std::size_t got = std::min<std::uint64_t>(length, size - offset);
    std::memcpy(into, data + offset, got);
    read += got;
    return std::int64_t(got);
  };
  const wad::Structure found = wad::readStructure(size, readAt);
  using Kind = wad::Structure::Kind;
  FUZZ_CHECK(found.kind != Kind::Unread);  // a file in memory always reads
  FUZZ_CHECK((found.kind == Kind::Empty) == (size == 0));
  // Its start, and of the directory no more than the header claims: never a lump.
  std::uint64_t claimed = 0;
  if (size >= 12) claimed = (std::uint64_t(data[4]) | data[5] << 8 | data[6] << 16 | std::uint64_t(data[7]) << 24) * 16;
  FUZZ_CHECK(read <= std::min<std::uint64_t>(size, wad::kStartSize) + claimed);
  if (found.kind == Kind::CutShort) FUZZ_CHECK(found.expectedSize == 0 ? size < 12 : found.expectedSize > size);
  if (found.kind == Kind::Iwad || found.kind == Kind::Pwad) {
    FUZZ_CHECK(12 + std::uint64_t(found.lumps) * 16 <= size);
    FUZZ_CHECK(found.maps.size() <= found.lumps);
    for (const std::string& map : found.maps) FUZZ_CHECK(map.size() == 4 || map.size() == 5);
  } else {
    FUZZ_CHECK(found.maps.empty() && found.game.empty());
  }
  if (found.kind == Kind::NotWad) FUZZ_CHECK(!found.firstBytes.empty() && found.firstBytes.size() <= 4);
  return 0;
}
