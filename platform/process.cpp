#include "process.h"

#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include "command_line.h"

namespace platform {

namespace {

// What a misbehaving tool writes to standard error must not fill the memory.
constexpr qsizetype kErrorOutputLimit = 4096;
constexpr int kGraceMilliseconds = 3000;

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
  resolved.program = fromNative(*program);
  for (size_t i = 1; i < words.size(); ++i) resolved.arguments << fromNative(words[i]);
  return resolved;
}

QProcessEnvironment environmentFor(const std::string& commandLine) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(kCommandLineVariable, fromNative(commandLine));
  return environment;
}

}  // namespace

CommandRun::CommandRun(const std::string& commandLine, const std::string& programFolder)
    : commandLine_(commandLine), programFolder_(programFolder) {}

CommandRun::~CommandRun() {
  if (process_ && process_->state() != QProcess::NotRunning) {
    terminate();
    if (!process_->waitForFinished(kGraceMilliseconds)) process_->kill();
    process_->waitForFinished(kGraceMilliseconds);
  }
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
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());

  QByteArray errorOutput;
  QEventLoop loop;
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
  if (process.state() != QProcess::NotRunning) {
    // The event loop was told to quit while the tool still works: end it, and let it tidy up.
    outcome.abandoned = true;
    terminate();
    if (!process.waitForFinished(kGraceMilliseconds)) {
      process.kill();
      process.waitForFinished(kGraceMilliseconds);
    }
  }
  errorOutput += process.readAllStandardError().left(kErrorOutputLimit - errorOutput.size());
  outcome.errorOutput = errorOutput.toStdString();
  outcome.exitedNormally = process.exitStatus() == QProcess::NormalExit && !outcome.abandoned;
  outcome.exitCode = outcome.exitedNormally ? process.exitCode() : -1;
  return outcome;
}

void CommandRun::terminate() {
  if (process_ && process_->state() != QProcess::NotRunning) process_->terminate();
}

bool startDetached(const std::string& commandLine, const std::string& programFolder, std::string* why) {
  ResolvedCommand resolved = resolve(commandLine, programFolder);
  if (resolved.program.isEmpty()) {
    if (why) *why = resolved.error;
    return false;
  }
  QProcess process;
  process.setProgram(resolved.program);
  process.setArguments(resolved.arguments);
  process.setProcessEnvironment(environmentFor(commandLine));
  process.setStandardInputFile(QProcess::nullDevice());
  if (!process.startDetached()) {
    if (why) *why = process.errorString().toStdString();
    return false;
  }
  return true;
}

}  // namespace platform
