#include "way_make.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "identify/identification.h"
#include "platform/held_file.h"
#include "platform/native_names.h"
#include "platform/writable_folder.h"

namespace {

PatchResult refusedBecause(const QString& why) {
  PatchResult result;
  result.outcome = PatchResult::Outcome::Refused;
  result.message = why;
  return result;
}

// Every file made on the way lies in one private folder until the making ends.
qint64 roomOnTheWay(const Way& way) {
  qint64 room = 0;
  for (const WayStep& step : way.steps)
    if (&step != &way.steps.back()) room += step.made.release->size;
  return room;
}

// That the working folder has no room for the way's last file, which is `shownTarget`; empty where
// it has, or where the size of either is not known.
QString noRoomHere(const Way& way, const QString& shownTarget) {
  const qint64 needed = way.last().release->size, free = platform::freeSpaceIn(".");
  if (needed == 0 || free < 0 || free >= needed) return {};
  return "There is no room for '" + shownTarget + "' here: " + way.last().release->releaseName + " takes " +
         QString::number(needed) + " bytes, and this folder has only " + QString::number(free) + " free.";
}

QString noRoomOnTheWay(const Way& way, const QString& shownTarget) {
  QString places = "in the temporary folder " + QDir::toNativeSeparators(QDir::tempPath());
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) places = "in XDG_RUNTIME_DIR (" + qEnvironmentVariable("XDG_RUNTIME_DIR") + ") or " + places;
  return "I cannot make '" + shownTarget + "' in " + QString::number(way.steps.size()) + " steps: what is made on the way takes " +
         QString::number(roomOnTheWay(way)) + " bytes, and I found no private folder of yours with that much room free " + places + ".";
}

}  // namespace

QString whyNotReady(const Way& way, const QString& shownFolder) {
  QStringList missing;
  for (const WayStep& step : way.steps)
    if (step.present.isEmpty()) missing << missingPatchText(step.patchFiles, shownFolder);
  if (!missing.isEmpty()) return missing.join(' ');
  return whyNotCreate(way.last().targetFile, shownFolder + way.last().targetFile);
}

QString whyNotTaken(const Way& way, const QString& shownFolder) {
  const QString why = whyNotReady(way, shownFolder);
  return why.isEmpty() ? whyNoRoom(way, shownFolder) : why;
}

QString whyNoRoom(const Way& way, const QString& shownFolder) {
  const QString shownTarget = shownFolder + way.last().targetFile;
  const QString why = noRoomHere(way, shownTarget);
  if (!why.isEmpty() || way.steps.size() == 1) return why;
  // Found as the making will find it: the folder made to ask goes at once.
  return makePrivateFolder(roomOnTheWay(way)) ? QString() : noRoomOnTheWay(way, shownTarget);
}

QString wayText(const Way& way, const QString& shownFolder) {
  QStringList through, patches;
  for (const WayStep& step : way.steps) {
    if (&step != &way.steps.back()) through << step.made.release->releaseName;
    patches << shownFolder + platform::shownPath(step.present.trimmed());
  }
  return "by way of " + through.join(", then ") + " (" + patches.join(", then ") + ")";
}

PatchResult makeAlongWay(const WayJob& job, const Way& way, const platform::RunCommand& run) {
  const QString shownTarget = job.shownFolder + job.targetFile;
  // Refused before the first step runs, not after the last: a long way is not taken for nothing.
  QString why = whyNotCreate(job.targetFile, shownTarget);
  if (why.isEmpty()) why = noRoomHere(way, shownTarget);
  if (!why.isEmpty()) return refusedBecause(why);
  // Files made on the way live here and go with it, whatever ends the making; it is made where
  // they all fit.
  PrivateFolder onTheWay;
  if (way.steps.size() > 1 && !(onTheWay = makePrivateFolder(roomOnTheWay(way))))
    return refusedBecause(noRoomOnTheWay(way, shownTarget));
  // Each file made on the way goes with the run however it ends, a forced end too: let go before the
  // folder goes, as declared after it.
  std::vector<std::unique_ptr<platform::HeldFile>> held;

  QString source = job.sourceName, sourceChecksum = job.sourceChecksum, shownSource = job.shownFolder + job.sourceName;
  bool identified = job.identifiedUnderLock;
  PatchResult result;
  for (const WayStep& step : way.steps) {
    const bool last = &step == &way.steps.back();
    const QString target = last ? job.targetFile : onTheWay->filePath(step.made.targetFile);
    const QString shown = last ? shownTarget : QString(step.made.targetFile) + " (made on the way)";
    result = createRelease({source, sourceChecksum, target, step.present, *step.made.release, identified, job.shownFolder,
                            shownSource, shown, !last},
                           run);
    if (result.outcome != PatchResult::Outcome::Created) return result;
    if (!last) held.push_back(std::make_unique<platform::HeldFile>(target));
    // Checked a moment ago, in a folder no one else can write to.
    source = target;
    sourceChecksum = step.made.release->checksum;
    shownSource = shown;
    identified = true;
  }
  return result;
}
