#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <ostream>

/// How a program ended and what it said.
struct ToolResult {
  int code = -1;   ///< Its exit status; -1 when a signal ended it.
  int signal = 0;  ///< The signal that ended it, if one did.
  QByteArray out;
  QByteArray err;
};

/// A program started in the current folder, with `environment` ("NAME=value") added to ours.
class ToolRun {
 public:
  ToolRun(const QString& program, const QStringList& arguments, const QStringList& environment = {});
  qint64 pid() const { return process_.processId(); }
  bool running();
  /// Waits for its end; one still running after `milliseconds` is killed and says so on `err`.
  ToolResult wait(int milliseconds = 60000);

 private:
  QProcess process_;
};

/// Waits, up to what a user would call hung, until the process `pid` handles `signal` itself (as
/// /proc shows): from then on the signal asks it to end instead of killing it outright. False if it
/// ended first or never came that far.
bool waitUntilItHandles(qint64 pid, int signal);

/// Waits, up to what a user would call hung, until the process `pid` holds `path` (a folder or a
/// file) open: it has come to work on it. False if it ended first or never did.
bool waitUntilItHolds(qint64 pid, const QString& path);

/// Waits, up to what a user would call hung, until the process `pid` has ended (or is a zombie that
/// no one has reaped yet). False if it is still there.
bool waitUntilGone(qint64 pid);

/// Runs a program to its end.
ToolResult runTool(const QString& program, const QStringList& arguments, const QStringList& environment = {});

/// The path of one of the programs built side by side: "wadwright" and its tools, such as "md5sum.exe".
QString builtTool(const QString& name);

class ScratchFolder;

/// The environment of a program that looks only in `work`'s fake home and the given folders, with no
/// display: the system's own places hold nothing of the test's.
QStringList homeAt(const ScratchFolder& work, const QString& doomWadPath = {});

/// Lets GoogleTest print a QString, and so a QStringList, as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
