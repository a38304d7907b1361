#include "iwad_places_win32.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include "platform/registry_win32.h"

namespace {

// The games' folders under a Steam library's steamapps\common, as source ports look for them.
const char* const kSteamGames[] = {"Ultimate Doom", "Doom 2", "Final Doom", "DOOM 3 BFG Edition", "Master Levels of Doom",
                                   "Heretic Shadow of the Serpent Riders", "Hexen", "Hexen Deathkings of the Dark Citadel",
                                   "Strife"};
// GOG's ids for Ultimate Doom, DOOM II, Final Doom, DOOM 3 BFG Edition and DOOM + DOOM II, then
// Heretic, Hexen, Deathkings and Strife: Veteran Edition.
const char* const kGogGames[] = {"1435827232", "1435848814", "1435848742", "1135892318", "1413291984",
                                 "1290366318", "1247951670", "1983497091", "1432899949"};
// Where in a GOG installation the WADs lie, besides its own folder.
const char* const kGogWadFolders[] = {"doom2", "TNT", "Plutonia", "base\\wads", "dosdoom\\base"};

// As Windows writes paths, with backslashes, whichever the registry or the list held.
QByteArray pathOf(const QString& path) { return QFile::encodeName(QDir::toNativeSeparators(path)); }

// The libraries a Steam installation lists in libraryfolders.vdf, besides its own. Its paths are
// escaped there: "D:\\SteamLibrary". Read as the store reads them, a bounded amount.
QList<QByteArray> steamLibraries(const QString& steam) {
  QList<QByteArray> libraries{pathOf(steam)};
  for (const char* list : {"\\steamapps\\libraryfolders.vdf", "\\config\\libraryfolders.vdf"}) {
    static const QRegularExpression entry(R"re("(?:path|\d+)"\s+"((?:[^"\\]|\\.)*)")re");
    const QString text = QString::fromUtf8(readStoreFile(pathOf(steam) + list));
    for (const QRegularExpressionMatch& match : entry.globalMatch(text)) {
      QString path = match.captured(1).replace("\\\\", "\\");
      if (path.size() > 2 && path[1] == ':') libraries << pathOf(path);
    }
  }
  return libraries;
}

}  // namespace

IwadPlaces windowsIwadPlaces(const QProcessEnvironment& environment, const RegistryReader& readRegistry) {
  IwadPlaces places;
  // Each value read is named, so that a search that finds nothing can say where it looked.
  auto registry = [&](const QString& key, const QString& name) {
    places.registry << (key + " (" + name + ")").toUtf8();
    return readRegistry(key, name);
  };
  for (const char* variable : {"DOOMWADDIR", "DOOMWADPATH"})
    for (const QString& folder : environment.value(variable).split(';', Qt::SkipEmptyParts)) places.folders << pathOf(folder);

  const QString steam = registry("HKEY_CURRENT_USER\\Software\\Valve\\Steam", "SteamPath");
  if (!steam.isEmpty())
    for (const QByteArray& library : steamLibraries(steam))
      for (const char* game : kSteamGames) places.stores << library + "\\steamapps\\common\\" + game;

  for (const char* game : kGogGames) {
    for (const char* software : {"Software", "Software\\Wow6432Node"}) {
      QString folder = registry(QString("HKEY_LOCAL_MACHINE\\%1\\GOG.com\\Games\\%2").arg(software, game), "path");
      if (folder.isEmpty()) continue;
      places.folders << pathOf(folder);
      for (const char* wads : kGogWadFolders) places.folders << pathOf(folder) + "\\" + wads;
    }
  }
  removeDuplicates(places.folders);
  removeDuplicates(places.stores);
  return places;
}

IwadPlaces iwadPlaces(const QProcessEnvironment& environment) {
  return windowsIwadPlaces(environment, platform::registryText);
}
