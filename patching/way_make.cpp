#include "way_make.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "identify/identification.h"
#include "platform/held_file.h"
#include "platform/native_names.h"

namespace {

PatchResult refusedBecause(const QString& why) {
  PatchResult result;
  result.outcome = PatchResult::Outcome::Refused;
  result.message = why;
  return result;
}

}  // namespace

QString wayText(const Way& way, const QString& shownFolder) {
  QStringList through, patches;
  for (const WayStep& step : way.steps) {
    if (&step != &way.steps.back()) through << step.made.release->releaseName;
    patches << shownFolder + platform::shownPath(step.present.trimmed());
  }
  return "by way of " + through.join(", then ") + " (" + patches.join(", then ") + ")";
}

PatchResult makeAlongPlan(const MakePlan& plan, const PlannedSource& job, const platform::RunCommand& run) {
  if (!plan.ready()) return refusedBecause(plan.why);
  const Way& way = plan.way;
  const QString targetFile = plan.request.targetFile, shownFolder = plan.request.shownFolder, shownTarget = plan.shownTarget();
  // Refused before the first step runs, not after the last: a long way is not taken for nothing.
  // Looked at again as it starts: the plan may have been shown a while ago.
  QString why = whyNotCreate(targetFile, shownTarget);
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

  QString source = job.name, sourceChecksum = job.checksum, shownSource = shownFolder + job.name;
  bool identified = job.identifiedUnderLock;
  PatchResult result;
  for (const WayStep& step : way.steps) {
    const bool last = &step == &way.steps.back();
    const QString target = last ? targetFile : onTheWay->filePath(step.made.targetFile);
    const QString shown = last ? shownTarget : QString(step.made.targetFile) + " (made on the way)";
    result = createRelease({source, sourceChecksum, target, step.present, *step.made.release, identified, shownFolder,
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
