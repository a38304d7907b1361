// A DOOM demo, as the executables of 1993-1995 write it:
//
//   old header (V1.0-V1.2), 7 bytes: skill (0-4), episode, map, four player-present bytes
//   header (V1.4 on), 13 bytes: version, skill, episode, map, deathmatch, respawn, fast,
//     nomonsters, console player, four player-present bytes
//   then one tic after another: for each player present, forward move, side move, turn and
//     buttons, a byte each (the turn takes two in the long-tics demos of version 111), until a
//     tic whose first byte is 0x80, the end marker. What follows it is not read.
//
// Heretic's demos begin with the same 7 bytes but take 6 bytes a tic: where DOOM's tics leave
// bytes after the marker and Heretic's end at the file's last byte, the demo is Heretic's.
//
// Source ports write versions of their own (Boom's 200 on) with longer headers; those are named,
// not read further: no release plays them.
#include "demo.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "catalogue.h"
#include "platform/regular_file.h"

namespace {

constexpr int kOldHeaderSize = 7, kHeaderSize = 13;
constexpr unsigned char kEndMarker = 0x80;
constexpr int kLongTics = 111;

// Which maps a release's game has. DOOM2's header keeps episode 1 beside its map number.
bool hasMap(Game game, int episode, int map) {
  if (episode < 1 || map < 1) return false;
  switch (game) {
    case Game::Shareware: return episode == 1 && map <= 9;
    case Game::Registered: return episode <= 3 && map <= 9;
    case Game::Ultimate: return episode <= 4 && map <= 9;
    case Game::Doom2: return episode == 1 && map <= 32;
    case Game::None: break;
  }
  return false;
}

// The version byte of the releases that play a demo: long tics are played with V1.9's files.
int playedAs(int versionByte) { return versionByte == kLongTics ? 109 : versionByte; }


struct Version {
  int first, last;
  const char* name;
  const char* port;  // the source ports that write it; none for a release's executable
};
constexpr std::array<Version, 13> kVersions{{
    {104, 104, "V1.4", nullptr},
    {105, 105, "V1.5", nullptr},
    {106, 106, "V1.666", nullptr},
    {107, 107, "V1.7", nullptr},
    {108, 108, "V1.8", nullptr},
    {109, 109, "V1.9", nullptr},
    {kLongTics, kLongTics, "V1.91", nullptr},
    {200, 202, "Boom", "Boom"},
    {203, 203, "MBF", "MBF"},
    {210, 214, "PrBoom", "PrBoom"},
    {221, 221, "MBF21", "an MBF21 port"},
    {255, 255, "extended", "a port with extended demo headers"},
    {-1, -1, "V1.0-V1.2", nullptr},
}};

const Version* versionOf(int versionByte) {
  for (const Version& version : kVersions)
    if (version.first <= versionByte && versionByte <= version.last) return &version;
  return nullptr;
}

Demo noDemo(const QString& why) {
  Demo demo;
  demo.problem = why;
  return demo;
}

// What the header says of the game, as far as its map can tell.
QString gameOf(const Demo& demo) {
  if (demo.episode == 4) return "Ultimate Doom";
  if (demo.episode > 1 || demo.versionByte < 106) return "DOOM";
  QString doom2 = demo.versionByte >= 109 ? "DOOM2 or Final Doom" : "DOOM2";
  if (demo.map > 9) return doom2;
  return demo.versionByte >= 109 ? "DOOM, DOOM2 or Final Doom" : "DOOM or DOOM2";
}

// Walks the tics from the end of the header to the end marker, and puts its place in `marker`.
// `bufferStart` is where the file is read from; `next` where the next tic begins.
QString ticsEnd(platform::RegularFile& file, qint64 bufferStart, qint64 next, qint64 ticSize, qint64* marker) {
  std::vector<char> buffer(128 << 10);  // small enough to stay in the cache while it is searched
  while (next < kDemoScanLimit) {
    qint64 got = file.read(buffer.data(), qint64(buffer.size()));
    if (got < 0) return "I could not read it to its end";
    if (got == 0) return "it has no end marker: it stops in the middle of its moves (cut short?)";
    // From one 0x80 byte to the next, rather than tic by tic: most tics hold none.
    const char* const begin = buffer.data();
    const char* const end = begin + got;
    while (next < bufferStart + got) {
      const char* found = static_cast<const char*>(std::memchr(begin + (next - bufferStart), kEndMarker, size_t(end - begin - (next - bufferStart))));
      if (!found) {
        next += (bufferStart + got - next + ticSize - 1) / ticSize * ticSize;  // the first tic of the next read
        break;
      }
      const qint64 at = bufferStart + (found - begin);
      if ((at - next) % ticSize == 0) {
        *marker = at;
        return {};
      }
      next = at + (ticSize - (at - next) % ticSize);  // the tic after the one it lies in
    }
    bufferStart += got;
  }
  return QString("it has no end marker in its first %1 MB, and no demo is that long").arg(kDemoScanLimit >> 20);
}

// Heretic's demos begin with the old header too, but take 6 bytes a tic: true when such tics end
// at the file's last byte.
bool endsAsHeretic(const QByteArray& path, int players, qint64 size) {
  platform::RegularFile file(path);
  qint64 marker = -1;
  return file.problem().isEmpty() && ticsEnd(file, 0, kOldHeaderSize, 6 * players, &marker).isEmpty() && marker + 1 == size;
}

}  // namespace

Demo demoFromHeader(const QByteArray& start) {
  if (start.isEmpty()) return noDemo("it is empty");
  const auto byte = [&](int i) { return int(static_cast<unsigned char>(start[i])); };
  const bool old = byte(0) <= 4;
  const int size = old ? kOldHeaderSize : kHeaderSize;
  if (start.size() < size) return noDemo(QString("it is too short for a demo's header (%1 of %2 bytes)").arg(start.size()).arg(size));
  Demo demo;
  demo.versionByte = old ? -1 : byte(0);
  const Version* version = versionOf(demo.versionByte);
  if (!version) return noDemo(QString("its first byte, %1, is no version of DOOM or of a source port").arg(byte(0)));
  demo.version = version->name;
  if (version->port) {
    demo.port = version->port;
    return demo;  // its header is the port's own
  }
  const int at = old ? 0 : 1;
  demo.skill = byte(at) + 1;
  demo.episode = byte(at + 1);
  demo.map = byte(at + 2);
  bool playersValid = old || byte(8) < 4;
  for (int i = size - 4; i < size; ++i) {
    playersValid = playersValid && byte(i) <= 1;
    demo.players += byte(i);
  }
  if (demo.skill > 5 || !playersValid || demo.players == 0)
    return noDemo(QString("its header is no demo's (skill byte %1, episode %2, map %3, players %4)")
                      .arg(byte(at)).arg(demo.episode).arg(demo.map).arg(demo.players));
  for (const CatalogueRow& row : catalogueRows())
    if (!row.demos.sourcePort && row.demos.version == playedAs(demo.versionByte) && hasMap(row.demos.game, demo.episode, demo.map))
      demo.releases.push_back(&row);
  // Every executable that writes a version plays its own demos: a map none of them has is no demo's.
  if (demo.releases.empty())
    return noDemo(QString("its header names episode %1, map %2, and no release that writes %3 demos has that map")
                      .arg(demo.episode).arg(demo.map).arg(demo.version));
  demo.game = gameOf(demo);
  return demo;
}

Demo readDemo(const QByteArray& path) {
  platform::RegularFile file(path);
  if (!file.problem().isEmpty()) return noDemo(file.problem());
  QByteArray start(kHeaderSize, '\0');
  qint64 got = 0;
  while (got < kHeaderSize) {
    qint64 more = file.read(start.data() + got, kHeaderSize - got);
    if (more < 0) return noDemo("I could not read it");
    if (more == 0) break;
    got += more;
  }
  start.truncate(got);
  Demo demo = demoFromHeader(start);
  if (!demo.problem.isEmpty() || !demo.port.isEmpty()) return demo;
  // The tics begin right after the header: the bytes already read may hold the first of them.
  const qint64 header = demo.versionByte < 0 ? kOldHeaderSize : kHeaderSize;
  const qint64 ticSize = demo.players * (demo.versionByte == kLongTics ? 5 : 4);
  qint64 next = header, marker = -1;
  for (; next < got && marker < 0; next += ticSize)
    if (static_cast<unsigned char>(start[next]) == kEndMarker) marker = next;
  const QString problem = marker < 0 ? ticsEnd(file, got, next, ticSize, &marker) : QString();
  // A DOOM demo ends at its marker; where 4-byte tics do not end there and Heretic's do, it is Heretic's.
  // (A file past the scan's bound is not read a second time.)
  if (demo.versionByte < 0 && marker + 1 != file.size() && file.size() <= kDemoScanLimit &&
      endsAsHeretic(path, demo.players, file.size()))
    return noDemo("its end marker lies where a Heretic demo's 6-byte tics put it, not where DOOM's 4-byte tics do (it "
                  "may be Heretic's; it is not DOOM's)");
  return problem.isEmpty() ? demo : noDemo(problem);
}

QString Demo::mapName() const {
  QString doom = QString("E%1M%2").arg(episode).arg(map), doom2 = QString("MAP%1").arg(map, 2, 10, QChar('0'));
  // Named as the releases that play it number their maps: V1.7 was DOOM2's alone.
  const auto any = [&](bool doom2Row) {
    return std::any_of(releases.begin(), releases.end(), [&](const CatalogueRow* row) { return (row->demos.game == Game::Doom2) == doom2Row; });
  };
  if (!any(true)) return doom;
  return any(false) ? doom + " or " + doom2 : doom2;
}

QString Demo::skillName() const {
  static const char* const names[] = {"I'm too young to die", "Hey, not too rough", "Hurt me plenty", "Ultra-Violence", "Nightmare!"};
  return QString("skill %1 (%2)").arg(skill).arg(skill >= 1 && skill <= 5 ? names[skill - 1] : "?");
}

QString Demo::sentence() const {
  if (!port.isEmpty())
    return QString("This demo was recorded with %1 (demo version %2): it needs such a source port, and no release of "
                   "the game plays it.").arg(port).arg(versionByte);
  QString players = QString::number(this->players) + (this->players == 1 ? " player" : " players");
  return "This demo was recorded with " + game + " " + version + (versionByte == kLongTics ? " (long tics, a source port's)" : "") +
         " on " + mapName() + ", " + skillName() + ", " + players + ".";
}

bool Demo::plays(const CatalogueRow* row) const { return std::find(releases.begin(), releases.end(), row) != releases.end(); }

bool Demo::mayPlay(const CatalogueRow* row) const {
  return problem.isEmpty() && port.isEmpty() && row->demos.sourcePort && row->demos.version == playedAs(versionByte) &&
         hasMap(row->demos.game, episode, map);
}
