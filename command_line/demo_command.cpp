#include "demo_command.h"

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
#include "path_identification.h"
#include "platform/native_names.h"
#include "platform/termination_signals.h"

namespace {

// As a shell reads it back: quoted where it holds anything but the plainest characters.
QString shellWord(const QString& word) {
  static const QRegularExpression plain("^[A-Za-z0-9_./:=+,@%-]+$");
  if (plain.match(word).hasMatch()) return word;
  return "'" + QString(word).replace("'", "'\\''") + "'";
}

QString makeLine(const char* target, const QString& file) { return "wadwright --make " + QString(target) + " " + shellWord(file); }

// The file --make writes beside `file`.
QString besides(const QString& file, const char* target) {
  QString folder = QFileInfo(file).path();
  return folder == "." ? QString(target) : folder + "/" + target;
}

struct Making {
  const CatalogueRow* release;
  QString command;
};

// What `row` can be made into that plays the demo: in one step, or else in two (an old DOOM
// becomes Ultimate Doom, which is backdated).
std::vector<Making> makings(const Demo& demo, const CatalogueRow& row, const QString& file) {
  std::vector<Making> found;
  for (const MadeFile& made : madeFrom(row))
    if (demo.plays(made.release)) found.push_back({made.release, makeLine(made.targetFile, file)});
  if (!found.empty()) return found;
  for (const MadeFile& made : madeFrom(row))
    for (const MadeFile& then : madeFrom(*made.release))
      if (demo.plays(then.release) && then.release != &row)
        found.push_back({then.release, makeLine(made.targetFile, file) + " && " +
                                           makeLine(then.targetFile, besides(file, made.targetFile))});
  return found;
}

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
                      names.isEmpty() ? "no release in my catalogue" : names.join(", ")}, object);
}

// One line for each way the IWAD serves the demo, or one that says it does not. True when it plays it.
bool reportIwad(CommandOutput& output, const QByteArray& path, const Demo& demo, const QByteArray& programFolder) {
  const Identification found = identifyPath(path, programFolder, true);
  const QString file = QFile::decodeName(path);
  QJsonObject object{{"file", file}, {"kind", "iwad"}, {"md5", found.fileHash.isEmpty() ? QJsonValue::Null : QJsonValue(found.fileHash)},
                     {"release", found.row ? QJsonValue(found.row->releaseName) : QJsonValue::Null},
                     {"plays", false}, {"makes", QJsonValue::Null}, {"command", QJsonValue::Null}, {"error", QJsonValue::Null}};
  if (found.outcome == Identification::Outcome::Failed) {
    object["error"] = found.failure;
    output.add(path, {"error", QString(found.failure).replace('\n', ' ')}, object);
    return false;
  }
  if (!found.row) {
    output.add(path, {"cannot play it", "unknown version " + found.fileHash}, object);
    return false;
  }
  if (demo.plays(found.row)) {
    object["plays"] = true;
    output.add(path, {"plays it", found.row->releaseName}, object);
    return true;
  }
  const std::vector<Making> ways = makings(demo, *found.row, file);
  for (const Making& way : ways) {
    object["makes"] = way.release->releaseName;
    object["command"] = way.command;
    output.add(path, {"can be made into", way.release->releaseName, way.command}, object);
  }
  if (ways.empty()) output.add(path, {"cannot play it", found.row->releaseName}, object);
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
