#include "patch_action.h"

#include <QFile>
#include <QFileInfo>

#include "identify/identification.h"
#include "platform/command_words.h"
#include "platform/native_names.h"
#include "platform/writable_folder.h"

namespace {

PatchResult ended(PatchResult result, PatchResult::Outcome outcome, const QString& message) {
  result.outcome = outcome;
  result.message = message;
  return result;
}

PatchResult notCreated(PatchResult result, const QString& why) {
  return ended(result, PatchResult::Outcome::NotCreated, why);
}

PatchResult refused(PatchResult result, const QString& why) { return ended(result, PatchResult::Outcome::Refused, why); }

QString alreadyThereText(const QString& target) {
  return "Can't continue. The file that I was going to create -'" + target + "'- already exists!";
}

PatchResult alreadyThere(PatchResult result, const QString& target) { return refused(result, alreadyThereText(target)); }

QString shownSource(const PatchJob& job) { return job.shownSource.isEmpty() ? job.shownFolder + job.sourceName : job.shownSource; }
QString shownTarget(const PatchJob& job) { return job.shownTarget.isEmpty() ? job.shownFolder + job.targetFile : job.shownTarget; }

// A bsdiff patch carries no checksum of its own: what it made is believed only when it is
// identified as the release it should be. The new file was made a moment ago by this action from
// a file that is only read, so removing a wrong one loses nothing of the user's.
PatchResult checkMadeFile(PatchResult result, const PatchJob& job, const platform::RunCommand& run) {
  const QString target = shownTarget(job);
  // The PWADs the collection makes have no published checksum: only the patch's own window
  // checksums, which the patch tool checks, vouch for them.
  if (!job.release.checksum && !job.release.sha1)
    return ended(result, PatchResult::Outcome::Unchecked,
                 target + " was created. No checksum of " + job.release.releaseName +
                     " is published, so nothing but the patch file's own checks vouches for it. I have kept it.");
  Identification made = identifyFile(job.targetFile, run, target);
  if (made.outcome == Identification::Outcome::Abandoned) {
    QFile::remove(job.targetFile);  // the program is ending: a file nobody checked is not left behind
    return ended(result, PatchResult::Outcome::Abandoned, {});
  }
  if (made.outcome == Identification::Outcome::Failed && job.madeOnTheWay) {
    QFile::remove(job.targetFile);  // the next step would read a file nobody checked
    return notCreated(result, "I could not check that " + target + " is " + job.release.releaseName +
                                  ", so I went no further. I removed it: nothing is left.\n" + made.failure);
  }
  if (made.outcome == Identification::Outcome::Failed)
    return ended(result, PatchResult::Outcome::Unchecked,
                 target + " was created, but I could not check that it is " + job.release.releaseName +
                     ". I have kept it.\n" + made.failure);
  // By the MD5 where the release has one, else by the SHA-1 the collection gives.
  if (matchesRow(job.release, made.fileHash, made.sha1Hash))
    return ended(result, PatchResult::Outcome::Created, target + " was sucessully created!");
  QString wrong = "'" + target + "' should have been " + job.release.releaseName + ", but it is not: the patch file '" +
                  job.shownFolder + platform::shownPath(job.patchFile.trimmed()) + "' does not fit the selected file '" +
                  shownSource(job) + "', or it is damaged.";
  QFile file(job.targetFile);
  if (!file.remove())
    return ended(result, PatchResult::Outcome::Unchecked,
                 wrong + " I could not remove the wrong file, please delete it yourself:\n" + file.errorString());
  return notCreated(result, wrong + " I removed it: nothing was kept.");
}

}  // namespace

bool anythingUnder(const QString& name) {
  QFileInfo entry(name);
  return entry.exists() || entry.isSymLink();
}

QString whyNotCreate(const QString& targetFile, const QString& shownTarget) {
  if (anythingUnder(targetFile)) return alreadyThereText(shownTarget);
  if (!platform::canCreateFilesIn("."))
    return "I cannot create '" + shownTarget + "' here: this folder is read-only. Copy the IWAD into a folder of your own and open it there.";
  return {};
}

PatchResult createRelease(const PatchJob& job, const platform::RunCommand& run) {
  PatchResult result;
  const QString shownSource = ::shownSource(job), shownTarget = ::shownTarget(job);
  const QString why = whyNotCreate(job.targetFile, shownTarget);
  if (!why.isEmpty()) return refused(result, why);
  QString source = platform::commandWord(job.sourceName);
  QString targetWord = platform::commandWord(job.targetFile);
  if (source.isEmpty() || targetWord.isEmpty())
    return refused(result, "I cannot hand '" + shownSource + "' to the patch tool safely. Please select the file again.");

  // What was identified may have been replaced since: the patch is made only from that file.
  if (!job.identifiedUnderLock) {
    Identification selected = identifyFile(job.sourceName, run);
    if (selected.outcome == Identification::Outcome::Abandoned) return ended(result, PatchResult::Outcome::Abandoned, {});
    if (selected.outcome == Identification::Outcome::Failed)
      return notCreated(result, "I could not check that '" + shownSource + "' is still the file I identified, so '" +
                                    shownTarget + "' was not created.\n" + selected.failure);
    if (selected.fileHash != job.sourceChecksum)
      return refused(result, "'" + shownSource + "' has changed since I identified it, so '" + shownTarget +
                                 "' was not created. Please select the file again.");
  }

  result.patchCommand = "bspatch.exe " + source + " " + targetWord + " " + job.patchFile;
  platform::CommandOutcome outcome = run(result.patchCommand);
  if (outcome.abandoned) return ended(result, PatchResult::Outcome::Abandoned, {});
  if (!outcome.started)
    return notCreated(result, "I could not start the patch tool 'bspatch.exe', so '" + shownTarget + "' was not created:\n" +
                                  platform::toolText(outcome.startError));
  // The patch tool never writes over a file: one that appeared meanwhile is somebody else's, and
  // is refused as one that was there before.
  if (!outcome.succeeded() && anythingUnder(job.targetFile)) return alreadyThere(result, shownTarget);
  if (!outcome.succeeded())
    return notCreated(result, "I could not create '" + shownTarget + "'.\n" + platform::failureReason(outcome, "the patch tool"));
  // A tool that says it succeeded is believed only when the file is there.
  if (!QFileInfo(job.targetFile).isFile())
    return notCreated(result, "I could not create '" + shownTarget + "'.\nThe patch tool ended without writing it.");
  return checkMadeFile(result, job, run);
}
