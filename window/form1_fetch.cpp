// A button whose patch file is missing: the collection's pinned copy fetched once the player
// agrees, with a progress dialog that can cancel it.
#include <QMessageBox>
#include <QProgressDialog>

#include "application.h"
#include "form1.h"
#include "patching/make_plan.h"

Form1::FetchOffer Form1::offerFetch(const MakePlan& plan, QString* message) {
  // One button makes one step: one file to fetch.
  const FetchFile& file = plan.toFetch.files.front();
  const CollectionFile* pin = file.pin;
  const PatchSource& source = plan.request.source;
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
