#include "patch_fetch.h"

#include <QFileInfo>

#include "platform/command_words.h"
#include "platform/native_names.h"

namespace {

// The collection's path of a patch argument that names a file of it:
// " patches\doom.wad\kex-to-ud.vcdiff" is "doom.wad/kex-to-ud.vcdiff".
QString collectionPath(const QString& patchFile) {
  const QString path = patchFile.trimmed();
  return path.startsWith("patches\\") ? path.mid(8).replace('\\', '/') : QString();
}

// A progress line of the fetch tool: "BYTES TOTAL"; -1 for anything else.
qint64 bytesSoFar(const QByteArray& line) {
  const QList<QByteArray> words = line.split(' ');
  bool read = false;
  const qint64 bytes = words.size() == 2 ? words[0].toLongLong(&read) : -1;
  return read ? bytes : -1;
}

FetchResult failed(const QString& why) { return {FetchResult::Outcome::Failed, why}; }

}  // namespace

QString FetchFile::target() const { return platform::shownPath(patchFile.trimmed()); }

qint64 FetchList::bytes() const {
  qint64 sum = 0;
  for (const FetchFile& file : files) sum += file.pin->size;
  return sum;
}

const CollectionFile* pinnedAmong(const QStringList& patchFiles) {
  for (const QString& file : patchFiles) {
    const CollectionFile* pin = lookUpCollectionFile(collectionPath(file));
    if (pin && pin->pinned()) return pin;
  }
  return nullptr;
}

QString patchArgument(const CollectionFile& file) { return " patches\\" + QString(file.path).replace('/', '\\'); }

FetchList filesToFetch(const Way& way) {
  FetchList list;
  for (const WayStep& step : way.steps) {
    if (step.state == PatchState::Present) continue;
    if (step.state != PatchState::Fetchable) {
      list.completesWay = false;
      continue;
    }
    bool listed = false;
    for (const FetchFile& file : list.files) listed = listed || file.pin == step.pin;
    if (!listed) list.files.push_back({patchArgument(*step.pin), step.pin});
  }
  return list;
}

QString sizeText(qint64 bytes) {
  if (bytes < 1000) return QString("%1 bytes").arg(bytes);
  if (bytes < 1000 * 1000) return QString("%1 KB").arg((bytes + 500) / 1000);
  return QString("%1 MB").arg(double(bytes) / 1e6, 0, 'f', 1);
}

QString fetchListText(const FetchList& list, const QString& shownFolder) {
  QStringList names;
  for (const FetchFile& file : list.files) names << "'" + shownFolder + file.target() + "'";
  if (names.size() == 1) return "the patch file " + names.front() + " (" + sizeText(list.bytes()) + ")";
  const QString last = names.takeLast();
  return "the patch files " + names.join(", ") + " and " + last + " (" + sizeText(list.bytes()) + " in all)";
}

FetchResult fetchFile(const FetchFile& file, const PatchSource& source, const platform::RunWatchedCommand& run,
                      const FetchProgress& progress, const QString& shownFolder) {
  const QString from = " from " + source.shown(), shown = "'" + shownFolder + file.target() + "'";
  const QString address = platform::commandWord(source.address(*file.pin)), target = platform::commandWord(file.target());
  if (address.isEmpty())
    return failed("I cannot hand the address '" + source.shownAddress(*file.pin) + "' to the fetch tool safely.");
  if (target.isEmpty()) return failed("I cannot hand the name " + shown + " to the fetch tool safely.");
  const QString line = QString("fetch.exe %1 %2 %3 %4").arg(address, target).arg(file.pin->size).arg(file.pin->sha256);
  const platform::CommandOutcome outcome = run(line, [&](const QByteArray& said) {
    const qint64 bytes = bytesSoFar(said);
    if (bytes >= 0 && progress) progress(bytes);
  });
  if (outcome.abandoned) return {FetchResult::Outcome::Abandoned, {}};
  if (!outcome.started)
    return failed("I could not start the fetch tool 'fetch.exe', so " + shown + " was not fetched:\n" +
                  platform::toolText(outcome.startError));
  if (!outcome.succeeded())
    return failed("I could not fetch " + shown + from + ".\n" + platform::failureReason(outcome, "the fetch tool"));
  // A tool that says it succeeded is believed only when the file is there.
  if (!QFileInfo(file.target()).isFile())
    return failed("I could not fetch " + shown + from + ".\nThe fetch tool ended without storing it.");
  return {};
}

void lookAgain(Way& way) {
  for (WayStep& step : way.steps) step.look();
}
