#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// What the command line asks for.
struct CommandOptions {
  enum class Mode { Window, Identify, Make, ListOffers, Find, Demo, Help, Version };
  Mode mode = Mode::Window;
  bool json = false;
  bool download = false;  ///< --make may fetch the way's missing patch files.
  /// The words that are no options, byte for byte as given: a file name need not be valid text.
  QList<QByteArray> paths;
  /// What is wrong with the command line, for the user; empty when nothing is.
  QString error;
};

/// Reads the command line as a Unix command's is read: options in any order and before or after
/// the file names, `--` before names that begin with a dash.
CommandOptions parseCommandLine(int argc, char** argv);

/// What --help prints.
extern const char* const kUsage;
