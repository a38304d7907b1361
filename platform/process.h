#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <string>

class QProcess;

namespace platform {

/// How a command ended, as far as anybody can tell.
struct CommandOutcome {
  bool started = false;         ///< false: the program was not found or could not be started.
  std::string startError;       ///< Why it could not be started.
  bool exitedNormally = false;  ///< It ended by itself rather than by a signal.
  int exitCode = -1;            ///< Its exit status, when it exited normally.
  bool abandoned = false;       ///< We ended it: the wait was given up or cancelled.
  std::string errorOutput;      ///< The start of what it wrote to its standard error.

  bool succeeded() const { return started && exitedNormally && exitCode == 0 && !abandoned; }
};

/// Runs one command line and returns how it ended; what the identification and the patch actions
/// are handed, so that they need not know who waits and how.
using RunCommand = std::function<CommandOutcome(const QString& commandLine)>;

/// Hands over one line a command wrote to its standard output, without its line end.
using OutputLine = std::function<void(const QByteArray& line)>;

/// Runs one command line as RunCommand does, handing each line it writes to standard output to
/// `onLine` as it comes: for a tool that reports its progress.
using RunWatchedCommand = std::function<CommandOutcome(const QString& commandLine, const OutputLine& onLine)>;

/// One command line run as a new process in the working folder: split by Windows rules, the
/// program found by findProgram. The child sees the whole line in WADWRIGHT_COMMAND_LINE, and
/// does not outlive us: it is ended when our process dies, however that happens.
/// Its standard output is discarded, or handed over line by line to `onLine` where one is given;
/// its standard error is kept.
class CommandRun {
 public:
  CommandRun(const QString& commandLine, const QByteArray& programFolder, OutputLine onLine = {});
  ~CommandRun();
  CommandRun(const CommandRun&) = delete;
  CommandRun& operator=(const CommandRun&) = delete;

  /// Returns when the process has ended, running the calling thread's event loop meanwhile:
  /// no polling, no CPU spent while the child works. If the event loop is told to quit first
  /// (the application is closing), the process is ended and the outcome says `abandoned`.
  /// A command that could not be started returns at once.
  CommandOutcome waitProcessingEvents();

  /// Ends a running process: asked first where it can be (SIGTERM on POSIX), so that it can tidy
  /// up, and killed if it has not ended a moment later; on Windows it is ended at once. The wait then returns `abandoned`.
  void cancel();

 private:
  std::string commandLine_;
  std::string programFolder_;
  OutputLine onLine_;
  std::unique_ptr<QProcess> process_;
  bool cancelled_ = false;
};

/// Runs a command line and waits for it, in the working folder, with the program's tools found
/// in `programFolder`: a RunCommand for code that has no window to keep alive.
CommandOutcome runAndWait(const QString& commandLine, const QByteArray& programFolder, const OutputLine& onLine = {});

/// Starts a command line without waiting for it. False, with the reason in `why`, when it could
/// not be started.
bool startDetached(const QString& commandLine, const QByteArray& programFolder, QString* why);

/// Text a tool or the operating system gave us (standard error, a start failure), trimmed.
QString toolText(const std::string& text);

/// Why a tool that was started did not succeed, in a sentence: its own words if it said any,
/// else how it ended. `tool` names it ("the patch tool").
QString failureReason(const CommandOutcome& outcome, const QString& tool);

}  // namespace platform
