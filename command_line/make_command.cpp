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

// Why nothing can be made from the source; empty when something can.
QString nothingToMake(const Source& source) {
  switch (source.found.outcome) {
    case Identification::Outcome::Failed: return source.found.failure;
    case Identification::Outcome::Abandoned: return "I was stopped before I could identify '" + source.shown + "'.";
    case Identification::Outcome::Unknown:
      if (source.found.halfMatch) return "'" + source.shown + "': " + halfMatchText(*source.found.halfMatch);
      return "'" + source.shown + "' is an unknown version or not a valid IWAD (MD5 " + source.found.fileHash +
             "): I cannot patch it.";
    case Identification::Outcome::Known: break;
  }
  if (waysFrom(*source.found.row).empty())
    return "'" + source.shown + "' is " + source.found.row->releaseName + ": no patch makes another release from it.";
  return {};
}

// True when nothing made from the source is a refusal (exit 1), not a failure: it was identified, or
// its name alone is refused, before anything ran.
bool refusal(const Source& source) {
  return source.nameRefused || source.found.outcome == Identification::Outcome::Known ||
         source.found.outcome == Identification::Outcome::Unknown;
}

// A file beside the source, named as the source was given: `games/doom.wad` makes `games/udoom.wad`.
QString beside(const Source& source, const QString& name) { return source.folder + name; }

QString shownPatch(const Source& source, const QString& patchFile) { return beside(source, platform::shownPath(patchFile.trimmed())); }

// The patch file a step uses, or the one there that cannot be read, or, when none is there, every
// name it was looked for under.
QString stepPatch(const Source& source, const WayStep& step) {
  if (!step.present.isEmpty()) return shownPatch(source, step.present);
  if (!firstUnreadable(step.patchFiles).isEmpty()) return shownPatch(source, firstUnreadable(step.patchFiles));
  QStringList looked;
  for (const QString& file : step.patchFiles) looked << shownPatch(source, file);
  return looked.join(" or ");
}

// Whether a step's patch file is there: "present", there but "unreadable", or "missing", and
// whether --download can fetch it.
QString stepState(const WayStep& step) {
  if (!step.present.isEmpty()) return "present";
  if (!firstUnreadable(step.patchFiles).isEmpty()) return "unreadable";
  const CollectionFile* pin = pinnedAmong(step.patchFiles);
  return pin ? "missing, can be fetched (" + sizeText(pin->size) + ")" : "missing";
}

// For JSON: the patch file a step uses, or the first name it was looked for under.
QString stepPatchFile(const Source& source, const WayStep& step) {
  return shownPatch(source, step.present.isEmpty() ? step.patchFiles.first() : step.present);
}

QJsonArray wayObject(const Source& source, const Way& way) {
  QJsonArray steps;
  for (const WayStep& step : way.steps) {
    QJsonArray looked;
    for (const QString& file : step.patchFiles) looked.append(shownPatch(source, file));
    const CollectionFile* pin = step.present.isEmpty() ? pinnedAmong(step.patchFiles) : nullptr;
    const QJsonValue fetch = pin ? QJsonObject{{"patch", shownPatch(source, patchArgument(*pin))}, {"bytes", pin->size}} : QJsonValue();
    steps.append(QJsonObject{{"release", step.made.release->releaseName},
                             {"patch", step.present.isEmpty() ? QJsonValue::Null : QJsonValue(shownPatch(source, step.present))},
                             {"present", !step.present.isEmpty()}, {"looked", looked}, {"fetch", fetch}});
  }
  return steps;
}

// One line, or one object, per result.
struct Report {
  CommandOutput output;
  QByteArray file;  // as given, byte for byte
  QString target, release, patch;
  QJsonArray way{}, fetched{};

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
  QString why = nothingToMake(source);
  if (!why.isEmpty()) return report.say(refusal(source) ? "refused" : "failed", why, refusal(source) ? 1 : 2);

  const CatalogueRow& row = *source.found.row;
  Way way = wayTo(row, report.target);
  if (way.empty()) {
    QStringList offered;
    for (const Way& each : waysFrom(row)) offered << each.last().targetFile;
    return report.say("refused", "'" + source.shown + "' is " + row.releaseName + ", which makes " + offered.join(", ") +
                                     "; " + report.target + " is not made from it.", 1);
  }
  report.release = way.last().release->releaseName;
  report.patch = stepPatchFile(source, way.steps.back());
  report.way = wayObject(source, way);
  const FetchList missing = filesToFetch(way);
  if (download && !missing.files.empty() && missing.completesWay) {
    // Nothing goes over the network for a file that could not be made here anyway.
    why = from.problem.isEmpty() ? whyNotCreate(report.target, beside(source, report.target)) : from.problem;
    if (!why.isEmpty()) return report.say("refused", why, 1);
    const FetchResult fetched = downloadForCommandLine(missing, from, source.folder, programFolder, [&](const QString& what) {
      // JSON's array holds results alone: there the line goes where the progress goes.
      if (json) std::fprintf(stderr, "wadwright: fetching %s\n", qPrintable(what));
      else report.output.add(file, {report.target, "fetching", what}, {});
    });
    // What the fetch tool stored, not whatever took a name meanwhile.
    for (int i = 0; i < fetched.stored; ++i) report.fetched.append(beside(source, missing.files[size_t(i)].target()));
    if (fetched.outcome == FetchResult::Outcome::Failed) return report.say("failed", fetched.message, 2);
    if (fetched.outcome == FetchResult::Outcome::Abandoned)
      return report.say("failed", "I was stopped while fetching: " + beside(source, report.target) + " was not made, and nothing of it is left.", 2);
    lookAgain(way);
    report.patch = stepPatchFile(source, way.steps.back());
    report.way = wayObject(source, way);
  }
  why = whyNotTaken(way, source.folder);
  const QString offer = way.complete() ? QString() : downloadOffer(missing, from, source.folder);
  if (!why.isEmpty()) return report.say("refused", offer.isEmpty() ? why : why + " " + offer, 1);

  PatchResult result = makeAlongWay({source.name, source.found.fileHash, report.target, true, source.folder}, way,
                                    [&](const QString& line) { return platform::runAndWait(line, programFolder); });
  const QString taken = way.steps.size() > 1 ? ", " + wayText(way, source.folder) : QString();
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
  Source source = identifySource(file, programFolder);
  QString why = nothingToMake(source);
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
  bool anyComplete = false;
  for (const Way& way : waysFrom(*source.found.row)) {
    // A way whose files are all there may still find no room for what it makes.
    const QString noRoom = way.complete() ? whyNoRoom(way, source.folder) : QString();
    anyComplete = anyComplete || (way.complete() && noRoom.isEmpty());
    // The target and its release, then each patch file of the way and whether it is there.
    QStringList fields{way.last().targetFile, way.last().release->releaseName};
    for (const WayStep& step : way.steps) fields << stepPatch(source, step) << stepState(step);
    if (!noRoom.isEmpty()) fields << noRoom;
    output.add(file, fields,
               {{"file", source.shown}, {"target", way.last().targetFile}, {"release", way.last().release->releaseName},
                {"patch", stepPatchFile(source, way.steps.back())}, {"present", way.complete()}, {"way", wayObject(source, way)},
                {"error", noRoom.isEmpty() ? QJsonValue::Null : QJsonValue(noRoom)}});
  }
  if (!output.finish()) return 2;
  return anyComplete ? 0 : 1;
}
