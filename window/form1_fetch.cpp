// A button whose patch file is missing: the collection's pinned copy fetched once the player
// agrees, with a progress dialog that can cancel it.
#include <QMessageBox>
#include <QProcessEnvironment>
#include <QProgressDialog>

#include "application.h"
#include "form1.h"
#include "patching/patch_action.h"
#include "patching/patch_fetch.h"

Form1::FetchOffer Form1::offerFetch(const QStringList& patchFiles, QString* message) {
  // One that is there but cannot be read, a link to nothing say, is the user's to mend: a download
  // would not replace it.
  const CollectionFile* pin = firstUnreadable(patchFiles).isEmpty() ? pinnedAmong(patchFiles) : nullptr;
  if (!pin) return FetchOffer::NotOffered;
  const FetchFile file{patchArgument(*pin), pin};
  const PatchSource source = patchSource(QProcessEnvironment::systemEnvironment());
  // Nothing goes over the network for a file that could not be made here anyway.
  *message = source.problem.isEmpty() ? whyNotCreate(TargetFile, TargetFile) : source.problem;
  if (!message->isEmpty()) return FetchOffer::Failed;

  const QString what = "'" + file.target() + "' (" + sizeText(pin->size) + ")";
  QMessageBox question(QMessageBox::NoIcon, kProgramTitle,
                       "The patch file " + what + " is not here. Download it from " + source.shown() + "?",
                       QMessageBox::Yes | QMessageBox::No, this);
  question.setTextFormat(Qt::PlainText);
  if (question.exec() != QMessageBox::Yes || closing_) return FetchOffer::Declined;

  QProgressDialog progress("Downloading " + what + " from " + source.shown() + " ...", "Cancel", 0, int(pin->size), this);
  progress.setWindowTitle(kProgramTitle);
  progress.setMinimumDuration(0);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  bool cancelled = false;
  connect(&progress, &QProgressDialog::canceled, this, [&] {
    cancelled = true;
    if (runningCommand_) runningCommand_->cancel();
  });
  progress.show();
  const FetchResult fetched = fetchFile(
      file, source, [this](const QString& line, const platform::OutputLine& onLine) { return RunAndWait(line, onLine); },
      [&](qint64 bytes) { progress.setValue(int(qMin(bytes, pin->size))); });
  progress.hide();
  switch (fetched.outcome) {
    case FetchResult::Outcome::Fetched: return FetchOffer::Fetched;
    case FetchResult::Outcome::Abandoned: return closing_ || !cancelled ? FetchOffer::Abandoned : FetchOffer::Declined;
    case FetchResult::Outcome::Failed: break;
  }
  *message = fetched.message;
  return FetchOffer::Failed;
}
