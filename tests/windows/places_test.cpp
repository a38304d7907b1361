// --find's places on Windows, from the environment and a registry given as a table.
#include <gtest/gtest.h>

#include <windows.h>

#include <QMap>

#include "identify/iwad_places_win32.h"
#include "scratch.h"

namespace {

bool keyExists(HKEY root, const wchar_t* key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

}  // namespace

TEST(IwadPlacesOnWindows, SourcePortsSteamAndGogNameTheirFolders) {
  Scratch work;
  QDir().mkpath("Steam/steamapps");
  work.write("Steam/steamapps/libraryfolders.vdf", "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"D:\\\\Games\\\\Steam Library\"\n\t}\n}\n");
  const QString steam = QDir::fromNativeSeparators(work.dir.path()) + "/Steam";
  const QMap<QString, QString> registry{
      {"HKEY_CURRENT_USER\\Software\\Valve\\Steam|SteamPath", steam},
      {"HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\GOG.com\\Games\\1435848814|path", "C:\\GOG Games\\DOOM II"},
      {"HKEY_LOCAL_MACHINE\\Software\\GOG.com\\Games\\1290366318|path", "C:\\GOG Games\\Heretic"},  // as Chocolate Doom reads it
  };
  QProcessEnvironment environment;
  environment.insert("DOOMWADDIR", "C:\\wads");
  // As Windows writes paths, whichever separators the variables, the registry and the list held.
  environment.insert("DOOMWADPATH", "C:/more wads;;E:\\iwads");
  IwadPlaces places = windowsIwadPlaces(environment, [&](const QString& key, const QString& name) {
    return registry.value(key + "|" + name);
  });
  EXPECT_EQ(places.folders, (QList<QByteArray>{"C:\\wads", "C:\\more wads", "E:\\iwads", "C:\\GOG Games\\DOOM II",
                                         "C:\\GOG Games\\DOOM II\\doom2", "C:\\GOG Games\\DOOM II\\TNT",
                                         "C:\\GOG Games\\DOOM II\\Plutonia", "C:\\GOG Games\\DOOM II\\base\\wads",
                                         "C:\\GOG Games\\DOOM II\\dosdoom\\base", "C:\\GOG Games\\Heretic",
                                         "C:\\GOG Games\\Heretic\\doom2", "C:\\GOG Games\\Heretic\\TNT",
                                         "C:\\GOG Games\\Heretic\\Plutonia", "C:\\GOG Games\\Heretic\\base\\wads",
                                         "C:\\GOG Games\\Heretic\\dosdoom\\base"}));
  // Nine games in each library (Heretic, Hexen, Deathkings and Strife where source ports look for
  // them): Steam's own and the one its list names, unescaped.
  EXPECT_EQ(places.stores.size(), 18);
  EXPECT_EQ(places.stores.first(), QFile::encodeName(QDir::toNativeSeparators(steam) + "\\steamapps\\common\\Ultimate Doom"));
  EXPECT_EQ(places.stores.last(), "D:\\Games\\Steam Library\\steamapps\\common\\Strife");
  // Every value read is named, as the user's guide names them: Steam's, and GOG's nine games in both views.
  EXPECT_EQ(places.registry.size(), 19);
  EXPECT_EQ(places.registry.first(), "HKEY_CURRENT_USER\\Software\\Valve\\Steam (SteamPath)");
}

// QSettings made every key it was asked to read from; the search only reads.
TEST(IwadPlacesOnWindows, TheRegistryIsReadAndLeftAsItWas) {
  if (keyExists(HKEY_CURRENT_USER, L"Software\\Valve")) GTEST_SKIP() << "this machine has Steam's keys";
  const bool gogThere = keyExists(HKEY_LOCAL_MACHINE, L"Software\\GOG.com");
  EXPECT_TRUE(iwadPlaces({}).stores.isEmpty());
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, L"Software\\Valve"));
  EXPECT_EQ(keyExists(HKEY_LOCAL_MACHINE, L"Software\\GOG.com"), gogThere);

  // A value that is there is read.
  Scratch work;
  HKEY steam = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Valve\\Steam", 0, nullptr, 0, KEY_WRITE, nullptr, &steam, nullptr), ERROR_SUCCESS);
  const std::wstring folder = QDir::toNativeSeparators(work.dir.path()).toStdWString();
  RegSetValueExW(steam, L"SteamPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()), DWORD((folder.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(steam);
  const IwadPlaces places = iwadPlaces({});
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Valve");
  ASSERT_FALSE(places.stores.isEmpty());
  EXPECT_EQ(places.stores.first(), QFile::encodeName(QString::fromStdWString(folder) + "\\steamapps\\common\\Ultimate Doom"));
}
