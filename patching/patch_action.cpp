#include "patch_action.h"

#include <QFileInfo>

#include "platform/command_words.h"

namespace {

PatchResult notCreated(PatchResult result, const QString& why) {
  result.outcome = PatchResult::Outcome::NotCreated;
  result.message = why;
  return result;
}

// Anything at all under that name counts, a dangling link included: the patch tool must not be
// pointed at it.
bool isPresent(const QString& name) {
  QFileInfo entry(name);
  return entry.exists() || entry.isSymLink();
}

}  // namespace

PatchResult createRelease(const QString& sourceName, const QString& targetFile, const QString& patchFile,
                          const platform::RunCommand& run) {
  PatchResult result;
  if (isPresent(targetFile))
    return notCreated(result, "Can't continue. The file that I was going to create -'" + targetFile + "'- already exists!");
  QString source = platform::commandWord(sourceName);
  QString target = platform::commandWord(targetFile);
  if (source.isEmpty() || target.isEmpty())
    return notCreated(result, "I cannot hand '" + sourceName + "' to the patch tool safely. Please select the file again.");

  result.patchCommand = "bspatch.exe " + source + " " + target + " " + patchFile;
  platform::CommandOutcome outcome = run(result.patchCommand);
  if (outcome.abandoned) {
    result.outcome = PatchResult::Outcome::Abandoned;
    return result;
  }
  if (!outcome.started)
    return notCreated(result, "I could not start the patch tool 'bspatch.exe', so '" + targetFile + "' was not created:\n" +
                                  platform::toolText(outcome.startError));
  if (!outcome.succeeded())
    return notCreated(result, "I could not create '" + targetFile + "'.\n" + platform::failureReason(outcome, "the patch tool"));
  // A tool that says it succeeded is believed only when the file is there.
  if (!QFileInfo(targetFile).isFile())
    return notCreated(result, "I could not create '" + targetFile + "'.\nThe patch tool ended without writing it.");
  result.outcome = PatchResult::Outcome::Created;
  result.message = targetFile + " was sucessully created!";
  return result;
}
