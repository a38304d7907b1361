// `wadwright --find`: a fake home laid out as each store lays it out, with the real program.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtCore/qtestsupport_core.h>
#include <csignal>
#include <cstdio>
#include <memory>

#include "support/demo_bytes.h"
#include "support/scratch_folder.h"
#include "support/tool_folder.h"
#include "support/tool_run.h"

namespace {

// A file at a path that need not be valid text, its folders made; by default an IWAD's first bytes.
void put(const QByteArray& path, QByteArray content = {}) {
  QDir().mkpath(QFile::decodeName(path.left(path.lastIndexOf('/'))));
  std::FILE* file = std::fopen(path.constData(), "wb");
  ASSERT_TRUE(file) << path.constData();
  if (content.isEmpty()) content = "IWAD" + path;
  std::fwrite(content.constData(), 1, size_t(content.size()), file);
  std::fclose(file);
}

// The paths, sorted, each as where its links lead: the same file reached another way is the same.
std::string real(QByteArrayList paths) {
  for (QByteArray& path : paths) {
    char* real = realpath(path.constData(), nullptr);
    path = real ? QByteArray(real) : "(missing) " + path;
    free(real);
  }
  std::sort(paths.begin(), paths.end());
  return paths.join('\n').toStdString();
}

}  // namespace

// Every store's layout, DOOMWADPATH's folders and the links between them: every IWAD once, in any
// letter case and under any name, the add-ons left out, nothing written.
TEST(FindCommand, FindsTheIwadsWhereStoresAndSourcePortsPutThem) {
  ScratchFolder work;
  const QByteArray here = QFile::encodeName(work.path()), home = here + "/home", common = "/steamapps/common/";
  const QByteArrayList iwads = {
      here + "/a/PLUTONIA.WAD", here + "/a/n\xff" "u.wad",  // a name that is not valid UTF-8
      here + "/library" + common + "Ultimate Doom/rerelease/DOOM.WAD",  // libraryfolders.vdf's
      here + "/library" + common + "Ultimate Doom/base/master/wads/TNT.WAD",  // and DOOMWADPATH's too: base
      here + "/library" + common + "Ultimate Doom/base/doom2/DOOM2.WAD",      // is read as a store's, deeper
      here + "/library" + common + "Doom 2/finaldoombase/PLUTONIA.WAD",
      home + "/.local/share/Steam" + common + "Final Doom/base/TNT.WAD",
      home + "/.var/app/com.valvesoftware.Steam/.local/share/Steam" + common + "Doom 2/base/doom2.wad",
      home + "/steamroot" + common + "Hexen/base/HEXEN.WAD",  // ~/.steam/root
      here + "/library2" + common + "DOOMEternal/base/classicwads/doom.wad",  // config.vdf's BaseInstallFolder_1
      here + "/library2" + common + "Heretic + Hexen/dos/base/heretic/heretic.wad",
      here + "/library2" + common + "Strife/strife1.wad", here + "/library2" + common + "Doom 64/DOOM64.WAD",
      here + "/gog/DOOM II/dosdoom/base/doom2/DOOM2.WAD",  // Heroic's GOG installs, in its list
      here + "/flatpak gog/DOOM/base/wads/DOOM.WAD",        // and in its Flatpak's
      home + "/Games/Heroic/Final Doom/dosdoom/base/plutonia/PLUTONIA.WAD", home + "/GOG Games/DOOM + DOOM II/doom.wad"};
  for (const QByteArray& iwad : iwads) put(iwad);
  put("b/nerve.wad", "PWAD add-on");
  QDir().mkpath("c");
  QFile::link(work.path("a/PLUTONIA.WAD"), "c/plutonia.wad");  // the same file again, by a link
  ASSERT_EQ(link(qPrintable(work.path("a/PLUTONIA.WAD")), "c/hard.wad"), 0);  // and by a second name
  put("home/.local/share/Steam/steamapps/libraryfolders.vdf", "\"libraryfolders\"\n{\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + here + "/library\"\n\t}\n}\n");
  put("home/.steam/config/config.vdf", "\"InstallConfigStore\" { \"Software\" { \"Valve\" { \"Steam\" {\n\t\"BaseInstallFolder_1\"\t\t\"" + here + "/library2\" } } } }");
  QFile::link(work.path("home/.local/share/Steam"), "home/.steam/steam");
  QFile::link(work.path("home/steamroot"), "home/.steam/root");
  put("home/.config/heroic/gog_store/installed.json", "{\"installed\": [{\"platform\": \"windows\", \"install_path\": \"" + here + "/gog/DOOM II\"}]}");
  put("home/.var/app/com.heroicgameslauncher.hgl/config/heroic/gog_store/installed.json",
      "{\"installed\": [{\"install_path\": \"" + here + "/flatpak gog/DOOM\"}]}");

  const QStringList before = work.entries();
  const QString base = work.path("library/steamapps/common/Ultimate Doom/base");
  ToolResult found = runTool(builtTool("wadwright"), {"--find"}, homeAt(work, work.path("a") + ":" + work.path("b") + ":" + work.path("c") + ":" + base));
  QByteArrayList files;
  for (const QByteArray& line : found.out.split('\n'))
    if (!line.isEmpty() && !line.startsWith("/usr/")) files << line.left(line.indexOf('\t'));  // Freedoom is found too
  EXPECT_EQ(real(files), real(iwads)) << found.out.toStdString() << found.err.toStdString();
  EXPECT_EQ(found.code, 1);  // they are unknown releases
  EXPECT_EQ(work.entries(), before);
}

// A store's own file that is no ordinary file, or a giant: passed over, never waited for, never
// read whole; the search goes on and ends.
TEST(FindCommand, AStoresFileThatIsAPipeADeviceOrAGiantIsPassedOver) {
  const QString steam = "home/.steam/steam/steamapps/libraryfolders.vdf", heroic = "home/.config/heroic/gog_store/installed.json";
  const std::pair<QString, QString> lists[] = {  // how the list is made, and where
      {"mkfifo \"$L\"", steam}, {"ln -s /dev/zero \"$L\"", steam}, {"mkfifo \"$L\"", heroic}, {"ln -s /dev/zero \"$L\"", heroic},
      {"truncate -s 4G \"$L\"; printf '\"path\" \"%s\"' \"$PWD\" >> \"$L\"", steam},  // a giant that takes no room
  };
#ifdef __SANITIZE_ADDRESS__  // it reserves more address space than any ulimit allows, and bounds allocations itself
  const QString memoryLimit = "export ASAN_OPTIONS=\"$ASAN_OPTIONS:max_allocation_size_mb=1500\"";
#else
  const QString memoryLimit = "ulimit -v 1500000";
#endif
  for (const auto& [making, list] : lists) {
    ScratchFolder work;
    put("dwd/doom.wad");
    QDir().mkpath(QFileInfo(list).path());
    // The memory a real search needs, and a few seconds: a wait, or a read of it all, fails.
    ToolResult found = runTool("sh", {"-c", making + " && " + memoryLimit + " && exec timeout 20 \"$W\" --find"},
                               homeAt(work, work.path("dwd")) << "W=" + builtTool("wadwright") << "L=" + list);
    EXPECT_EQ(found.code, 1) << making.toStdString() << " " << list.toStdString() << ": " << found.err.toStdString();
    EXPECT_TRUE(found.out.startsWith(QFile::encodeName(work.path("dwd/doom.wad")) + "\tunknown\t")) << found.out.toStdString();
  }
}

// A library list near its size bound names about a million game folders: the search still ends
// before anyone would call it hung (bench/find times it), and Ctrl+C ends it at once, while the
// places are still being gathered.
TEST(FindCommand, AHugeLibraryListIsSearchedInSecondsAndCtrlCStopsIt) {
  ScratchFolder work;
  put("dwd/doom.wad");
  QByteArray list = "\"libraryfolders\"\n{\n";
  for (int number = 0; list.size() < (1 << 20) - 32; ++number) list += "\"" + QByteArray::number(number) + "\" \"/l" + QByteArray::number(number) + "\"\n";
  put("home/.local/share/Steam/steamapps/libraryfolders.vdf", list + "}\n");
  for (const bool interrupted : {false, true}) {
    QElapsedTimer clock;
    clock.start();
    ToolRun program(builtTool("wadwright"), {"--find"}, homeAt(work, work.path("dwd")));
    if (interrupted) {
      ASSERT_TRUE(waitUntilItHandles(program.pid(), SIGINT));
      clock.restart();
      kill(pid_t(program.pid()), SIGINT);
    }
    const ToolResult run = program.wait(120000);
    EXPECT_LT(clock.elapsed(), interrupted ? 10000 : 60000) << run.err.toStdString();
    EXPECT_EQ(run.code, interrupted ? 130 : 1) << run.err.toStdString();
  }
}

// Asked to end while a file is identified, or while another Wadwright holds its folder: it stops at
// once, starts nothing more, prints what it has (the unfinished file as stopped), and ends with
// 128 + the signal's number.
TEST(FindCommand, ASignalStopsARunOverManyFiles) {
  ScratchFolder work;
  ToolFolder tools;
  tools.installReal({"command.com", "wadwright"});
  tools.install("md5sum.exe", "#!/bin/sh\necho \"$1\" >> \"$STARTS\"\nexec sleep 60\n");
  for (const char* name : {"many/a.wad", "many/b.wad", "many/c.wad"}) put(name);
  work.write("many/x.lmp", newDemo(109, 3, 1, 1));
  const std::tuple<QStringList, int, bool> cases[] = {  // the words, the signal, the folder locked by another program
      {{"--identify", "--json", "many/a.wad", "many/b.wad", "many/c.wad"}, SIGTERM, false}, {{"--find", "--json"}, SIGHUP, false},
      {{"--identify", "many/a.wad", "many/b.wad"}, SIGINT, false}, {{"--identify", "many/a.wad", "many/b.wad"}, SIGTERM, true},
      {{"--demo", "many/x.lmp", "many/a.wad", "many/b.wad"}, SIGINT, false},
  };
  for (const auto& [words, signal, locked] : cases) {
    QFile::remove("starts");
    std::unique_ptr<ToolRun> holder;  // holds the lock for as long as it lives
    if (locked) holder = std::make_unique<ToolRun>("sh", QStringList{"-c", "exec 9<many; flock 9; : > starts; exec sleep 60"});
    ASSERT_TRUE(!locked || QTest::qWaitFor([&] { return work.exists("starts"); }, 20000));
    ToolRun program(tools.path() + "/wadwright", words, homeAt(work, work.path("many")) << "STARTS=" + work.path("starts"));
    if (locked) ASSERT_TRUE(waitUntilItHolds(program.pid(), work.path("many")));  // at the lock
    else ASSERT_TRUE(QTest::qWaitFor([&] { return work.read("starts").contains('\n'); }, 20000));
    QElapsedTimer stopping;
    stopping.start();
    kill(pid_t(program.pid()), signal);
    ToolResult run = program.wait();
    const std::string what = words.join(' ').toStdString() + ": " + run.out.toStdString() + run.err.toStdString();
    EXPECT_LT(stopping.elapsed(), 10000) << what;
    EXPECT_EQ(run.code, 128 + signal) << what;
    EXPECT_EQ(work.read("starts").count('\n'), locked ? 0 : 1) << what;  // nothing started after it
    const QString said = "I was stopped before I could identify it.";
    const QJsonArray files = QJsonDocument::fromJson(run.out).array();
    const int demo = words.contains("--demo");  // said first
    if (words.contains("--json"))  // whole, and the file at work not identified
      EXPECT_TRUE(files.size() == 1 + demo && files.last().toObject()["md5"].isNull() && files.last().toObject()["error"] == said) << what;
    else
      EXPECT_EQ(QString::fromUtf8(run.out).split('\n').mid(demo), (QStringList{"many/a.wad\terror\t" + said, ""})) << what;
  }
}

// A full XDG_RUNTIME_DIR takes no checksum: the private folder falls back to the temporary one, as
// md5tmp.txt falls back from a full working folder.
TEST(FindCommand, AFullRuntimeFolderIsPassedOver) {
  ScratchFolder work;
  put("dwd/doom.wad", "IWAD");
  ScratchFolder runtime;
  if (!runtime.mountSmall()) GTEST_SKIP() << "mounting needs root";
  runTool("sh", {"-c", "cat /dev/zero > fill"});
  QDir::setCurrent(work.path());
  ToolResult found = runTool(builtTool("wadwright"), {"--find"}, homeAt(work, work.path("dwd")) << "XDG_RUNTIME_DIR=" + runtime.path());
  EXPECT_EQ(found.out.split('\n').value(0), QFile::encodeName(work.path("dwd/doom.wad")) + "\tunknown\t" +
                                                QCryptographicHash::hash("IWAD", QCryptographicHash::Md5).toHex() +
                                                "\tIt is cut short: it has 4 bytes, fewer than a WAD's 12-byte header.") << found.err.toStdString();
  EXPECT_EQ(runtime.entries(), QStringList{"fill"});
}

// What the checksum tool says of a file names the file found, not the link it was handed over by.
TEST(FindCommand, ATextOfTheChecksumToolNamesTheFileFound) {
  ScratchFolder work;
  ToolFolder tools;
  tools.installReal({"command.com", "wadwright"});
  tools.install("md5sum.exe", "#!/bin/sh\necho \"md5sum.exe: $1: Permission denied\" >&2\nexit 1\n");
  put("dwd/DOOM2.WAD");
  ToolResult found = tools.wadwright({"--find"}, homeAt(work, work.path("dwd")));
  const QByteArray iwad = QFile::encodeName(work.path("dwd/DOOM2.WAD"));
  EXPECT_EQ(found.out.split('\n').value(0).toStdString(), (iwad + "\terror\tI could not find out the checksum of '" +
                                                           iwad + "'. md5sum.exe: DOOM2.WAD: Permission denied").toStdString());
  EXPECT_EQ(found.code, 2);
}

// Finding nothing, it says where it looked and exits 1; with --json the output is still one whole
// document, the empty array.
TEST(FindCommand, FindingNothingSaysWhereItLookedAndJsonIsAnEmptyArray) {
  ScratchFolder work;
  QDir().mkpath("empty");
  if (runTool("unshare", {"-rm", "true"}).code != 0) GTEST_SKIP() << "no user or mount namespace to hide Debian's IWADs in";
  // The folders always searched hold Freedoom here: an empty folder is put over them.
  const QString hidden = "for f in /usr/share/games/doom /usr/local/share/games/doom; do [ ! -d $f ] || mount --bind empty $f; done";
  for (const bool json : {false, true}) {
    ToolResult found = runTool("unshare", {"-rm", "sh", "-c", hidden + " && exec \"$W\" --find" + QString(json ? " --json" : "")},
                               homeAt(work, work.path("empty")) << "W=" + builtTool("wadwright"));
    EXPECT_EQ(found.code, 1) << found.err.toStdString();
    EXPECT_TRUE(found.err.startsWith("wadwright: I found no IWADs. I looked in:\n")) << found.err.toStdString();
    if (json) EXPECT_TRUE(QJsonDocument::fromJson(found.out).isArray() && QJsonDocument::fromJson(found.out).array().isEmpty()) << found.out.toStdString();
    else EXPECT_EQ(found.out, "");
  }
}
