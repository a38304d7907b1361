// `wadwright --find`: a fake home laid out as each store lays it out, with the real program.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QtCore/qtestsupport_core.h>
#include <csignal>
#include <cstdio>
#include <memory>

#include "support/scratch_folder.h"
#include "support/tool_folder.h"
#include "support/tool_run.h"

namespace {

// An IWAD's first bytes and something of its own, at a path that need not be valid text.
void writeIwad(const QByteArray& path) {
  QDir().mkpath(QFile::decodeName(path.left(path.lastIndexOf('/'))));
  std::FILE* file = std::fopen(path.constData(), "wb");
  ASSERT_TRUE(file) << path.constData();
  const QByteArray content = "IWAD" + path;
  std::fwrite(content.constData(), 1, size_t(content.size()), file);
  std::fclose(file);
}

// Only the fake home and the given folders: the system's own places hold nothing of the test's.
QStringList homeAt(const ScratchFolder& work, const QString& doomWadPath = {}) {
  return {"HOME=" + work.path("home"), "XDG_DATA_HOME=", "XDG_CONFIG_HOME=", "XDG_DATA_DIRS=" + work.path("none"),
          "DOOMWADPATH=" + doomWadPath, "DOOMWADDIR=", "DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="};
}

}  // namespace

// Every store's layout, DOOMWADPATH's folders and the links between them: every IWAD once, in any
// letter case and under any name, the add-ons left out, nothing written.
TEST(FindCommand, FindsTheIwadsWhereStoresAndSourcePortsPutThem) {
  ScratchFolder work;
  const QByteArray home = QFile::encodeName(work.path("home")), library = QFile::encodeName(work.path("library"));
  const QByteArray common = "/steamapps/common/", steam = home + "/.local/share/Steam";
  const QByteArray iwads[] = {
      QFile::encodeName(work.path("a/PLUTONIA.WAD")),
      QFile::encodeName(work.path("a")) + "/n\xff" "u.wad",  // not valid UTF-8
      library + common + "Ultimate Doom/rerelease/DOOM.WAD",
      library + common + "Ultimate Doom/base/master/wads/TNT.WAD",
      library + common + "Doom 2/finaldoombase/PLUTONIA.WAD",
      steam + common + "Final Doom/base/TNT.WAD",
      home + "/.var/app/com.valvesoftware.Steam/.local/share/Steam" + common + "Doom 2/base/doom2.wad",
      // ~/.steam/root and config.vdf's BaseInstallFolder_1
      home + "/steamroot" + common + "Hexen/base/HEXEN.WAD",
      library + "2" + common + "DOOMEternal/base/classicwads/doom.wad",
      library + "2" + common + "Heretic + Hexen/dos/base/heretic/heretic.wad",
      library + "2" + common + "Strife/strife1.wad",
      library + "2" + common + "Doom 64/DOOM64.WAD",
      // Heroic's GOG installs: its list, the Flatpak's list, and its folder of games
      QFile::encodeName(work.path("gog/DOOM II/dosdoom/base/doom2/DOOM2.WAD")),
      QFile::encodeName(work.path("flatpak gog/DOOM/base/wads/DOOM.WAD")),
      home + "/Games/Heroic/Final Doom/dosdoom/base/plutonia/PLUTONIA.WAD",
      home + "/GOG Games/DOOM + DOOM II/doom.wad",
  };
  for (const QByteArray& iwad : iwads) writeIwad(iwad);
  QDir().mkpath("b");
  work.write("b/nerve.wad", "PWAD add-on");
  QDir().mkpath("c");
  QFile::link(work.path("a/PLUTONIA.WAD"), "c/plutonia.wad");  // the same file again, by a link
  ASSERT_EQ(link(qPrintable(work.path("a/PLUTONIA.WAD")), "c/hard.wad"), 0);  // and by a second name
  QDir().mkpath("home/.steam");
  QFile::link(work.path("home/.local/share/Steam"), "home/.steam/steam");
  QFile::link(work.path("home/steamroot"), "home/.steam/root");
  work.write("home/.local/share/Steam/steamapps/libraryfolders.vdf",
             "\"libraryfolders\"\n{\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + library + "\"\n\t}\n}\n");
  QDir().mkpath("home/.steam/config");
  work.write("home/.steam/config/config.vdf", "\"InstallConfigStore\"\n{\n\t\"Software\"\n\t{\n\t\t\"Valve\"\n\t\t{\n\t\t\t\"Steam\""
                                              "\n\t\t\t{\n\t\t\t\t\"BaseInstallFolder_1\"\t\t\"" + library + "2\"\n}}}}\n");
  QDir().mkpath("home/.config/heroic/gog_store");
  work.write("home/.config/heroic/gog_store/installed.json",
             "{\"installed\": [{\"platform\": \"windows\", \"install_path\": \"" + work.path("gog/DOOM II").toUtf8() + "\"}]}");
  const QString flatpak = "home/.var/app/com.heroicgameslauncher.hgl/config/heroic/gog_store";
  QDir().mkpath(flatpak);
  work.write(flatpak + "/installed.json", "{\"installed\": [{\"install_path\": \"" + work.path("flatpak gog/DOOM").toUtf8() + "\"}]}");

  const QStringList before = work.entries();
  ToolResult found = runTool(builtTool("wadwright"), {"--find"},
                             homeAt(work, work.path("a") + ":" + work.path("b") + ":" + work.path("c")));
  QList<QByteArray> files;
  for (const QByteArray& line : found.out.split('\n'))
    if (!line.isEmpty() && !line.startsWith("/usr/")) files << line.left(line.indexOf('\t'));  // Freedoom is found too
  QList<QByteArray> expected;
  for (const QByteArray& iwad : iwads) expected << iwad;
  // The same file by another way: compared where the links lead.
  for (QList<QByteArray>* paths : {&files, &expected}) {
    for (QByteArray& path : *paths) {
      char* real = realpath(path.constData(), nullptr);
      path = real ? QByteArray(real) : "(missing) " + path;
      free(real);
    }
  }
  std::sort(files.begin(), files.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(QByteArrayList(files).join('\n').toStdString(), QByteArrayList(expected).join('\n').toStdString()) << found.out.toStdString() << found.err.toStdString();
  EXPECT_EQ(found.code, 1);  // they are unknown releases
  EXPECT_EQ(work.entries(), before);
  EXPECT_FALSE(QFileInfo::exists("a/md5tmp.txt"));
}

// A store's own file that is no ordinary file, or a giant: passed over, never waited for, never
// read whole; the search goes on and ends.
TEST(FindCommand, AStoresFileThatIsAPipeADeviceOrAGiantIsPassedOver) {
  const std::pair<const char*, QString> lists[] = {
      {"fifo", "home/.steam/steam/steamapps/libraryfolders.vdf"},
      {"zero", "home/.steam/steam/steamapps/libraryfolders.vdf"},
      {"giant", "home/.steam/steam/steamapps/libraryfolders.vdf"},
      {"fifo", "home/.config/heroic/gog_store/installed.json"},
      {"zero", "home/.config/heroic/gog_store/installed.json"},
  };
  for (const auto& [kind, list] : lists) {
    ScratchFolder work;
    QDir().mkpath(QFileInfo(list).path());
    writeIwad(QFile::encodeName(work.path("dwd/doom.wad")));
    if (kind == QString("fifo")) {
      ASSERT_EQ(mkfifo(qPrintable(list), 0600), 0);
    }
    if (kind == QString("zero")) QFile::link("/dev/zero", list);
    if (kind == QString("giant")) {  // 4 GiB that take no room, and a library named at its end
      work.write(list, "");
      QFile giant(list);
      ASSERT_TRUE(giant.open(QIODevice::ReadWrite) && giant.resize(qint64(4) << 30) && giant.seek(giant.size() - 100));
      giant.write("\"path\" \"" + work.path("dwd").toUtf8() + "\"");
    }
    // The memory a real search needs, and a few seconds; a wait or a read of it all fails.
    ToolResult found = runTool("sh", {"-c", "ulimit -v 1500000; exec timeout 20 \"$W\" --find"},
                               homeAt(work, work.path("dwd")) << "W=" + builtTool("wadwright"));
    EXPECT_EQ(found.code, 1) << kind << " " << list.toStdString() << ": " << found.err.toStdString();
    EXPECT_TRUE(found.out.startsWith(QFile::encodeName(work.path("dwd/doom.wad")) + "\tunknown\t")) << found.out.toStdString();
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
  QDir().mkpath("many");
  for (const char* name : {"many/a.wad", "many/b.wad", "many/c.wad"}) writeIwad(QFile::encodeName(work.path(name)));
  struct Case {
    QStringList arguments;
    int signal;
    bool folderLocked;  // by another program, for longer than the test
  };
  const Case cases[] = {
      {{"--identify", "--json", "many/a.wad", "many/b.wad", "many/c.wad"}, SIGTERM, false},
      {{"--identify", "many/a.wad", "many/b.wad"}, SIGINT, false},
      {{"--find", "--json"}, SIGHUP, false},
      {{"--identify", "many/a.wad", "many/b.wad"}, SIGTERM, true},
  };
  for (const Case& test : cases) {
    QFile::remove("starts");
    QFile::remove("locked");
    std::unique_ptr<ToolRun> holder;  // holds the lock for as long as it lives
    if (test.folderLocked) {
      holder = std::make_unique<ToolRun>("sh", QStringList{"-c", "exec 9<many; flock 9; : > locked; exec sleep 60"});
      ASSERT_TRUE(QTest::qWaitFor([&] { return work.exists("locked"); }, 20000));
    }
    ToolRun program(tools.path() + "/wadwright", test.arguments,
                    homeAt(work, work.path("many")) << "STARTS=" + work.path("starts"));
    if (test.folderLocked) QThread::msleep(500);
    else ASSERT_TRUE(QTest::qWaitFor([&] { return work.exists("starts"); }, 20000));
    QElapsedTimer stopping;
    stopping.start();
    kill(pid_t(program.pid()), test.signal);
    ToolResult run = program.wait();
    const std::string what = test.arguments.join(' ').toStdString();
    EXPECT_LT(stopping.elapsed(), 5000) << what;
    EXPECT_EQ(run.code, 128 + test.signal) << what << ": " << run.err.toStdString();
    EXPECT_EQ(work.read("starts").count('\n'), test.folderLocked ? 0 : 1) << what;  // nothing started after it
    const QByteArray said = "I was stopped before I could identify it.";
    if (test.arguments.contains("--json")) {
      const QJsonArray files = QJsonDocument::fromJson(run.out).array();
      ASSERT_EQ(files.size(), 1) << what << ": " << run.out.toStdString();
      EXPECT_EQ(files[0].toObject()["md5"], QJsonValue::Null);
      EXPECT_EQ(files[0].toObject()["error"], QString(said));
    } else {
      EXPECT_EQ(run.out, "many/a.wad\terror\t" + said + "\n") << what;
    }
  }
}

// What the checksum tool says of a file names the file found, not the link it was handed over by.
TEST(FindCommand, ATextOfTheChecksumToolNamesTheFileFound) {
  ScratchFolder work;
  ToolFolder tools;
  tools.installReal({"command.com", "wadwright"});
  tools.install("md5sum.exe", "#!/bin/sh\necho \"md5sum.exe: $1: Permission denied\" >&2\nexit 1\n");
  writeIwad(QFile::encodeName(work.path("dwd/DOOM2.WAD")));
  ToolResult found = runTool(tools.path() + "/wadwright", {"--find"}, homeAt(work, work.path("dwd")));
  const QByteArray iwad = QFile::encodeName(work.path("dwd/DOOM2.WAD"));
  EXPECT_EQ(found.out.split('\n').value(0).toStdString(), (iwad + "\terror\tI could not find out the checksum of '" +
                                                           iwad + "'. md5sum.exe: DOOM2.WAD: Permission denied").toStdString());
  EXPECT_EQ(found.code, 2);
}
