#include "tool_run.h"

#include <algorithm>
#include <functional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtCore/qtestsupport_core.h>

#include "scratch_folder.h"

namespace {

// A program that takes longer than this to start or to end is hung.
constexpr int kHungMilliseconds = 20000;

QString procPath(qint64 pid, const QString& entry) { return QString("/proc/%1/%2").arg(pid).arg(entry); }

// Running, and not a zombie: one that has ended and is not yet reaped still has its /proc entry.
bool alive(qint64 pid) {
  QFile stat(procPath(pid, "stat"));
  return pid > 0 && stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z ");
}

// The signals a process has handlers for: the mask on the SigCgt line of its status.
quint64 handledSignals(qint64 pid) {
  QFile status(procPath(pid, "status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("SigCgt:")) return line.mid(7).trimmed().toULongLong(nullptr, 16);
  return 0;
}

// Waits until `reached` holds while `pid` still runs; false if it ended first, or never got there.
bool reachedWhileAlive(qint64 pid, const std::function<bool()>& reached) {
  return QTest::qWaitFor([&] { return !alive(pid) || reached(); }, kHungMilliseconds) && alive(pid) && reached();
}

}  // namespace

ToolRun::ToolRun(const QString& program, const QStringList& arguments, const QStringList& environment) {
  QProcessEnvironment added = QProcessEnvironment::systemEnvironment();
  for (const QString& entry : environment) added.insert(entry.section('=', 0, 0), entry.section('=', 1));
  process_.setProcessEnvironment(added);
  process_.start(program, arguments);
  process_.waitForStarted();
}

bool ToolRun::running() { return process_.state() != QProcess::NotRunning && !process_.waitForFinished(0); }

ToolResult ToolRun::wait(int milliseconds) {
  if (!process_.waitForFinished(milliseconds) && process_.state() != QProcess::NotRunning) {
    process_.kill();  // so it ends with SIGKILL, which no test expects of a tool left to run
    process_.waitForFinished();
  }
  // Qt gives the signal that ended a program as its exit code; one that never started has neither.
  const bool exited = process_.exitStatus() == QProcess::NormalExit && process_.error() != QProcess::FailedToStart;
  const bool killed = process_.exitStatus() == QProcess::CrashExit;
  return {exited ? process_.exitCode() : -1, killed ? process_.exitCode() : 0, process_.readAllStandardOutput(),
          process_.readAllStandardError()};
}

bool waitUntilItHandles(qint64 pid, int signal) {
  return reachedWhileAlive(pid, [&] { return handledSignals(pid) >> (signal - 1) & 1; });
}

bool waitUntilItHolds(qint64 pid, const QString& path) {
  const QString wanted = QFileInfo(path).canonicalFilePath();
  return reachedWhileAlive(pid, [&] {
    const QFileInfoList open = QDir(procPath(pid, "fd")).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    return std::any_of(open.begin(), open.end(), [&](const QFileInfo& entry) { return entry.symLinkTarget() == wanted; });
  });
}

bool waitUntilGone(qint64 pid) { return pid > 0 && QTest::qWaitFor([&] { return !alive(pid); }, kHungMilliseconds); }

ToolResult runTool(const QString& program, const QStringList& arguments, const QStringList& environment) {
  return ToolRun(program, arguments, environment).wait();
}

QString builtTool(const QString& name) { return WADWRIGHT_BIN_DIR "/" + name; }

QStringList homeAt(const ScratchFolder& work, const QString& doomWadPath) {
  return {"HOME=" + work.path("home"), "XDG_DATA_HOME=", "XDG_CONFIG_HOME=", "XDG_DATA_DIRS=" + work.path("none"),
          "DOOMWADPATH=" + doomWadPath, "DOOMWADDIR=", "DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="};
}
