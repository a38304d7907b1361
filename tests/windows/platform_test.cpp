// The platform's Windows twins, with the real tools.
#include <gtest/gtest.h>
#include <windows.h>

#include <QProcess>
#include <thread>

#include "platform/find_program.h"
#include "platform/folder_lock.h"
#include "platform/process.h"
#include "scratch.h"

TEST(FindProgramOnWindows, OwnHelpersComeOnlyFromTheProgramFolder) {
  Scratch work;
  work.write("md5sum.exe", "not the real one");
  work.write("other.exe", "");
  const std::string bin = programFolder().toStdString();
  const std::pair<std::string, std::string> cases[] = {  // the name, where it is found ("": nowhere)
      {"md5sum.exe", bin + "\\md5sum.exe"},
      {"MD5SUM.EXE", bin + "\\MD5SUM.EXE"},
      {"command.com", bin + "\\command.com"},
      {"windows_test", bin + "\\windows_test.exe"},  // .exe added, as CreateProcess adds it
      {"other.exe", ".\\other.exe"},
      {"sub\\other.exe", ""},
      {".\\md5sum.exe", ".\\md5sum.exe"},  // a folder part is taken as it stands
      {"missing.exe", ""},
  };
  for (const auto& [name, expected] : cases) {
    std::string why;
    std::optional<std::string> found = platform::findProgram(name, bin, &why);
    EXPECT_EQ(found.value_or(""), expected) << name;
    if (!found) EXPECT_EQ(why, name + " was not found");
  }
  // Windows' own file manager, not ours: from the PATH.
  const std::string explorer = platform::findProgram("explorer", bin).value_or("none");
  EXPECT_TRUE(QString::fromStdString(explorer).endsWith("\\explorer.exe", Qt::CaseInsensitive)) << explorer;
}

TEST(FolderLockOnWindows, OneHolderPerFolderInAnyLetterCase) {
  Scratch work;
  QDir().mkdir("other");
  auto tryFromAnotherThread = [](const QString& folder) {
    bool taken = false;
    std::thread([&] { taken = platform::FolderLock(folder).tryLock(); }).join();
    return taken;
  };
  {
    platform::FolderLock held(work.dir.path());
    held.lock();
    EXPECT_FALSE(tryFromAnotherThread(work.dir.path()));
    EXPECT_FALSE(tryFromAnotherThread(work.dir.path().toUpper()));
    EXPECT_TRUE(tryFromAnotherThread(work.dir.path() + "/other"));
  }
  EXPECT_TRUE(tryFromAnotherThread(work.dir.path()));
}

// The command line reaches the interpreter as it stands, quotes and all, and the interpreter
// hands the rest to the tool the same way.
TEST(CommandRunOnWindows, RunsTheLineAsItStandsAndSaysHowItEnded) {
  Scratch work;
  work.write("a b.wad", "abc");
  platform::CommandOutcome outcome = platform::runAndWait("command.com /c md5sum.exe \"a b.wad\" > md5tmp.txt", QFile::encodeName(programFolder()));
  EXPECT_TRUE(outcome.succeeded()) << outcome.errorOutput;
  EXPECT_EQ(work.read("md5tmp.txt"), "900150983cd24fb0d6963f7d28e17f72  a b.wad\r\n");

  outcome = platform::runAndWait("command.com /c md5sum.exe missing.wad > md5tmp.txt", QFile::encodeName(programFolder()));
  EXPECT_TRUE(outcome.started && outcome.exitedNormally);
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(platform::toolText(outcome.errorOutput), "md5sum.exe: missing.wad: No such file or directory");

  outcome = platform::runAndWait("nothere.exe x", QFile::encodeName(programFolder()));
  EXPECT_FALSE(outcome.started);
  EXPECT_EQ(outcome.startError, "nothere.exe was not found");
}

// Killed outright, a program takes its helpers with it: they are in its job.
TEST(CommandRunOnWindows, HelpersEndWithTheProgramHoweverItEnds) {
  Scratch work;
  QProcess program;
  program.start(programFolder() + "\\windows_test.exe", {"--run-and-wait", "windows_test.exe --sleep helper.pid"});
  ASSERT_TRUE(program.waitForStarted());
  for (int wait = 0; wait < 200 && work.read("helper.pid").toULong() == 0; ++wait) Sleep(50);
  DWORD pid = work.read("helper.pid").toULong();
  ASSERT_NE(pid, 0u);
  HANDLE helper = OpenProcess(SYNCHRONIZE, FALSE, pid);
  ASSERT_TRUE(helper);
  EXPECT_EQ(WaitForSingleObject(helper, 200), DWORD(WAIT_TIMEOUT));  // it waits while its program lives
  program.kill();
  program.waitForFinished();
  EXPECT_EQ(WaitForSingleObject(helper, 5000), DWORD(WAIT_OBJECT_0));
  CloseHandle(helper);
}
