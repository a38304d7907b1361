// What wadwright.exe makes for its own use, in %TEMP% and beside an IWAD: gone once the run is
// over, however it ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <QFileInfo>
#include <QProcess>
#include <functional>

#include "scratch.h"
#include "support/demo_bytes.h"

namespace {

// Polls `done` for up to twenty seconds: Wine can be slow to start a program, or to let go what
// a program it ended held.
bool within(const std::function<bool()>& done) {
  for (int wait = 0; wait < 400 && !done(); ++wait) Sleep(50);
  return done();
}

QStringList entriesOf(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// wadwright.exe in `work`, with `work`'s temp\ for %TEMP% and its IWADs in `wads`.
void start(QProcess& program, const Scratch& work, const QStringList& arguments) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  const QString root = QDir::toNativeSeparators(work.dir.path());
  environment.insert("TEMP", root + "\\temp");
  environment.insert("TMP", root + "\\temp");
  environment.insert("DOOMWADDIR", root + "\\wads");
  program.setProcessEnvironment(environment);
  program.start(programFolder() + "\\wadwright.exe", arguments);
}

}  // namespace

// --find and --demo hand each IWAD over from a private folder in %TEMP%, the working folder
// meanwhile: it goes once the working folder is another again, as Windows removes no working one.
TEST(PrivateFilesOnWindows, TempIsAsItWasAfterEveryMode) {
  Scratch work;
  for (const char* folder : {"temp", "wads"}) QDir().mkpath(folder);
  work.write("wads/doom.wad", "IWAD");
  work.write("d.lmp", newDemo(109, 3, 4, 2));
  for (const QStringList& arguments : {QStringList{"--find"}, QStringList{"--demo", "d.lmp", "wads\\doom.wad"},
                                       QStringList{"--identify", "wads\\doom.wad"}}) {
    QProcess program;
    start(program, work, arguments);
    ASSERT_TRUE(program.waitForFinished(60000));
    const QByteArray said = program.readAllStandardOutput();
    EXPECT_TRUE(said.contains("doom.wad\t") && said.contains("unknown")) << said.toStdString();  // identified
    EXPECT_EQ(entriesOf("temp").join(' ').toStdString(), "") << arguments.join(' ').toStdString();
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
  EXPECT_TRUE(within([] { return entriesOf("wads") == QStringList{"big.wad"}; })) << entriesOf("wads").join(' ').toStdString();

  // Handing it over from a private folder in %TEMP%, killed, it leaves that folder, empty: the link
  // goes with the run, not the IWAD it names. The next run removes the folder.
  QProcess find, next;
  start(find, work, {"--find"});
  ASSERT_TRUE(within([] {  // its folder, the IWAD handed over in it
    return entriesOf("temp").size() == 1 && entriesOf("temp/" + entriesOf("temp")[0]).contains("md5tmp.txt");
  }));
  const QString left = "temp/" + entriesOf("temp")[0];
  find.kill();
  find.waitForFinished();
  EXPECT_TRUE(within([&] { return entriesOf(left).isEmpty(); })) << entriesOf(left).join(' ').toStdString();
  EXPECT_EQ(QFileInfo("wads/big.wad").size(), qint64(4) << 30);
  start(next, work, {"--identify", "none.wad"});
  ASSERT_TRUE(next.waitForFinished(60000));
  EXPECT_EQ(entriesOf("temp"), QStringList{});
}
