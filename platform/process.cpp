#include "process.h"

#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTimer>

#include "child_lifetime.h"
#include "command_line.h"
#include "find_program.h"
#include "process_start.h"
#include "program_folder.h"

namespace platform {

namespace {

// What a misbehaving tool writes to standard error must not fill the memory.
constexpr qsizetype kErrorOutputLimit = 4096;
constexpr int kGraceMilliseconds = 3000;
// A line of a tool's progress is a few dozen bytes: one without an end is cut here.
constexpr qsizetype kOutputLineLimit = 4096;

QString fromNative(const std::string& text) { return QString::fromLocal8Bit(text.data(), qsizetype(text.size())); }

struct ResolvedCommand {
  QString program;
  QStringList arguments;
  std::string error;
};

ResolvedCommand resolve(const std::string& commandLine, const std::string& programFolder) {
  ResolvedCommand resolved;
  std::vector<std::string> words = splitCommandLine(commandLine);
  if (words.empty()) {
    resolved.error = "the command line is empty";
    return resolved;
  }
  std::optional<std::string> program = findProgram(words.front(), programFolder, &resolved.error);
  if (!program) return resolved;
  resolved.program = startablePath(*program);
  for (size_t i = 1; i < words.size(); ++i) resolved.arguments << fromNative(words[i]);
  return resolved;
}

QProcessEnvironment environmentFor(const std::string& commandLine) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(kCommandLineVariable, fromNative(commandLine));
  return environment;
}

// Asks the process to end so that it can tidy up, and kills it if it does not.
void endProcess(QProcess& process) {
  if (process.state() == QProcess::NotRunning) return;
  askChildToEnd(process);
  if (!process.waitForFinished(kGraceMilliseconds)) {
    process.kill();
    process.waitForFinished(kGraceMilliseconds);
  }
}

}  // namespace

CommandRun::CommandRun(const QString& commandLine, const QByteArray& programFolder, OutputLine onLine)
    : commandLine_(commandLine.toLocal8Bit().toStdString()), programFolder_(programFolder.toStdString()), onLine_(std::move(onLine)) {}

CommandRun::~CommandRun() {
  if (process_) endProcess(*process_);
}

CommandOutcome CommandRun::waitProcessingEvents() {
  CommandOutcome outcome;
  ResolvedCommand resolved = resolve(commandLine_, programFolder_);
  if (resolved.program.isEmpty()) {
    outcome.startError = resolved.error;
    return outcome;
  }

  process_ = std::make_unique<QProcess>();
  QProcess& process = *process_;
  process.setProcessEnvironment(environmentFor(commandLine_));
  passCommandLine(process, fromNative(commandLine_), false);
  process.setStandardInputFile(QProcess::nullDevice());
  if (!onLine_) process.setStandardOutputFile(QProcess::nullDevice());
  endChildWithParent(process);

  QByteArray errorOutput, pendingLine;
  QEventLoop loop;
  // Taken out before any is handed over: what the handler does may read more.
  const auto readLines = [&] {
    pendingLine += process.readAllStandardOutput();
    QByteArrayList lines;
    for (qsizetype end; (end = pendingLine.indexOf('\n')) >= 0 || pendingLine.size() > kOutputLineLimit;) {
      const qsizetype taken = end >= 0 ? end : kOutputLineLimit;
      lines << pendingLine.left(taken);
      pendingLine.remove(0, end >= 0 ? end + 1 : taken);
      if (lines.last().endsWith('\r')) lines.last().chop(1);
    }
    for (const QByteArray& line : lines) onLine_(line);
  };
  if (onLine_) QObject::connect(&process, &QProcess::readyReadStandardOutput, readLines);
  QObject::connect(&process, &QProcess::readyReadStandardError, [&] {
    QByteArray chunk = process.readAllStandardError();
    errorOutput += chunk.left(kErrorOutputLimit - errorOutput.size());
  });
  QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
  QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) loop.quit();
  });

  process.start(resolved.program, resolved.arguments, QIODevice::ReadOnly);
  if (process.state() != QProcess::NotRunning) loop.exec();

  if (process.error() == QProcess::FailedToStart && process.state() == QProcess::NotRunning &&
      process.processId() == 0) {
    outcome.startError = process.errorString().toStdString();
    return outcome;
  }
  outcome.started = true;
  // Still running: the event loop was told to quit while the tool works (the program is closing).
  outcome.abandoned = cancelled_ || process.state() != QProcess::NotRunning;
  endProcess(process);
  errorOutput += process.readAllStandardError().left(kErrorOutputLimit - errorOutput.size());
  if (onLine_) readLines();
  outcome.errorOutput = errorOutput.toStdString();
  outcome.exitedNormally = process.exitStatus() == QProcess::NormalExit && !outcome.abandoned;
  outcome.exitCode = outcome.exitedNormally ? process.exitCode() : -1;
  return outcome;
}

void CommandRun::cancel() {
  if (!process_ || process_->state() == QProcess::NotRunning) return;
  cancelled_ = true;
  askChildToEnd(*process_);
  QProcess* process = process_.get();
  QTimer::singleShot(kGraceMilliseconds, process, [process] { process->kill(); });
}

CommandOutcome runAndWait(const QString& commandLine, const QByteArray& programFolder, const OutputLine& onLine) {
  return CommandRun(commandLine, programFolder, onLine).waitProcessingEvents();
}

bool startDetached(const QString& commandLine, const QByteArray& programFolder, QString* why) {
  std::string line = commandLine.toLocal8Bit().toStdString();
  ResolvedCommand resolved = resolve(line, programFolder.toStdString());
  if (resolved.program.isEmpty()) {
    if (why) *why = fromNative(resolved.error);
    return false;
  }
  QProcess process;
  process.setProgram(resolved.program);
  process.setArguments(resolved.arguments);
  process.setProcessEnvironment(environmentFor(line));
  passCommandLine(process, commandLine, true);
  process.setStandardInputFile(QProcess::nullDevice());
  if (!process.startDetached()) {
    if (why) *why = process.errorString();
    return false;
  }
  return true;
}

QString toolText(const std::string& text) { return QString::fromLocal8Bit(text.c_str()).trimmed(); }

QString failureReason(const CommandOutcome& outcome, const QString& tool) {
  QString said = toolText(outcome.errorOutput);
  if (!said.isEmpty()) return said;
  QString subject = tool.left(1).toUpper() + tool.mid(1);
  if (!outcome.exitedNormally) return subject + " ended abnormally.";
  return subject + QString(" ended with status %1.").arg(outcome.exitCode);
}

}  // namespace platform
