// The operating system's part: command lines as Windows splits them, finding programs, and
// running them without spending a core on the wait or leaving them behind.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QElapsedTimer>
#include <QTimer>
#include <ctime>
#include <functional>

#include "platform/command_line.h"
#include "platform/find_program.h"
#include "platform/process.h"
#include "support/scratch_folder.h"

using platform::splitCommandLine;
using Words = std::vector<std::string>;

namespace {

platform::CommandOutcome run(const QString& commandLine) { return platform::runAndWait(commandLine, ""); }

double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }  // this process's, every thread's

}  // namespace

// Quoting a name and splitting it back are checked, over many more names, by the command-line
// fuzzer's corpus, which replays as a test; plain words, a double blank and a backslash kept, by
// the run of a command line below.
TEST(CommandLine, SplitsByWindowsRules) {
  EXPECT_EQ(splitCommandLine("  x\t\"my doom.wad\"  a\"b c\"d \"\""), (Words{"x", "my doom.wad", "ab cd", ""}));
  EXPECT_EQ(splitCommandLine("a \"unclosed  quote"), (Words{"a", "unclosed  quote"}));
}

// Where backslashes part folders (Windows), a path with them is quoted as it stands, unless one
// ends it and would escape the closing quote; elsewhere a name's backslash is refused.
TEST(CommandLine, QuotesPathsWithBackslashesOnlyWhereTheyPartFolders) {
  const std::tuple<std::string, bool, std::optional<std::string>> cases[] = {
      {"patches\\plutonia.wad\\anthology-to-1.9.vcdiff", true, "\"patches\\plutonia.wad\\anthology-to-1.9.vcdiff\""},
      {"C:\\my wads\\doom.wad", true, "\"C:\\my wads\\doom.wad\""},
      {"C:\\wads\\", true, std::nullopt},
      {"a\"b", true, std::nullopt},
      {"doom.wad", true, "doom.wad"},
      {"patches\\d1_ud_11", false, std::nullopt},
  };
  for (const auto& [word, backslashParts, quoted] : cases) {
    EXPECT_EQ(platform::quoteForCommandLine(word, backslashParts), quoted) << word;
    if (quoted) { EXPECT_EQ(splitCommandLine("x " + *quoted), (Words{"x", word})); }
  }
}

// Then PATH, where the runs below find sh.
TEST(FindProgram, LooksInTheProgramFolderThenTheWorkingFolder) {
  ScratchFolder folder;
  folder.write("tool", "#!/bin/sh\n", true);
  folder.write("own/tool", "#!/bin/sh\n", true);
  std::string own = folder.path("own").toStdString();
  EXPECT_EQ(platform::findProgram("tool", own), own + "/tool");
  EXPECT_EQ(platform::findProgram("tool", "/nonexistent"), "./tool");
  folder.write("MD5SUM.EXE", "#!/bin/sh\necho c4fe9fd920207691a9f493668e0a2083\n", true);  // ours come from ours alone
  EXPECT_EQ(platform::findProgram("MD5SUM.EXE", own), std::nullopt);
}

TEST(CommandRun, ReportsHowTheProgramEndedAndWhatItSaid) {
  ScratchFolder folder;
  folder.write("tool", "#!/bin/sh\necho \"$# [$1] [$2] $WADWRIGHT_COMMAND_LINE\" >&2\nexit 3\n", true);
  folder.write("broken", "\x7f" "ELF garbage", true);
  platform::CommandOutcome outcome = run("tool \"a b\"  patches\\x");
  EXPECT_EQ(outcome.exitCode, 3);
  EXPECT_EQ(outcome.errorOutput, "2 [a b] [patches\\x] tool \"a b\"  patches\\x\n");  // and the whole line
  EXPECT_FALSE(run("broken").started);
  outcome = run("sh -c \"yes error | head -c 10000000 >&2\"");  // a flood is cut, not kept whole
  EXPECT_LE(outcome.errorOutput.size(), 4096u);
  EXPECT_EQ(outcome.errorOutput.substr(0, 12), "error\nerror\n");
}

// The command ends only once the event loop has run through ten ticks of a timer during the wait.
TEST(CommandRun, WaitsWithTheEventLoopRunningAndNoCpuSpent) {
  ScratchFolder folder;
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (++ticks == 10) folder.write("go", "");
  });
  timer.start(20);
  double before = cpuSeconds();
  EXPECT_TRUE(run("sh -c \"while [ ! -e go ]; do sleep 0.05; done\"").succeeded());
  EXPECT_GE(ticks, 10);                          // events were processed during the wait
  EXPECT_LT(cpuSeconds() - before, 0.5 * 0.2);  // far from a busy loop, even on a loaded machine
}

// Each command says, by a file, that it has set its handling of SIGTERM before it is ended.
TEST(CommandRun, AnAbandonedOrCancelledRunEndsTheProcess) {
  ScratchFolder folder;
  QElapsedTimer clock;
  clock.start();
  platform::CommandOutcome outcome;
  // As when the last window closes: the application's loop, and every loop inside it, is told to quit.
  QTimer::singleShot(0, [&] { outcome = run("sh -c \"trap 'touch tidied; exit 1' TERM; touch ready; sleep 30 & wait\""); });
  std::function<void()> whenReady = [] { QCoreApplication::exit(0); };
  QTimer poll;  // a timer's, so that it also fires inside the wait
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!folder.exists("ready")) return;
    poll.stop();
    whenReady();
  });
  poll.start(10);
  QCoreApplication::exec();
  EXPECT_TRUE(outcome.abandoned);
  EXPECT_TRUE(folder.exists("tidied"));  // asked politely first, so it could clean up

  QFile::remove("ready");
  platform::CommandRun stubborn("sh -c \"trap '' TERM; touch ready; sleep 30 & wait\"", "");
  whenReady = [&] { stubborn.cancel(); };
  poll.start(10);
  EXPECT_TRUE(stubborn.waitProcessingEvents().abandoned);  // killed when asking is not enough
  EXPECT_LT(clock.elapsed(), 10000);
}
