#pragma once

#include <memory>
#include <optional>
#include <string>

class QProcess;

namespace platform {

/// Finds a program named on a command line: a name with a folder part is taken as it stands;
/// a bare name is looked for in the program's own folder, then the working folder, then PATH.
/// On failure, `why` (if given) says what was wrong.
std::optional<std::string> findProgram(const std::string& name, const std::string& programFolder,
                                       std::string* why = nullptr);

/// How a command ended, as far as anybody can tell.
struct CommandOutcome {
  bool started = false;     ///< false: the program was not found or could not be started.
  std::string startError;   ///< Why it could not be started.
  bool exitedNormally = false;  ///< It ended by itself rather than by a signal.
  int exitCode = -1;        ///< Its exit status, when it exited normally.
  bool abandoned = false;   ///< The wait was given up (the application is closing); the process was ended.
  std::string errorOutput;  ///< The start of what it wrote to its standard error.

  bool succeeded() const { return started && exitedNormally && exitCode == 0 && !abandoned; }
};

/// One command line run as a new process: split by Windows rules, the program found by
/// findProgram. The child sees the whole line in WADWRIGHT_COMMAND_LINE, as a Windows program
/// would through GetCommandLine. Its standard output is discarded, its standard error kept.
class CommandRun {
 public:
  CommandRun(const std::string& commandLine, const std::string& programFolder);
  ~CommandRun();
  CommandRun(const CommandRun&) = delete;
  CommandRun& operator=(const CommandRun&) = delete;

  /// Returns when the process has ended, running the calling thread's event loop meanwhile:
  /// no polling, no CPU spent while the child works. If the event loop is told to quit first
  /// (the application is closing), the process is ended and the outcome says `abandoned`.
  /// A command that could not be started returns at once.
  CommandOutcome waitProcessingEvents();

  /// Asks a running process to end (SIGTERM on POSIX), so that it can clean up after itself.
  void terminate();

 private:
  std::string commandLine_;
  std::string programFolder_;
  std::unique_ptr<QProcess> process_;
};

/// Starts a command line without waiting for it. False, with the reason in `why`, when it could
/// not be started.
bool startDetached(const std::string& commandLine, const std::string& programFolder, std::string* why);

/// The variable through which a child reads the command line it was started with.
inline constexpr const char* kCommandLineVariable = "WADWRIGHT_COMMAND_LINE";

}  // namespace platform
