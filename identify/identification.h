#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "catalogue.h"
#include "dead_runs.h"
#include "platform/process.h"

/// What identifying one file found out.
struct Identification {
  enum class Outcome {
    Known,      ///< `row` is its release: a catalogue row, or a known release with no offer.
    Unknown,    ///< A checksum was read, and no release has it.
    Failed,     ///< No checksum could be found out; `failure` says why, for the user.
    Abandoned,  ///< Its tool was ended before it finished (superseded, or the program is closing).
  };
  Outcome outcome = Outcome::Failed;
  QString hashCommand;  ///< The checksum command line without the interpreter, once composed.
  QString fileHash;     ///< The 32 characters read from the tool's output.
  /// The 40 characters sha1sum.exe wrote, where the MD5 is in no row; else empty.
  QString sha1Hash;
  const CatalogueRow* row = nullptr;
  /// Unknown, but with the SHA-1 of this row, whose MD5 it does not have.
  const CatalogueRow* halfMatch = nullptr;
  QString failure;
  bool missing = false;  ///< It failed because nothing is under the name any more.
};

/// What is said of an unknown file beyond its checksum, for the column after it: that it has the
/// SHA-1 of a release but not its MD5. Empty where there is nothing more to say.
QString unknownExplanation(const Identification& found);

/// The file the interpreter sends the checksum tool's output to, in the working folder.
inline constexpr const char* kChecksumFile = "md5tmp.txt";

/// A new folder of the user's own, which no one else can write to, with room for a checksum line
/// and `room` bytes more: in XDG_RUNTIME_DIR, else (that is too full, read-only or missing) in the
/// temporary folder. Not made (null) where neither has room.
PrivateFolder makePrivateFolder(qint64 room = 0);

/// Why the file `name` cannot be handed to the tools by its name (it holds a double quote, a
/// backslash or a control character), naming it `shownName`; empty when it can.
QString whyNotHandedOver(const QString& name, const QString& shownName);

/// Identifies the file `name` of the working folder: runs "command.com /c md5sum.exe NAME >
/// md5tmp.txt" through `run`, reads the first 32 characters the tool wrote, removes the output
/// file and looks the checksum up. A checksum that no row has is followed by the same with
/// sha1sum.exe and 40 characters, looked up among the SHA-1s the public patch collection gives. Where the working folder is read-only, or already holds a
/// md5tmp.txt (never read, never removed), the output goes to a private folder of the user's.
/// What is said of the file names it as `shownName`, where given.
Identification identifyFile(const QString& name, const platform::RunCommand& run, const QString& shownName = {});
