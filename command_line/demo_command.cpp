#include "demo_command.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <cstdio>

#include "command_output.h"
#include "find_command.h"
#include "identify/demo.h"
#include "identify/iwad_search.h"
#include "identify_command.h"
#include "make_command.h"
#include "path_identification.h"
#include "patching/make_plan.h"
#include "platform/native_names.h"
#include "platform/termination_signals.h"

namespace {

// As sh reads it back as one word: quoted where it holds anything but the plainest characters, a
// quote closed and reopened around "'" (a backslash would come out doubled on a line), and a
// leading dash kept from being read as an option.
QByteArray shellWord(const QByteArray& word) {
  static const QRegularExpression plain("^[A-Za-z0-9_./:=+,@%-]+$");
  const QByteArray path = word.startsWith('-') ? "./" + word : word;
  if (plain.match(QString::fromLatin1(path)).hasMatch()) return path;
  return "'" + QByteArray(path).replace("'", "'\"'\"'") + "'";
}

// True when `word` prints on a text line as sh reads it back: the line's escaping writes a control
// character, and a backslash where it is no folder separator, as two characters.
bool printsAsIs(const QByteArray& word) {
  for (char c : word)
    if (uchar(c) < 0x20 || uchar(c) == 0x7f || (c == '\\' && QDir::separator() != '\\')) return false;
  return true;
}

QByteArray makeLine(const QString& target, const QByteArray& file, bool download) {
  return "wadwright --make " + QByteArray(download ? "--download " : "") + target.toUtf8() + " " + shellWord(file);
}

struct Making {
  const CatalogueRow* release;
  QByteArray command;
  QString refused;  // what --make would refuse it with now; empty when it would make it
};

// What `row` can be made into that plays the demo, in one step or several, and whether --make
// would make each now: planned in the IWAD's own folder, whose patch files --make reads and where
// it writes. A name --make refuses makes nothing, whatever is there.
std::vector<Making> makings(const Demo& demo, const CatalogueRow& row, const QByteArray& file) {
  const PatchSource source = patchSource(QProcessEnvironment::systemEnvironment());  // a folder named from where we started
  FolderReturn back;
  QString why = whyNameRefused(file);
  const bool entered = why.isEmpty() && !enterFolderOfFile(file, &why).isEmpty();
  std::vector<Making> found;
  for (const MakePlan& plan : plansFrom({&row, {}, shownFolderOf(file), QFile::decodeName(file), source})) {
    if (!demo.plays(plan.release())) continue;
    // Missing patch files that --download fetches are no reason to refuse: the line carries it.
    const bool download = plan.hold == Hold::Fetch;
    const QString refused = !entered ? why : download ? QString() : plan.why;
    found.push_back({plan.release(), makeLine(plan.request.targetFile, file, download), refused});
  }
  return found;
}

constexpr const char* kMayPlay = "a source port may play it with these files, if the demo was recorded on them";
constexpr const char* kUnprintable = "I cannot write its name as one shell word on this line (it holds a control character or a "
                                     "backslash): --json gives the command";

QJsonArray namesOf(const std::vector<const CatalogueRow*>& rows) {
  QJsonArray names;
  for (const CatalogueRow* row : rows) names.append(row->releaseName);
  return names;
}

void reportDemo(CommandOutput& output, const QByteArray& path, const Demo& demo) {
  // Every field in every object, null where it does not apply: one shape for scripts to read.
  const bool read = demo.problem.isEmpty(), release = read && demo.port.isEmpty();
  const auto when = [](bool applies, const QJsonValue& value) { return applies ? value : QJsonValue::Null; };
  QJsonObject object{{"file", QFile::decodeName(path)}, {"kind", "demo"}, {"version", when(read, demo.version)},
                     {"versionByte", when(read && demo.versionByte >= 0, demo.versionByte)}, {"port", when(read && !release, demo.port)},
                     {"game", when(release, demo.game)}, {"map", when(release, demo.mapName())}, {"skill", when(release, demo.skill)},
                     {"players", when(release, demo.players)}, {"releases", namesOf(demo.releases)},
                     {"error", when(!read, "This is no demo I can read: " + demo.problem + ".")}};
  QStringList names;
  for (const CatalogueRow* row : demo.releases) names << row->releaseName;
  if (!read) output.add(path, {"error", object["error"].toString()}, object);
  else if (!release) output.add(path, {"demo", demo.version, demo.sentence()}, object);
  else
    output.add(path, {"demo", demo.version, demo.mapName(), demo.skillName(), QString("%1 player%2").arg(demo.players).arg(demo.players == 1 ? "" : "s"),
                      names.join(", ")}, object);
}

// One line for each way the IWAD serves the demo, or one that says it does not. True when it plays it.
bool reportIwad(CommandOutput& output, const QByteArray& path, const Demo& demo, const QByteArray& programFolder) {
  const Identification found = identifyPath(path, programFolder, true);
  const QString file = QFile::decodeName(path);
  QJsonObject object{{"file", file}, {"kind", "iwad"}, {"md5", found.fileHash.isEmpty() ? QJsonValue::Null : QJsonValue(found.fileHash)},
                     {"release", found.row ? QJsonValue(found.row->releaseName) : QJsonValue::Null},
                     {"half_match", found.halfMatch ? QJsonValue(found.halfMatch->releaseName) : QJsonValue::Null},
                     {"plays", false}, {"mayPlay", false}, {"makes", QJsonValue::Null}, {"command", QJsonValue::Null}, {"refused", QJsonValue::Null}, {"error", QJsonValue::Null},
                     {"unknown", QJsonValue::Null}};
  if (found.outcome == Identification::Outcome::Failed || found.outcome == Identification::Outcome::Abandoned) {
    const QString why = found.outcome == Identification::Outcome::Failed ? found.failure : kStoppedMessage;
    object["error"] = why;
    output.add(path, {"error", oneLine(why, path)}, object);
    return false;
  }
  if (!found.row) {
    // What it is, as --identify says it: "kind" names this object's kind already.
    object["unknown"] = unknownFields(found.wad);
    const QString more = unknownExplanation(found);
    QStringList fields{"cannot play it", "unknown version " + found.fileHash};
    output.add(path, more.isEmpty() ? fields : fields << more, object);
    return false;
  }
  if (demo.plays(found.row)) {
    object["plays"] = true;
    output.add(path, {"plays it", found.row->releaseName}, object);
    return true;
  }
  const bool mayPlay = demo.mayPlay(found.row);
  if (mayPlay) {
    // Its maps have the numbers of the demo's: only playing it tells whether they are its maps.
    object["mayPlay"] = true;
    output.add(path, {"may play it", found.row->releaseName, kMayPlay}, object);
  }
  const std::vector<Making> ways = makings(demo, *found.row, path);
  for (const Making& way : ways) {
    object["makes"] = way.release->releaseName;
    object["command"] = way.refused.isEmpty() ? QJsonValue(QString::fromUtf8(way.command)) : QJsonValue::Null;
    object["refused"] = way.refused.isEmpty() ? QJsonValue::Null : QJsonValue(way.refused);
    if (!way.refused.isEmpty()) output.add(path, {"could be made into", way.release->releaseName, oneLine(way.refused, path)}, object);
    else output.addBytes(path, {"can be made into", way.release->releaseName, printsAsIs(path) ? way.command : QByteArray(kUnprintable)}, object);
  }
  if (ways.empty() && !mayPlay) output.add(path, {"cannot play it", found.row->releaseName}, object);
  return false;
}

}  // namespace

int demoFromCommandLine(const QList<QByteArray>& paths, bool json, const QByteArray& programFolder) {
  CommandOutput output(json);
  const Demo demo = readDemo(paths.front());
  reportDemo(output, paths.front(), demo);
  if (!demo.problem.isEmpty()) {
    output.finish();
    return 2;
  }
  if (!demo.port.isEmpty()) return output.finish() ? 1 : 2;

  QList<QByteArray> iwads = paths.mid(1);
  if (iwads.isEmpty()) {
    IwadPlaces places = iwadPlaces(QProcessEnvironment::systemEnvironment());
    // The demo's folder as the system finds it: its path's text is not tidied.
    const QByteArray folder = platform::splitNativePath(paths.front()).folder;
    places.folders.prepend(folder);
    iwads = findShownIwads(places);
    if (iwads.isEmpty() && !platform::terminationSignal())
      std::fprintf(stderr, "wadwright: I found no IWADs to play it with. I looked in:\n%s", placesLookedIn(places).constData());
  }
  bool played = false;
  for (const QByteArray& iwad : iwads) {
    if (platform::terminationSignal()) break;  // asked to end: nothing more is started
    played = reportIwad(output, iwad, demo, programFolder) || played;
  }
  if (!output.finish()) return 2;
  return played ? 0 : 1;
}
