#include "patch_action.h"

#include <QFile>
#include <QFileInfo>

#include "identify/identification.h"
#include "platform/command_words.h"
#include "platform/native_names.h"

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

// Anything at all under that name counts, a dangling link included: the patch tool must not be
// pointed at it.
bool isPresent(const QString& name) {
  QFileInfo entry(name);
  return entry.exists() || entry.isSymLink();
}

// A bsdiff patch carries no checksum of its own: what it made is believed only when it is
// identified as the release it should be. The new file was made a moment ago by this action from
// a file that is only read, so removing a wrong one loses nothing of the user's.
PatchResult checkMadeFile(PatchResult result, const PatchJob& job, const platform::RunCommand& run) {
  Identification made = identifyFile(job.targetFile, run);
  if (made.outcome == Identification::Outcome::Abandoned) {
    QFile::remove(job.targetFile);  // the program is ending: a file nobody checked is not left behind
    return ended(result, PatchResult::Outcome::Abandoned, {});
  }
  if (made.outcome == Identification::Outcome::Failed)
    return ended(result, PatchResult::Outcome::Unchecked,
                 job.targetFile + " was created, but I could not check that it is " + job.release.releaseName +
                     ". I have kept it.\n" + made.failure);
  if (made.fileHash == QLatin1String(job.release.checksum))
    return ended(result, PatchResult::Outcome::Created, job.targetFile + " was sucessully created!");
  QString wrong = "'" + job.targetFile + "' should have been " + job.release.releaseName + ", but it is not: the patch file '" +
                  platform::shownPath(job.patchFile.trimmed()) + "' does not fit the selected file '" + job.sourceName + "', or it is damaged.";
  QFile file(job.targetFile);
  if (!file.remove())
    return ended(result, PatchResult::Outcome::Unchecked,
                 wrong + " I could not remove the wrong file, please delete it yourself:\n" + file.errorString());
  return notCreated(result, wrong + " I removed it: nothing was kept.");
}

}  // namespace

PatchResult createRelease(const PatchJob& job, const platform::RunCommand& run) {
  PatchResult result;
  if (isPresent(job.targetFile))
    return refused(result, "Can't continue. The file that I was going to create -'" + job.targetFile + "'- already exists!");
  if (!QFileInfo(".").isWritable())
    return refused(result, "I cannot create '" + job.targetFile +
                               "' here: this folder is read-only. Copy the IWAD into a folder of your own and open it there.");
  QString source = platform::commandWord(job.sourceName);
  QString target = platform::commandWord(job.targetFile);
  if (source.isEmpty() || target.isEmpty())
    return refused(result, "I cannot hand '" + job.sourceName + "' to the patch tool safely. Please select the file again.");

  // What was identified may have been replaced since: the patch is made only from that file.
  if (!job.identifiedUnderLock) {
    Identification selected = identifyFile(job.sourceName, run);
    if (selected.outcome == Identification::Outcome::Abandoned) return ended(result, PatchResult::Outcome::Abandoned, {});
    if (selected.outcome == Identification::Outcome::Failed)
      return notCreated(result, "I could not check that '" + job.sourceName + "' is still the file I identified, so '" +
                                    job.targetFile + "' was not created.\n" + selected.failure);
    if (selected.fileHash != job.sourceChecksum)
      return refused(result, "'" + job.sourceName + "' has changed since I identified it, so '" + job.targetFile +
                                 "' was not created. Please select the file again.");
  }

  result.patchCommand = "bspatch.exe " + source + " " + target + " " + job.patchFile;
  platform::CommandOutcome outcome = run(result.patchCommand);
  if (outcome.abandoned) return ended(result, PatchResult::Outcome::Abandoned, {});
  if (!outcome.started)
    return notCreated(result, "I could not start the patch tool 'bspatch.exe', so '" + job.targetFile + "' was not created:\n" +
                                  platform::toolText(outcome.startError));
  if (!outcome.succeeded())
    return notCreated(result, "I could not create '" + job.targetFile + "'.\n" + platform::failureReason(outcome, "the patch tool"));
  // A tool that says it succeeded is believed only when the file is there.
  if (!QFileInfo(job.targetFile).isFile())
    return notCreated(result, "I could not create '" + job.targetFile + "'.\nThe patch tool ended without writing it.");
  return checkMadeFile(result, job, run);
}
