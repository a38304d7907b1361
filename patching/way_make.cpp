#include "way_make.h"

#include <QStringList>
#include <QTemporaryDir>

#include "identify/identification.h"
#include "platform/native_names.h"

namespace {

PatchResult refusedBecause(const QString& why) {
  PatchResult result;
  result.outcome = PatchResult::Outcome::Refused;
  result.message = why;
  return result;
}

}  // namespace

QString whyNotTaken(const Way& way, const QString& shownFolder) {
  QStringList missing;
  for (const WayStep& step : way.steps)
    if (step.present.isEmpty()) missing << missingPatchText(step.patchFiles, shownFolder);
  if (!missing.isEmpty()) return missing.join(' ');
  return whyNotCreate(way.last().targetFile, shownFolder + way.last().targetFile);
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
  const QString why = whyNotCreate(job.targetFile, shownTarget);
  if (!why.isEmpty()) return refusedBecause(why);
  // Files made on the way live here and go with it, whatever ends the making.
  const std::unique_ptr<QTemporaryDir> onTheWay = makePrivateFolder();
  if (way.steps.size() > 1 && !onTheWay)
    return refusedBecause("I cannot make '" + shownTarget + "' in " + QString::number(way.steps.size()) +
                          " steps: I found no private folder of yours for the files made on the way.");

  QString source = job.sourceName, sourceChecksum = job.sourceChecksum, shownSource = job.shownFolder + job.sourceName;
  bool identified = job.identifiedUnderLock;
  PatchResult result;
  for (const WayStep& step : way.steps) {
    const bool last = &step == &way.steps.back();
    const QString target = last ? job.targetFile : onTheWay->filePath(step.made.targetFile);
    const QString shown = last ? shownTarget : QString(step.made.targetFile) + " (made on the way)";
    result = createRelease({source, sourceChecksum, target, step.present, *step.made.release, identified, job.shownFolder,
                            shownSource, shown},
                           run);
    if (result.outcome != PatchResult::Outcome::Created) return result;
    // Checked a moment ago, in a folder no one else can write to.
    source = target;
    sourceChecksum = step.made.release->checksum;
    shownSource = shown;
    identified = true;
  }
  return result;
}
