#include "iwad_search.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace {

// The folders the stores name their games by, under steamapps/common.
const char* const kSteamGames[] = {"Ultimate Doom", "Doom 2", "Final Doom", "DOOM 3 BFG Edition"};
// Deep enough for base/wads and rerelease, not so deep that a whole library is read.
constexpr int kStoreDepth = 3;

#ifndef _WIN32  // Windows' places: iwad_places_win32.cpp
// The libraries a Steam installation lists in libraryfolders.vdf, besides its own.
QStringList steamLibraries(const QString& steam) {
  QStringList libraries{steam};
  for (const char* list : {"/steamapps/libraryfolders.vdf", "/config/libraryfolders.vdf"}) {
    QFile file(steam + list);
    if (!file.open(QIODevice::ReadOnly)) continue;
    // "path" "/mnt/games/SteamLibrary" in today's lists, "1" "/mnt/..." in older ones.
    static const QRegularExpression entry(R"re("(?:path|\d+)"\s+"((?:[^"\\]|\\.)*)")re");
    for (const QRegularExpressionMatch& match : entry.globalMatch(QString::fromUtf8(file.readAll()))) {
      QString path = match.captured(1).replace("\\\\", "\\");
      if (path.startsWith('/')) libraries << path;
    }
  }
  return libraries;
}
#endif

bool beginsAsAnIwad(const QString& path) {
  QFile file(path);
  // One that cannot be read is kept: identifying it says why it cannot be.
  return !file.open(QIODevice::ReadOnly) || file.read(4) == "IWAD";
}

class Search {
 public:
  QStringList found;

  void look(const QString& folder, int depth) {
    QFileInfo here(folder);
    if (!here.isDir() || seen_.contains(here.canonicalFilePath())) return;
    seen_.insert(here.canonicalFilePath());
    QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries) {
      if (entry.isDir()) {
        if (depth > 0) look(entry.filePath(), depth - 1);
      } else if (entry.isFile() && entry.fileName().endsWith(".wad", Qt::CaseInsensitive) &&
                 !seen_.contains(entry.canonicalFilePath())) {
        seen_.insert(entry.canonicalFilePath());
        if (beginsAsAnIwad(entry.filePath())) found << entry.filePath();
      }
    }
  }

 private:
  QSet<QString> seen_;  // every folder and file once, however many links lead to it
};

}  // namespace

#ifndef _WIN32
IwadPlaces iwadPlaces(const QProcessEnvironment& environment) {
  IwadPlaces places;
  const QString home = environment.value("HOME");
  for (const char* variable : {"DOOMWADDIR", "DOOMWADPATH"})
    for (const QString& folder : environment.value(variable).split(':', Qt::SkipEmptyParts)) places.folders << folder;
  const QString dataHome = environment.value("XDG_DATA_HOME", home + "/.local/share");
  QStringList data{dataHome};
  data << environment.value("XDG_DATA_DIRS", "/usr/local/share:/usr/share").split(':', Qt::SkipEmptyParts);
  data << "/usr/local/share" << "/usr/share" << home + "/.local/share";
  for (const QString& folder : data) places.folders << folder + "/games/doom";
  places.folders.removeDuplicates();

  QStringList steams{home + "/.steam/steam", home + "/.steam/debian-installation", dataHome + "/Steam",
                     home + "/.var/app/com.valvesoftware.Steam/.local/share/Steam",
                     home + "/.var/app/com.valvesoftware.Steam/data/Steam"};
  for (const QString& steam : steams)
    for (const QString& library : steamLibraries(steam))
      for (const char* game : kSteamGames) places.stores << library + "/steamapps/common/" + game;
  places.stores << home + "/GOG Games";
  places.stores.removeDuplicates();
  return places;
}
#endif

QStringList findIwads(const IwadPlaces& places) {
  Search search;
  for (const QString& folder : places.folders) search.look(folder, 0);
  for (const QString& store : places.stores) search.look(store, kStoreDepth);
  return search.found;
}
