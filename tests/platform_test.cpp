#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>

#include "platform/command_line.h"
#include "platform/find_program.h"
#include "platform/process.h"
#include "support/scratch_folder.h"

using platform::splitCommandLine;
using Words = std::vector<std::string>;

TEST(SplitCommandLine, FollowsWindowsRules) {
  EXPECT_EQ(splitCommandLine("bspatch.exe a.wad b.wad  patches\\d1_ud_11"),
            (Words{"bspatch.exe", "a.wad", "b.wad", "patches\\d1_ud_11"}));
  EXPECT_EQ(splitCommandLine("  x\t\"my doom.wad\"  "), (Words{"x", "my doom.wad"}));
  EXPECT_EQ(splitCommandLine("a\"b c\"d \"\""), (Words{"ab cd", ""}));
  EXPECT_EQ(splitCommandLine("a \"unclosed  quote"), (Words{"a", "unclosed  quote"}));
  EXPECT_EQ(splitCommandLine(""), Words{});
}

TEST(QuoteForCommandLine, PlainNamesStandAsTheyAre) {
  EXPECT_EQ(platform::quoteForCommandLine("DOOM2.WAD"), "DOOM2.WAD");
  EXPECT_EQ(platform::quoteForCommandLine("-freedoom_1+2.wad"), "-freedoom_1+2.wad");
}

TEST(QuoteForCommandLine, EverythingElseComesBackAsOneLiteralWord) {
  for (std::string name : {"my doom.wad", "a>b.wad", "x & y.wad", "$(rm -rf ~).wad", "`id`.wad", "a;b|c<d.wad",
                           "caf\xc3\xa9.wad", "it's.wad"}) {
    std::optional<std::string> word = platform::quoteForCommandLine(name);
    ASSERT_TRUE(word) << name;
    EXPECT_EQ(splitCommandLine("tool " + *word + " next"), (Words{"tool", name, "next"})) << name;
  }
}

TEST(QuoteForCommandLine, RefusesWhatCannotBePassed) {
  for (const std::string& name : std::vector<std::string>{"", "a\"b.wad", "a\\b.wad", "line\nbreak.wad", std::string("nul\0x", 5)})
    EXPECT_FALSE(platform::quoteForCommandLine(name)) << name;
}

TEST(FindProgram, LooksInTheProgramFolderThenTheWorkingFolderThenPath) {
  ScratchFolder folder;
  folder.write("tool", "#!/bin/sh\n", true);
  QDir().mkdir("own");
  folder.write("own/tool", "#!/bin/sh\n", true);
  std::string own = folder.path("own").toStdString();
  EXPECT_EQ(platform::findProgram("tool", own), own + "/tool");
  EXPECT_EQ(platform::findProgram("tool", "/nonexistent"), "./tool");
  EXPECT_EQ(platform::findProgram("sh", "/nonexistent"), "/usr/bin/sh");
}

TEST(FindProgram, SaysWhyNothingWasFound) {
  ScratchFolder folder;
  folder.write("plain.txt", "not a program");
  std::string why;
  EXPECT_FALSE(platform::findProgram("no-such-tool.exe", "", &why));
  EXPECT_EQ(why, "no-such-tool.exe was not found");
  EXPECT_FALSE(platform::findProgram("plain.txt", "", &why));
  EXPECT_EQ(why, "./plain.txt is not executable");
}

static platform::CommandOutcome run(const QString& commandLine) { return platform::runAndWait(commandLine, ""); }

TEST(CommandRun, ReportsExitStatusAndErrorOutput) {
  ScratchFolder folder;
  folder.write("tool", "#!/bin/sh\necho \"$# [$1] [$2]\" >&2\nexit 3\n", true);
  platform::CommandOutcome outcome = run("tool \"a b\" patches\\x");
  EXPECT_TRUE(outcome.started);
  EXPECT_TRUE(outcome.exitedNormally);
  EXPECT_EQ(outcome.exitCode, 3);
  EXPECT_EQ(outcome.errorOutput, "2 [a b] [patches\\x]\n");
  EXPECT_FALSE(outcome.succeeded());
}

TEST(CommandRun, HandsTheWholeLineToTheChild) {
  ScratchFolder folder;
  folder.write("tool", "#!/bin/sh\nprintf '%s' \"$WADWRIGHT_COMMAND_LINE\" >&2\n", true);
  EXPECT_EQ(run("tool  \"x > y\"").errorOutput, "tool  \"x > y\"");
}

TEST(CommandRun, AProgramThatIsMissingOrBrokenIsNotStartedAndNotWaitedFor) {
  ScratchFolder folder;
  folder.write("broken", "\x7f" "ELF garbage", true);
  QElapsedTimer clock;
  clock.start();
  platform::CommandOutcome missing = run("no-such-tool.exe x");
  EXPECT_FALSE(missing.started);
  EXPECT_EQ(missing.startError, "no-such-tool.exe was not found");
  platform::CommandOutcome broken = run("broken");
  EXPECT_FALSE(broken.started);
  EXPECT_FALSE(broken.startError.empty());
  EXPECT_LT(clock.elapsed(), 2000);
}

TEST(CommandRun, KeepsTheEventLoopRunningAndSpendsNoCpuWhileWaiting) {
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(20);
  rusage before, after;
  getrusage(RUSAGE_SELF, &before);
  EXPECT_TRUE(run("sleep 0.5").succeeded());
  getrusage(RUSAGE_SELF, &after);
  double cpuSeconds = (after.ru_utime.tv_sec - before.ru_utime.tv_sec) + (after.ru_stime.tv_sec - before.ru_stime.tv_sec) +
                      (after.ru_utime.tv_usec - before.ru_utime.tv_usec + after.ru_stime.tv_usec - before.ru_stime.tv_usec) / 1e6;
  EXPECT_GT(ticks, 10);            // events were processed during the wait
  EXPECT_LT(cpuSeconds, 0.5 * 0.2);  // far from a busy loop, even on a loaded machine
}

TEST(CommandRun, KeepsOnlyTheStartOfAFloodOfErrorOutput) {
  platform::CommandOutcome outcome = run("sh -c \"yes error | head -c 10000000 >&2\"");
  EXPECT_TRUE(outcome.succeeded());
  EXPECT_LE(outcome.errorOutput.size(), 4096u);
  EXPECT_EQ(outcome.errorOutput.substr(0, 12), "error\nerror\n");
}

TEST(CommandRun, AnAbandonedWaitEndsTheProcess) {
  ScratchFolder folder;
  QElapsedTimer clock;
  clock.start();
  platform::CommandOutcome outcome;
  // As when the last window closes: the application's loop, and every loop inside it, is told to quit.
  QTimer::singleShot(0, [&] { outcome = run("sh -c \"trap 'touch tidied; exit 1' TERM; sleep 30 & wait\""); });
  QTimer::singleShot(300, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
  EXPECT_TRUE(outcome.abandoned);
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_TRUE(folder.exists("tidied"));  // asked politely first, so it could clean up
}

TEST(CommandRun, ACancelledRunEndsAtOnceEvenWhenTheToolIgnoresBeingAsked) {
  platform::CommandRun command("sh -c \"trap '' TERM; sleep 30 & wait\"", "");
  QTimer::singleShot(100, [&] { command.cancel(); });
  QElapsedTimer clock;
  clock.start();
  platform::CommandOutcome outcome = command.waitProcessingEvents();
  EXPECT_TRUE(outcome.abandoned);
  EXPECT_FALSE(outcome.succeeded());
  EXPECT_LT(clock.elapsed(), 5000);
}

// The parent of ChildLifetime's tool: this test program again, started by the test below and
// killed while its tool runs.
TEST(ChildLifetime, Parent) {
  QByteArray pidFile = qgetenv("WADWRIGHT_TEST_PID_FILE");
  if (pidFile.isEmpty()) GTEST_SKIP() << "only run by ChildLifetime.AToolEndsWithItsParent";
  run("sh -c \"echo $$ > '" + QString(pidFile) + "'; exec sleep 60\"");
}

TEST(ChildLifetime, AToolEndsWithItsParent) {
  ScratchFolder folder;
  QProcess parent;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("WADWRIGHT_TEST_PID_FILE", folder.path("tool.pid"));
  parent.setProcessEnvironment(environment);
  parent.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=ChildLifetime.Parent"});
  QElapsedTimer clock;
  clock.start();
  while (folder.read("tool.pid").trimmed().isEmpty() && clock.elapsed() < 20000) QThread::msleep(10);
  pid_t tool = folder.read("tool.pid").trimmed().toInt();
  ASSERT_GT(tool, 0);
  ::kill(pid_t(parent.processId()), SIGKILL);  // as at logout or by the OOM killer: nothing can be tidied
  parent.waitForFinished();
  auto alive = [tool] {
    QFile status(QString("/proc/%1/stat").arg(tool));
    return status.open(QIODevice::ReadOnly) && !status.readAll().contains(") Z ");
  };
  while (alive() && clock.elapsed() < 20000) QThread::msleep(10);
  EXPECT_FALSE(alive());
}
