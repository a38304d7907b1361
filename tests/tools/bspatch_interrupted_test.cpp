// bspatch.exe stopped part-way through the freedoom1 -> freedoom2 patch: however it ends, the
// folder then holds NEW whole or not at all, and nothing else of its making.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QThread>
#include <functional>

#include "support/scratch_folder.h"
#include "support/tool_run.h"

namespace {

const QString kOld = "/usr/share/games/doom/freedoom1.wad", kNew = "/usr/share/games/doom/freedoom2.wad";

// Waits until the tool has written `fraction` of NEW, as its count of bytes written says.
bool waitForOutput(ToolRun& run, double fraction) {
  for (QDeadlineTimer deadline(60000); run.running() && !deadline.hasExpired(); QThread::usleep(200)) {
    QFile io(QString("/proc/%1/io").arg(run.pid()));
    const QByteArray counts = io.open(QIODevice::ReadOnly) ? io.readAll() : QByteArray();
    if (QRegularExpression("wchar: (\\d+)").match(counts).captured(1).toLongLong() >= fraction * double(QFileInfo(kNew).size())) return true;
  }
  return false;
}

// Stopped at some point of the run by a signal, or stopped while NEW appears or OLD shrinks and
// then continued: it fails, and leaves the folder as it was.
TEST(BspatchInterrupted, LeavesNothingHalfMadeWhateverHappens) {
  if (!QFile::exists(FREEDOOM_PATCH)) GTEST_SKIP() << "no freedoom patch";
  const int unnamed = open(qPrintable(QDir::tempPath()), O_TMPFILE | O_WRONLY, 0600);
  if (unnamed >= 0) close(unnamed);
  const QString vcdiff = QString(FREEDOOM_FIXTURES) + "/freedoom-lzma.vcdiff";
  // The signal, when it is sent, what happens while the tool is stopped, what the folder then holds,
  // and the patch.
  const std::tuple<int, double, std::function<void()>, QStringList, QString> cases[] = {
      {SIGKILL, 0.05, {}, {"old.wad"}, FREEDOOM_PATCH},
      {SIGTERM, 0.5, {}, {"old.wad"}, FREEDOOM_PATCH},
      {SIGTERM, 0.1, {}, {"old.wad"}, vcdiff},
      {SIGSTOP, 0.1, [] { QFile::copy("old.wad", "freedoom2.wad"); }, {"freedoom2.wad", "old.wad"}, vcdiff},
      {SIGSTOP, 0.3, [] { QFile::resize("old.wad", 0); }, {"old.wad"}, FREEDOOM_PATCH}};  // mapped: its bytes vanish
  for (const auto& [signal, at, meanwhile, left, patch] : cases) {
    if (signal == SIGKILL && unnamed < 0) continue;  // only unnamed files vanish when we are killed
    SCOPED_TRACE(std::to_string(signal) + " at " + std::to_string(at) + " with " + patch.toStdString());
    ScratchFolder folder;
    QFile::copy(kOld, "old.wad");
    ToolRun run(builtTool("bspatch.exe"), {"old.wad", "freedoom2.wad", patch});
    ASSERT_TRUE(waitForOutput(run, at));
    kill(pid_t(run.pid()), signal);
    if (meanwhile) meanwhile();
    kill(pid_t(run.pid()), SIGCONT);  // a tool that was not stopped is killed or ending already
    const ToolResult result = run.wait();
    EXPECT_EQ(meanwhile ? result.code : result.signal, meanwhile ? 1 : signal);
    EXPECT_EQ(folder.entries(), left);
    EXPECT_TRUE(left.size() < 2 || folder.read("freedoom2.wad") == folder.read("old.wad"));  // not overwritten
  }
  if (unnamed < 0) GTEST_SKIP() << "no unnamed files in " << qPrintable(QDir::tempPath()) << ": the SIGKILL cases were left out";
}

// On vfat, which has no unnamed files, the tool falls back on a hidden temporary file. The image
// is mounted by the kernel, or else through FUSE.
TEST(BspatchInterrupted, OnVfatTheFallbackCleansUpAndNamesNew) {
  if (!QFile::exists(FREEDOOM_PATCH)) GTEST_SKIP() << "no freedoom patch";
  ScratchFolder folder;
  QDir().mkdir("vfat");
  if (runTool("mkfs.vfat", {"-C", "image", "65536"}).code != 0 ||
      (runTool("mount", {"-o", "loop", "image", "vfat"}).code != 0 && runTool("fusefat", {"-o", "rw+", "image", "vfat"}).code != 0)) {
    GTEST_SKIP() << "cannot mount a vfat image here";
  }
  const auto unmount = qScopeGuard([] { runTool("umount", {"vfat"}); });
  ToolRun stopped(builtTool("bspatch.exe"), {kOld, "vfat/freedoom2.wad", FREEDOOM_PATCH});
  ASSERT_TRUE(waitForOutput(stopped, 0.3));
  const QStringList whileWriting = folder.entries("vfat");
  EXPECT_TRUE(whileWriting.size() == 1 && QRegularExpression(R"(^\.freedoom2\.wad\.\w{6}$)").match(whileWriting[0]).hasMatch()) << whileWriting.join(' ').toStdString();
  kill(pid_t(stopped.pid()), SIGTERM);
  EXPECT_EQ(stopped.wait().signal, SIGTERM);
  EXPECT_EQ(folder.entries("vfat"), QStringList{});

  const ToolResult made = runTool(builtTool("bspatch.exe"), {kOld, "vfat/freedoom2.wad", FREEDOOM_PATCH});
  ASSERT_EQ(made.code, 0) << made.err.toStdString();
  EXPECT_EQ(folder.entries("vfat"), QStringList{"freedoom2.wad"});
  EXPECT_EQ(runTool("cmp", {kNew, "vfat/freedoom2.wad"}).code, 0);
}

}  // namespace
