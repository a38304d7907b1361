#include "make_command.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QStringList>
#include <cstdio>
#include <memory>

#include "command_output.h"
#include "identify/identification.h"
#include "patching/way_make.h"
#include "patch_download.h"
#include "path_identification.h"
#include "plan_fields.h"
#include "platform/folder_lock.h"
#include "platform/native_names.h"
#include "platform/writable_folder.h"

namespace {

// The file given, identified in its folder, which is the working folder from then on. The lock
// on the folder is held from the identification to the check of the new file.
struct Source {
  QString shown;   // as given
  QString folder;  // as given, up to its last slash: "games/", or empty
  QString name;    // in its folder
  std::unique_ptr<platform::FolderLock> lock;
  Identification found;
  bool nameRefused = false;  // its name cannot be handed to the tools: `found` was never looked for
};

Source identifySource(const QByteArray& path, const QByteArray& programFolder) {
  Source source{QFile::decodeName(path), shownFolderOf(path), {}, {}, {}};
  const QByteArray name = enterFolderOfFile(path, &source.found.failure);
  if (!name.isEmpty()) source.found.failure = whyNameRefused(path);
  source.nameRefused = !name.isEmpty() && !source.found.failure.isEmpty();
  if (!source.found.failure.isEmpty()) return source;
  source.name = QFile::decodeName(name);
  source.lock = std::make_unique<platform::FolderLock>(".");
  if (!source.lock->lock()) {  // asked to end while another Wadwright held the folder
    source.found.outcome = Identification::Outcome::Abandoned;
    return source;
  }
  source.found = identifyFile(source.name, [&](const QString& line) { return platform::runAndWait(line, programFolder); },
                              source.shown);
  return source;
}

// Why nothing can be made from the source, before any plan: empty when it was identified.
QString notIdentified(const Source& source) {
  // What an unknown file is, where its structure says, as --identify and the window say it.
  const QString more = source.found.outcome == Identification::Outcome::Unknown ? unknownExplanation(source.found) : QString();
  switch (source.found.outcome) {
    case Identification::Outcome::Failed: return source.found.failure;
    case Identification::Outcome::Abandoned: return "I was stopped before I could identify '" + source.shown + "'.";
    case Identification::Outcome::Unknown:
      if (source.found.halfMatch) return "'" + source.shown + "': " + halfMatchText(*source.found.halfMatch);
      return "'" + source.shown + "' is an unknown version or not a valid IWAD (MD5 " + source.found.fileHash +
             "): I cannot patch it." + (more.isEmpty() ? QString() : " " + more);
    case Identification::Outcome::Known: break;
  }
  return {};
}

// What a plan for the source is asked: made in its folder, named as it was given.
PlanRequest requestFor(const Source& source, const QString& target, const PatchSource& from) {
  return {source.found.row, target, source.folder, source.shown, from};
}

// True when nothing made from the source is a refusal (exit 1), not a failure: it was identified, or
// its name alone is refused, before anything ran.
bool refusal(const Source& source) {
  return source.nameRefused || source.found.outcome == Identification::Outcome::Known ||
         source.found.outcome == Identification::Outcome::Unknown;
}

// A file beside the source, named as the source was given: `games/doom.wad` makes `games/udoom.wad`.
QString beside(const Source& source, const QString& name) { return source.folder + name; }

// One line, or one object, per result.
struct Report {
  CommandOutput output;
  QByteArray file;  // as given, byte for byte
  QString target, release, patch;
  QJsonArray way{}, fetched{};

  void show(const Source& source, const MakePlan& plan) {
    release = plan.release()->releaseName;
    patch = stepPatchFile(plan.way.steps.back(), source.folder);
    way = wayObject(plan.way, source.folder);
  }

  int say(const QString& result, const QString& message, int status) {
    output.add(file, {target, result, oneLine(message, file)},
               {{"file", QFile::decodeName(file)}, {"target", target}, {"release", release.isEmpty() ? QJsonValue::Null : QJsonValue(release)},
                {"patch", patch.isEmpty() ? QJsonValue::Null : QJsonValue(patch)}, {"way", way}, {"fetched", fetched}, {"result", result},
                {"message", message}});
    return output.finish() ? status : 2;
  }
};

}  // namespace

QString whyNameRefused(const QByteArray& path) {
  const QByteArray name = platform::splitNativePath(path).name;
  const QString shown = QFile::decodeName(path);
  if (name.isEmpty()) return {};  // no file named: said where the file is looked for
  if (!platform::isTextPath(name))
    return "The name '" + shown + "' is not valid text, so I cannot hand it to the patch tool. Please rename the file.";
  return whyNotHandedOver(QFile::decodeName(name), shown);
}

int makeFromCommandLine(const QByteArray& target, const QByteArray& file, bool json, bool download, const QByteArray& programFolder) {
  Report report{CommandOutput(json), file, QFile::decodeName(target), {}, {}};
  const PatchSource from = patchSource(QProcessEnvironment::systemEnvironment());  // a folder named from where we started
  Source source = identifySource(file, programFolder);
  const QString why = notIdentified(source);
  if (!why.isEmpty()) return report.say(refusal(source) ? "refused" : "failed", why, refusal(source) ? 1 : 2);

  MakePlan plan = planMaking(requestFor(source, report.target, from));
  if (plan.hold == Hold::NoWay) return report.say("refused", plan.why, 1);
  report.show(source, plan);
  if (download && plan.hold == Hold::Fetch) {
    const FetchResult fetched = downloadForCommandLine(plan.toFetch, plan.request.source, source.folder, programFolder, [&](const QString& what) {
      // JSON's array holds results alone: there the line goes where the progress goes.
      if (json) std::fprintf(stderr, "wadwright: fetching %s\n", qPrintable(what));
      else report.output.add(file, {report.target, "fetching", what}, {});
    });
    // What the fetch tool stored, not whatever took a name meanwhile.
    for (int i = 0; i < fetched.stored; ++i) report.fetched.append(beside(source, plan.toFetch.files[size_t(i)].target()));
    if (fetched.outcome == FetchResult::Outcome::Failed) return report.say("failed", fetched.message, 2);
    if (fetched.outcome == FetchResult::Outcome::Abandoned)
      return report.say("failed", "I was stopped while fetching: " + beside(source, report.target) + " was not made, and nothing of it is left.", 2);
    plan = planAgain(plan);
    report.show(source, plan);
  }
  if (plan.hold == Hold::Fetch)
    return report.say("refused", plan.why + " " + downloadOffer(plan.toFetch, plan.request.source, source.folder), 1);
  if (!plan.ready()) return report.say("refused", plan.why, 1);

  PatchResult result = makeAlongPlan(plan, {source.name, source.found.fileHash, true},
                                     [&](const QString& line) { return platform::runAndWait(line, programFolder); });
  const QString taken = plan.way.steps.size() > 1 ? ", " + wayText(plan.way, source.folder) : QString();
  switch (result.outcome) {
    case PatchResult::Outcome::Created:
      return report.say("made", beside(source, report.target) + " is " + report.release + ": made and checked" + taken + ".", 0);
    case PatchResult::Outcome::Refused: return report.say("refused", result.message, 1);
    case PatchResult::Outcome::Unchecked: return report.say("unchecked", result.message, 2);
    case PatchResult::Outcome::NotCreated: return report.say("failed", result.message, 2);
    case PatchResult::Outcome::Abandoned: break;
  }
  return report.say("failed", "I was stopped: " + beside(source, report.target) + " was not made, and nothing of it is left.", 2);
}

int listOffersFromCommandLine(const QByteArray& file, bool json, const QByteArray& programFolder) {
  CommandOutput output(json);
  const PatchSource from = patchSource(QProcessEnvironment::systemEnvironment());
  Source source = identifySource(file, programFolder);
  QString why = notIdentified(source);
  const std::vector<MakePlan> plans = why.isEmpty() ? plansFrom(requestFor(source, {}, from)) : std::vector<MakePlan>();
  if (why.isEmpty() && plans.empty()) why = planMaking(requestFor(source, {}, from)).why;  // what the release makes: nothing
  // Only what --make would make counts: in a read-only folder, nothing.
  if (why.isEmpty() && !platform::canCreateFilesIn("."))
    why = "I cannot make anything from '" + source.shown + "' here: this folder is read-only. Copy the IWAD into a folder "
          "of your own and make it there.";
  if (!why.isEmpty()) {
    output.add(file, {"nothing", oneLine(why, file)},
               {{"file", source.shown}, {"target", QJsonValue::Null}, {"release", QJsonValue::Null},
                {"patch", QJsonValue::Null}, {"present", QJsonValue::Null}, {"way", QJsonArray()}, {"error", why}});
    return output.finish() && refusal(source) ? 1 : 2;
  }
  bool anyReady = false;
  for (const MakePlan& plan : plans) {
    anyReady = anyReady || plan.ready();
    // The target and its release, then each patch file of the way and whether it is there, then
    // what else stands in its way.
    QStringList fields{plan.request.targetFile, plan.release()->releaseName};
    for (const WayStep& step : plan.way.steps) fields << stepPatch(step, source.folder) << stepState(step);
    const QString hold = holdBeyondFiles(plan);
    if (!hold.isEmpty()) fields << hold;
    output.add(file, fields,
               {{"file", source.shown}, {"target", plan.request.targetFile}, {"release", plan.release()->releaseName},
                {"patch", stepPatchFile(plan.way.steps.back(), source.folder)}, {"present", plan.way.complete()},
                {"way", wayObject(plan.way, source.folder)}, {"error", hold.isEmpty() ? QJsonValue::Null : QJsonValue(hold)}});
  }
  if (!output.finish()) return 2;
  return anyReady ? 0 : 1;
}
