#include "make_plan.h"

#include <QDir>
#include <QStringList>

#include "identify/identification.h"
#include "patch_action.h"
#include "platform/writable_folder.h"

namespace {

MakePlan held(MakePlan plan, Hold hold, const QString& why) {
  plan.hold = hold;
  plan.why = why;
  return plan;
}

// What is missing or unreadable, step by step, named after the folder the user typed.
QString missingFiles(const MakePlan& plan) {
  QStringList missing;
  for (const WayStep& step : plan.way.steps)
    if (step.state != PatchState::Present) missing << missingPatchText(step.patchFiles, plan.request.shownFolder);
  return missing.join(' ');
}

// That there is no room for the way, found before anything runs: the working folder has none for
// its last file, or no private folder of the user's has room for every file made on the way
// (XDG_RUNTIME_DIR is often a small tmpfs; the temporary folder is tried after it). Empty where
// there is room, or where a file system does not say how much it has.
QString noRoom(const MakePlan& plan) {
  const QString why = noRoomHere(plan.way, plan.shownTarget());
  if (!why.isEmpty() || plan.way.steps.size() == 1 || plan.request.onTheWay == OnTheWay::BesideIt) return why;
  // Found as the making will find it: the folder made to ask goes at once.
  return makePrivateFolder(roomOnTheWay(plan.way)) ? QString() : noRoomOnTheWay(plan.way, plan.shownTarget());
}

// The first thing that stands in the way, in the one order every face shows.
MakePlan decided(const PlanRequest& request, Way way) {
  MakePlan plan{request, std::move(way), {}, Hold::None, {}};
  plan.toFetch = filesToFetch(plan.way);
  QString why = whyNotCreate(request.targetFile, plan.shownTarget());
  if (!why.isEmpty()) return held(plan, anythingUnder(request.targetFile) ? Hold::TargetThere : Hold::ReadOnly, why);
  // Each button leaves its file beside the selected one, where the next button reads it.
  if (request.onTheWay == OnTheWay::BesideIt)
    for (std::size_t step = 0; step + 1 < plan.way.steps.size(); ++step) {
      const QString made = plan.way.steps[step].made.targetFile;
      why = whyNotCreate(made, request.shownFolder + made);
      if (!why.isEmpty()) return held(plan, Hold::MadeThere, why);
    }
  if (!plan.toFetch.completesWay) return held(plan, Hold::PatchFiles, missingFiles(plan));
  // Nothing goes over the network for a file that could not be made here anyway.
  why = noRoom(plan);
  if (!why.isEmpty()) return held(plan, Hold::NoRoom, why);
  if (plan.toFetch.files.empty()) return plan;
  if (!request.source.problem.isEmpty()) return held(plan, Hold::SourceBroken, request.source.problem);
  return held(plan, Hold::Fetch, missingFiles(plan));
}

// Where nothing leads to the target: what the release does make, if anything.
MakePlan noWay(const PlanRequest& request, const std::vector<Way>& ways) {
  const QString is = "'" + request.shownSource + "' is " + request.from->releaseName;
  if (ways.empty()) return held(MakePlan{request, {}, {}, Hold::None, {}}, Hold::NoWay, is + ": no patch makes another release from it.");
  QStringList offered;
  for (const Way& way : ways) offered << way.last().targetFile;
  return held(MakePlan{request, {}, {}, Hold::None, {}}, Hold::NoWay, is + ", which makes " + offered.join(", ") + "; " + request.targetFile + " is not made from it.");
}

}  // namespace

MakePlan planMaking(const PlanRequest& request) {
  Way way = wayTo(*request.from, request.targetFile);
  return way.empty() ? noWay(request, waysFrom(*request.from)) : decided(request, std::move(way));
}

MakePlan planStep(PlanRequest request, const MadeFile& made) {
  request.targetFile = made.targetFile;
  WayStep step{request.from, made, patchFilesFor(*request.from, *made.release, made.patchFile)};
  step.look();
  return decided(request, Way{{step}});
}

std::vector<MakePlan> plansFrom(const PlanRequest& request) {
  std::vector<MakePlan> plans;
  for (Way& way : waysFrom(*request.from)) {
    PlanRequest each = request;
    each.targetFile = way.last().targetFile;
    plans.push_back(decided(each, std::move(way)));
  }
  return plans;
}

MakePlan planAgain(const MakePlan& plan) {
  if (plan.way.empty()) return plan;
  Way way = plan.way;
  lookAgain(way);
  return decided(plan.request, std::move(way));
}

qint64 roomOnTheWay(const Way& way) {
  qint64 room = 0;
  for (const WayStep& step : way.steps)
    if (&step != &way.steps.back()) room += step.made.release->size;
  return room;
}

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
