#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include "tool_run.h"

/// A folder of tools for the program to find, in place of the folder it was installed in: the
/// real ones, or scripts standing in for them.
class ToolFolder {
 public:
  QString path() const { return dir_.path(); }
  /// Copies of the built tools (copies, not links: the interpreter finds the checksum tool beside
  /// its own real location).
  void installReal(const QStringList& tools = {"command.com", "md5sum.exe", "sha1sum.exe", "bspatch.exe"}) const;
  /// The real interpreter, and checksum tools that print what the file holds (no real file has
  /// the catalogue's checksums). Where FAKE_MD5_HOLD names a file, md5sum.exe adds the name it
  /// was given to a line of FAKE_MD5_HOLD.started, then waits until that file exists.
  void installFakeChecksum() const;
  void install(const QString& name, const QByteArray& script) const;
  /// Runs the program installed here, with `environment` ("NAME=value") added to ours.
  ToolResult wadwright(const QStringList& arguments, const QStringList& environment = {}) const {
    return runTool(path() + "/wadwright", arguments, environment);
  }

 private:
  QTemporaryDir dir_{QDir::tempPath() + "/wadwright tools XXXXXX"};
};

/// What the fake checksum tool prints for a file holding it: the checksum and a name.
QByteArray fakeRelease(const char* checksum);
