#include "path_identification.h"

#include <QDir>
#include <algorithm>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/command_words.h"
#include "platform/folder_lock.h"
#include "platform/held_file.h"
#include "platform/native_names.h"

namespace {

Identification failure(const QString& why) {
  Identification found;
  found.failure = why;
  return found;
}

Identification stopped() {
  Identification found;
  found.outcome = Identification::Outcome::Abandoned;
  return found;
}

// The link bears the file's own name where that can be handed over: what a tool says of it
// ("Permission denied") then names the file, not the link.
QString linkName(const QByteArray& path) {
  const QString name = QFile::decodeName(platform::splitNativePath(path).name);
  const bool plain = platform::isTextPath(path) && !platform::commandWord(name).isEmpty() && name != kChecksumFile;
  return plain ? name : "iwad.wad";
}

}  // namespace

FolderReturn::FolderReturn() : start_(platform::currentNativeFolder()) {}

FolderReturn::~FolderReturn() { platform::enterNativeFolder(start_); }

QString shownFolderOf(const QByteArray& path) {
  const QByteArray folder = path.left(std::max(path.lastIndexOf('/'), path.lastIndexOf(QDir::separator().toLatin1())) + 1);
  return QFile::decodeName(platform::shownNativePath(folder));
}

QByteArray enterFolderOfFile(const QByteArray& path, QString* why) {
  const QString shown = QFile::decodeName(path);
  const platform::NativeSplitPath split = platform::splitNativePath(path);
  if (!platform::nativePathExists(path)) *why = "I cannot find '" + shown + "': there is no such file.";
  else if (platform::isNativeFolder(path) || split.name.isEmpty())
    *why = "'" + shown + "' is a folder, not an IWAD: please name the IWAD file in it.";
  else if (!platform::enterNativeFolder(split.folder)) *why = "I cannot enter the folder of '" + shown + "'.";
  else return split.name;
  return {};
}

Identification identifyPath(const QByteArray& path, const QByteArray& programFolder, bool privately) {
  const QString shown = QFile::decodeName(path);
  auto run = [&](const QString& line) { return platform::runAndWait(line, programFolder); };
  // Declared first, so that it goes last: Windows removes no folder that is the working one.
  PrivateFolder links;
  FolderReturn back;
  QString why;
  const QByteArray name = enterFolderOfFile(path, &why);
  if (name.isEmpty()) return failure(why);
  if (platform::isTextPath(name) && !privately) {
    platform::FolderLock folder(".");
    if (!folder.lock()) return stopped();
    return identifyFile(QFile::decodeName(name), run, shown);
  }
  links = makePrivateFolder();
  const QString link = links ? links->filePath(linkName(path)) : QString();
  if (!links || !platform::linkToNativePath(platform::currentNativeFolder() + "/" + name, link) ||
      !QDir::setCurrent(links->path()))
    return failure("I cannot identify '" + shown + "': I found no private folder of yours to hand it over from.");
  // Goes with the run however it ends, before its folder; a hard link's name goes, not the IWAD.
  const platform::HeldFile held(link);
  return identifyFile(QFileInfo(link).fileName(), run, shown);
}
