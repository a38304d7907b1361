// --find's places on Windows, from the environment and a registry given as a table.
#include <gtest/gtest.h>

#include <QMap>

#include "identify/iwad_places_win32.h"
#include "scratch.h"

TEST(IwadPlacesOnWindows, SourcePortsSteamAndGogNameTheirFolders) {
  Scratch work;
  QDir().mkpath("Steam/steamapps");
  work.write("Steam/steamapps/libraryfolders.vdf", "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"D:\\\\Games\\\\Steam Library\"\n\t}\n}\n");
  const QString steam = QDir::fromNativeSeparators(work.dir.path()) + "/Steam";
  const QMap<QString, QString> registry{
      {"HKEY_CURRENT_USER\\Software\\Valve\\Steam|SteamPath", steam},
      {"HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\GOG.com\\Games\\1435848814|path", "C:\\GOG Games\\DOOM II"},
  };
  QProcessEnvironment environment;
  environment.insert("DOOMWADDIR", "C:\\wads");
  environment.insert("DOOMWADPATH", "C:\\more wads;;E:\\iwads");
  IwadPlaces places = windowsIwadPlaces(environment, [&](const QString& key, const QString& name) {
    return registry.value(key + "|" + name);
  });
  EXPECT_EQ(places.folders, (QList<QByteArray>{"C:/wads", "C:/more wads", "E:/iwads", "C:/GOG Games/DOOM II",
                                         "C:/GOG Games/DOOM II/doom2", "C:/GOG Games/DOOM II/TNT",
                                         "C:/GOG Games/DOOM II/Plutonia", "C:/GOG Games/DOOM II/base/wads",
                                         "C:/GOG Games/DOOM II/dosdoom/base"}));
  // Four games in each library: Steam's own and the one its list names, unescaped.
  EXPECT_EQ(places.stores.size(), 8);
  EXPECT_EQ(places.stores.first(), QFile::encodeName(steam + "/steamapps/common/Ultimate Doom"));
  EXPECT_EQ(places.stores.last(), "D:/Games/Steam Library/steamapps/common/DOOM 3 BFG Edition");
}
