#include "identification.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>
#include <optional>

#include "dead_runs.h"
#include "known_releases.h"
#include "platform/command_words.h"
#include "platform/native_files.h"
#include "platform/output_file.h"
#include "platform/writable_folder.h"

namespace {

constexpr qint64 kChecksumLength = 32, kSha1Length = 40;

Identification failed(Identification result, const QString& why, bool missing = false) {
  result.outcome = Identification::Outcome::Failed;
  result.failure = why;
  result.missing = missing;
  return result;
}

// Anything under the name counts, a dangling link included.
bool isPresent(const QString& name) {
  QFileInfo entry(name);
  return entry.exists() || entry.isSymLink();
}

// True when a checksum line fits into the new file `path`, which is then left for the tool to
// write over. A full disk takes the name but not the line.
bool checksumFits(const QString& path) {
  QFile probe(path);
  if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
  const bool written = probe.write(QByteArray(512, ' ')) == 512 && probe.flush();  // more than any line
  probe.close();
  if (!written) probe.remove();
  return written;
}

// Where the checksum goes: the working folder's md5tmp.txt, or a private folder of the user's that
// lives as long as this, where the folder cannot be written (IWADs installed for all users, a full
// disk) or already holds a file of that name, which is not ours to overwrite or remove. The file
// is made before the tool runs, with room for any line, and goes with this.
class ChecksumOutput {
 public:
  ChecksumOutput() {
    if (platform::canCreateFilesIn(".") && !isPresent(kChecksumFile) && make(kChecksumFile)) return;
    private_ = makePrivateFolder();
    if (private_) make(private_->filePath(kChecksumFile));
  }
  bool ready() const { return file_ != nullptr; }
  // As the checksum command names it.
  QString word() const { return private_ ? platform::commandWord(private_->filePath(kChecksumFile)) : kChecksumFile; }
  // The tool's line, where it ran to its end: whatever lies there otherwise was not written by it.
  QByteArray checksum(const platform::CommandOutcome& outcome, qint64 length) const {
    return outcome.succeeded() ? file_->read(length) : QByteArray();
  }
  void remove() { file_.reset(); }

 private:
  bool make(const QString& path) {
    file_ = std::make_unique<platform::OutputFile>(path, 512);  // more than any line
    if (!file_->made()) file_.reset();
    return file_ != nullptr;
  }
  PrivateFolder private_;
  std::unique_ptr<platform::OutputFile> file_;  // goes before its folder
};

}  // namespace

PrivateFolder makePrivateFolder(qint64 room) {
  // The session's own folder first; a full or unusable one falls back, as md5tmp.txt does. So
  // does one whose path cannot be handed to the tools (a quote or a backslash in it).
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  for (const QString& base : {runtime, QDir::tempPath()}) {
    if (base.isEmpty()) continue;
    PrivateFolder folder(new QTemporaryDir(privateFolderTemplate(base)));
    if (!folder->isValid() || platform::commandWord(folder->path()).isEmpty()) continue;
    const QString probe = folder->filePath(kChecksumFile);
    const bool fits = checksumFits(probe);
    QFile::remove(probe);
    const qint64 free = room > 0 ? platform::freeSpaceIn(QFile::encodeName(folder->path())) : -1;
    if (fits && (free < 0 || free >= room)) return folder;
  }
  return nullptr;
}

QString unknownExplanation(const Identification& found) {
  if (found.halfMatch) return halfMatchText(*found.halfMatch);
  return {};
}

QString whyNotHandedOver(const QString& name, const QString& shownName) {
  if (!platform::commandWord(name).isEmpty()) return {};
  return "The name '" + shownName + "' cannot be handed to the checksum tool safely. Please rename the file: a name must be "
         "valid text without double quotes, backslashes or control characters.";
}

Identification identifyFile(const QString& name, const platform::RunCommand& run, const QString& shownName) {
  Identification result;
  const QString& shown = shownName.isEmpty() ? name : shownName;
  QString word = platform::commandWord(name);
  if (word.isEmpty()) return failed(result, whyNotHandedOver(name, shown));
  QFileInfo file(name);
  // Qt sees no device on Windows (NUL, COM1, nul.wad): the system is asked.
  const bool device = platform::nativeFileInfo(QFile::encodeName(name)).kind == platform::NativeFileInfo::Kind::Other;
  if (!file.exists() && !device)
    return failed(result, "I cannot find '" + shown +
                              "' in this folder any more: it may have been renamed, moved or deleted.", true);
  if (!file.isFile() || device)
    return failed(result, "'" + shown + "' is not an ordinary file (it is a folder, a device or a pipe), so it cannot be an IWAD.");

  ChecksumOutput output;
  if (!output.ready() || output.word().isEmpty())
    return failed(result, "I cannot identify '" + shown + "': this folder is read-only, and I found no private folder "
                              "of yours for the checksum.");
  // One digest tool's run: its checksum, or what went wrong, said as `result` would say it.
  const auto digest = [&](const char* tool, qint64 length, QByteArray* checksum) -> std::optional<Identification> {
    const QString command = QString(tool) + " " + word + " > " + output.word();
    if (result.hashCommand.isEmpty()) result.hashCommand = command;
    platform::CommandOutcome outcome = run("command.com /c " + command);
    *checksum = output.checksum(outcome, length);
    if (outcome.abandoned) {
      Identification abandoned = result;
      abandoned.outcome = Identification::Outcome::Abandoned;
      return abandoned;
    }
    if (!outcome.started)
      return failed(result, "I could not start the command interpreter 'command.com', so I cannot identify '" + shown +
                                "':\n" + platform::toolText(outcome.startError));
    if (checksum->size() < length) {
      QString why = outcome.succeeded() ? "The checksum tool gave no checksum."
                                        : platform::failureReason(outcome, "the checksum tool");
      return failed(result, "I could not find out the checksum of '" + shown + "'.\n" + why);
    }
    return std::nullopt;
  };
  QByteArray checksum;
  if (auto ended = digest("md5sum.exe", kChecksumLength, &checksum)) return *ended;
  result.fileHash = QString::fromLatin1(checksum);  // every character counts, nothing converted
  // The catalogue first: a release that can be patched is named as such.
  result.row = lookUpChecksum(result.fileHash);
  if (!result.row) result.row = lookUpKnownRelease(result.fileHash);
  if (!result.row) {
    // Most of the collection's releases are known by its SHA-1 alone.
    if (auto ended = digest("sha1sum.exe", kSha1Length, &checksum)) return *ended;
    output.remove();
    result.sha1Hash = QString::fromLatin1(checksum);
    const CatalogueRow* bySha1 = lookUpSha1(result.sha1Hash);
    // A row that also has an MD5 is named only on both: the file has the other one.
    if (bySha1 && bySha1->checksum) result.halfMatch = bySha1;
    else result.row = bySha1;
  }
  result.outcome = result.row ? Identification::Outcome::Known : Identification::Outcome::Unknown;
  return result;
}
