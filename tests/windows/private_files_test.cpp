// What wadwright.exe makes for its own use, in %TEMP% and beside an IWAD: gone once the run is
// over, however it ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <QFileInfo>
#include <QProcess>
#include <functional>

#include "platform/owned_tree_removal.h"
#include "scratch.h"
#include "support/demo_bytes.h"

namespace {

// wadwright.exe in `work`, with `work`'s temp\ for %TEMP% and its IWADs in `wads`.
void start(QProcess& program, const Scratch& work, const QStringList& arguments) {
  const QString root = QDir::toNativeSeparators(work.dir.path());
  startWadwright(program, programFolder(), arguments, {"TEMP=" + root + "\\temp", "TMP=" + root + "\\temp", "DOOMWADDIR=" + root + "\\wads"});
}

// A link to the folder `target` at `link`: a junction, as any user can make one on Windows. Wine
// makes no junction, and no symbolic link either; there the link is a Unix one, which Wine lists
// as a reparse point. False where neither can be made.
bool linkFolder(const QString& target, const QString& link) {
  const auto native = [](const QString& path) { return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()); };
  const auto isLink = [&] { return GetFileAttributesW(native(link).toStdWString().c_str()) & FILE_ATTRIBUTE_REPARSE_POINT; };
  QProcess::execute("cmd", {"/c", "mklink", "/J", native(link), native(target)});
  if (QFileInfo::exists(link)) return isLink();
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unixName =
      reinterpret_cast<UnixName>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return false;
  const auto unixPath = [&](const QString& path) { return QString::fromUtf8(unixName(native(path).toStdWString().c_str())); };
  // Named in full: Windows would look for ln.exe.
  std::wstring line = ("ln -s \"" + unixPath(target) + "\" \"" + unixPath(link) + "\"").toStdWString();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION ln{};
  if (!CreateProcessW(L"Z:\\bin\\ln", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &ln)) return false;
  WaitForSingleObject(ln.hProcess, INFINITE);
  CloseHandle(ln.hThread);
  CloseHandle(ln.hProcess);
  return isLink();
}

// Named as a private folder of a run that has ended: no process has this id.
QString deadRunFolder(const char* letters) { return QString("temp/wadwright-4294967292-1-") + letters; }

}  // namespace

// --find and --demo hand each IWAD over from a private folder in %TEMP%, the working folder
// meanwhile: it goes once the working folder is another again, as Windows removes no working one.
// A read-only IWAD stays so: a hard link shares the user's file's attributes, and is never made
// writable to remove it (where Windows cannot delete it as it is, the IWAD is copied instead).
TEST(PrivateFilesOnWindows, TempIsAsItWasAfterEveryModeAndTheIwadAsItWas) {
  Scratch work;
  for (const char* folder : {"temp", "wads"}) QDir().mkpath(folder);
  work.write("wads/doom.wad", "IWAD");
  work.write("d.lmp", newDemo(109, 3, 4, 2));
  const std::wstring iwad = QDir::toNativeSeparators(QFileInfo("wads/doom.wad").absoluteFilePath()).toStdWString();
  for (const DWORD attributes : {DWORD(FILE_ATTRIBUTE_NORMAL), DWORD(FILE_ATTRIBUTE_READONLY)}) {
    ASSERT_TRUE(SetFileAttributesW(iwad.c_str(), attributes));
    for (const QStringList& arguments : {QStringList{"--find"}, QStringList{"--demo", "d.lmp", "wads\\doom.wad"},
                                         QStringList{"--identify", "wads\\doom.wad"}}) {
      SCOPED_TRACE(arguments.join(' ').toStdString() + (attributes == FILE_ATTRIBUTE_READONLY ? ", read-only" : ""));
      QProcess program;
      start(program, work, arguments);
      ASSERT_TRUE(program.waitForFinished(60000));
      const QByteArray said = program.readAllStandardOutput();
      EXPECT_TRUE(said.contains("doom.wad\t") && said.contains("unknown")) << said.toStdString();  // identified
      EXPECT_EQ(work.entries("temp").join(' ').toStdString(), "");
      EXPECT_EQ(GetFileAttributesW(iwad.c_str()) & FILE_ATTRIBUTE_READONLY, attributes & FILE_ATTRIBUTE_READONLY);
      EXPECT_EQ(work.read("wads/doom.wad"), "IWAD");
    }
  }
}

// Ended outright (taskkill /F, the Task Manager) while it reads an IWAD, it leaves no md5tmp.txt
// beside it: Windows deletes the file with the run.
TEST(PrivateFilesOnWindows, AForcedEndLeavesNothingForGood) {
  Scratch work;
  for (const char* folder : {"temp", "wads"}) QDir().mkpath(folder);
  work.write("wads/big.wad", "IWAD");
  QFile big("wads/big.wad");
  ASSERT_TRUE(big.resize(qint64(4) << 30));  // sparse: minutes of reading
  QProcess identify;
  start(identify, work, {"--identify", "wads\\big.wad"});
  ASSERT_TRUE(within([] { return QFile::exists("wads/md5tmp.txt"); }));
  identify.kill();
  identify.waitForFinished();
  EXPECT_TRUE(within([&] { return work.entries("wads") == QStringList{"big.wad"}; })) << work.entries("wads").join(' ').toStdString();

  // Handing it over from a private folder in %TEMP%, killed, it leaves that folder, empty: the link
  // goes with the run, not the IWAD it names. The next run removes the folder.
  QProcess find, next;
  start(find, work, {"--find"});
  ASSERT_TRUE(within([&] {  // its folder, the IWAD handed over in it
    return work.entries("temp").size() == 1 && work.entries("temp/" + work.entries("temp")[0]).contains("md5tmp.txt");
  }));
  const QString left = "temp/" + work.entries("temp")[0];
  find.kill();
  find.waitForFinished();
  EXPECT_TRUE(within([&] { return work.entries(left).isEmpty(); })) << work.entries(left).join(' ').toStdString();
  EXPECT_EQ(QFileInfo("wads/big.wad").size(), qint64(4) << 30);
  start(next, work, {"--identify", "none.wad"});
  ASSERT_TRUE(next.waitForFinished(60000));
  EXPECT_EQ(work.entries("temp"), QStringList{});
}

// A start removes a dead run's folder, and no link in %TEMP% named as one, nor what a link inside
// one leads to: each is opened as itself, never entered, and goes as a link (Wine deletes no Unix
// link through a handle, so there it stays, and its folder with it).
TEST(PrivateFilesOnWindows, AStartFollowsNoLinkNamedAsADeadRunsFolderOrInsideOne) {
  Scratch work;
  for (const char* folder : {"temp", "victim/folder"}) QDir().mkpath(folder);
  work.write("victim/folder/inner", "kept");
  work.write(deadRunFolder("plain0") + "/md5tmp.txt", "x");
  QDir().mkpath(deadRunFolder("links0"));
  ASSERT_TRUE(linkFolder("victim/folder", deadRunFolder("link00")));
  ASSERT_TRUE(linkFolder("victim", deadRunFolder("links0") + "/sub"));
  QProcess next;
  start(next, work, {"--identify", "none.wad"});
  ASSERT_TRUE(next.waitForFinished(60000));
  EXPECT_EQ(work.read("victim/folder/inner"), "kept");
  EXPECT_FALSE(work.entries("temp").contains(QFileInfo(deadRunFolder("plain0")).fileName())) << work.entries("temp").join(' ').toStdString();
}

// A subfolder swapped for a link between its listing and its entry is not entered.
TEST(PrivateFilesOnWindows, ASubfolderSwappedForALinkDuringRemovalIsNotEntered) {
  Scratch work;
  QDir().mkpath("victim");
  work.write("victim/inner", "kept");
  QDir().mkpath(deadRunFolder("swap00") + "/sub");
  work.write(deadRunFolder("swap00") + "/sub/made.part", "x");
  platform::beforeEnteringFolder = [&](const QString& path) {
    if (path.endsWith("/sub") && QDir().rename(path, "moved")) linkFolder("victim", path);
  };
  platform::removeOwnedFolder(work.dir.filePath("temp"), QFileInfo(deadRunFolder("swap00")).fileName());
  platform::beforeEnteringFolder = nullptr;
  EXPECT_TRUE(QFileInfo::exists("moved/made.part"));  // the swap was made
  EXPECT_EQ(work.read("victim/inner"), "kept");
}
