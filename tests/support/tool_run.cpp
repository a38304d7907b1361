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
  ToolResult result;
  if (process_.error() == QProcess::FailedToStart) {
    result.err = "cannot start " + process_.program().toUtf8() + "\n";
    return result;
  }
  if (!process_.waitForFinished(milliseconds) && process_.state() != QProcess::NotRunning) {
    process_.kill();
    process_.waitForFinished();
    result.err = "(still running after " + QByteArray::number(milliseconds) + " ms: killed)\n";
  }
  // Qt gives the signal that ended a program as its exit code.
  const bool exited = process_.exitStatus() == QProcess::NormalExit;
  result.code = exited ? process_.exitCode() : -1;
  result.signal = exited ? 0 : process_.exitCode();
  result.out = process_.readAllStandardOutput();
  result.err += process_.readAllStandardError();
  return result;
}

ToolResult runTool(const QString& program, const QStringList& arguments, const QStringList& environment) {
  return ToolRun(program, arguments, environment).wait();
}

QString builtTool(const QString& name) { return builtProgramFolder() + "/" + name; }
