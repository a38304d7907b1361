#include "file_manager.h"

#include "process.h"
#include "program_folder.h"

namespace platform {

// Our explorer waits a moment for xdg-open and says why it failed, so its end is waited for.
bool showInFileManager(const QByteArray& folder, const QByteArray& programFolder, QString* why) {
  // The folder follows unquoted: the stand-in reads all its words as one path.
  CommandRun run("explorer " + commandFolder(folder), programFolder);
  const CommandOutcome outcome = run.waitProcessingEvents();
  if (outcome.succeeded() || outcome.abandoned) return true;
  if (why) *why = outcome.started ? failureReason(outcome, "the file manager") : toolText(outcome.startError);
  return false;
}

}  // namespace platform
