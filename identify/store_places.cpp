// Where the stores and launchers install the family's games, as they lay them out today.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "iwad_search.h"

namespace {

// Under a Steam library's steamapps/common: the games' folders, or the one folder of a big game
// that holds its WADs (DOOM Eternal's base is tens of GB).
const char* const kSteamGames[] = {
    "Ultimate Doom",          // base, base/doom2, tnt, plutonia, master/wads; the re-release in rerelease
    "Doom 2",                 // base, finaldoombase, masterbase
    "Final Doom",             // base
    "DOOM 3 BFG Edition",     // base/wads
    "DOOMEternal/base/classicwads",
    "Doom 64",
    "Master Levels of Doom",  // master/wads
    "Heretic Shadow of the Serpent Riders",
    "Hexen",
    "Hexen Deathkings of the Dark Citadel",
    "Strife",
    "Heretic + Hexen",        // dos/base/heretic, hexen, hexendk
};

QByteArray pathOf(const QString& path) { return QFile::encodeName(path); }

// The libraries a Steam installation lists besides its own: "path" "/mnt/games/SteamLibrary" in
// today's libraryfolders.vdf, "1" "/mnt/..." in older ones, "BaseInstallFolder_1" "/mnt/..." in
// config.vdf. Read as Latin-1, which any bytes are, so that a path comes back byte for byte.
QList<QByteArray> steamLibraries(const QByteArray& steam) {
  static const QRegularExpression entry(R"re("(?:path|\d+|BaseInstallFolder_\d+)"\s+"((?:[^"\\]|\\.)*)")re");
  QList<QByteArray> libraries{steam};
  for (const char* list : {"/steamapps/libraryfolders.vdf", "/config/libraryfolders.vdf", "/config/config.vdf"}) {
    const QString text = QString::fromLatin1(readStoreFile(steam + list));
    for (const QRegularExpressionMatch& match : entry.globalMatch(text)) {
      if (searchAskedToEnd()) return libraries;
      const QByteArray path = match.captured(1).replace("\\\\", "\\").toLatin1();
      if (path.startsWith('/')) libraries << path;
    }
  }
  return libraries;
}

// Every "install_path" in Heroic's list of the GOG games it installed.
void collectInstallPaths(const QJsonValue& value, QList<QByteArray>& paths) {
  if (value.isArray()) {
    for (const QJsonValue& item : value.toArray()) collectInstallPaths(item, paths);
  } else if (value.isObject()) {
    const QJsonObject object = value.toObject();
    for (auto field = object.begin(); field != object.end(); ++field) {
      if (field.key() == "install_path" && field.value().toString().startsWith('/')) paths << pathOf(field.value().toString());
      else collectInstallPaths(field.value(), paths);
    }
  }
}

QList<QByteArray> heroicInstalls(const QByteArray& list) {
  QList<QByteArray> installs;
  const QJsonDocument document = QJsonDocument::fromJson(readStoreFile(list));
  collectInstallPaths(document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object()), installs);
  return installs;
}

}  // namespace

IwadPlaces iwadPlaces(const QProcessEnvironment& environment) {
  IwadPlaces places;
  const QString home = environment.value("HOME");
  for (const char* variable : {"DOOMWADDIR", "DOOMWADPATH"})
    for (const QString& folder : environment.value(variable).split(':', Qt::SkipEmptyParts)) places.folders << pathOf(folder);
  // Empty counts as unset, as the XDG rules say.
  const auto xdg = [&](const char* variable, const QString& otherwise) {
    const QString value = environment.value(variable);
    return value.isEmpty() ? otherwise : value;
  };
  const QString dataHome = xdg("XDG_DATA_HOME", home + "/.local/share");
  const QString configHome = xdg("XDG_CONFIG_HOME", home + "/.config");
  QStringList data{dataHome};
  data << xdg("XDG_DATA_DIRS", "/usr/local/share:/usr/share").split(':', Qt::SkipEmptyParts);
  data << "/usr/local/share" << "/usr/share" << home + "/.local/share";
  for (const QString& folder : data) places.folders << pathOf(folder + "/games/doom");
  removeDuplicates(places.folders);

  // ~/.steam holds links to the installation (steam, root) and, on some systems, its config.
  const QStringList steams{home + "/.steam/steam", home + "/.steam/root", home + "/.steam/debian-installation",
                           home + "/.steam", dataHome + "/Steam", home + "/.local/share/Steam",
                           home + "/.var/app/com.valvesoftware.Steam/.local/share/Steam",
                           home + "/.var/app/com.valvesoftware.Steam/data/Steam"};
  // ~/.steam/steam and ~/.local/share/Steam are usually one installation: its libraries count once.
  QList<QByteArray> libraries;
  for (const QString& steam : steams) {
    if (searchAskedToEnd()) return places;
    libraries << steamLibraries(pathOf(steam));
  }
  removeDuplicates(libraries);
  for (const QByteArray& library : libraries)
    for (const char* game : kSteamGames) places.stores << library + "/steamapps/common/" + game;

  // GOG has no Linux DOOM: its Windows games come through Heroic, which lists where it put them.
  for (const QString& list : {configHome + "/heroic/gog_store/installed.json",
                              home + "/.var/app/com.heroicgameslauncher.hgl/config/heroic/gog_store/installed.json"})
    places.stores << heroicInstalls(pathOf(list));
  removeDuplicates(places.stores);
  places.collections << pathOf(home + "/Games/Heroic") << pathOf(home + "/GOG Games");
  return places;
}
