#include "tool_run.h"

#include "scratch_folder.h"

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

ToolResult runTool(const QString& program, const QStringList& arguments, const QStringList& environment) {
  return ToolRun(program, arguments, environment).wait();
}

QString builtTool(const QString& name) { return WADWRIGHT_BIN_DIR "/" + name; }

QStringList homeAt(const ScratchFolder& work, const QString& doomWadPath) {
  return {"HOME=" + work.path("home"), "XDG_DATA_HOME=", "XDG_CONFIG_HOME=", "XDG_DATA_DIRS=" + work.path("none"),
          "DOOMWADPATH=" + doomWadPath, "DOOMWADDIR=", "DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="};
}
