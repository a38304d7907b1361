// What the main window makes of an identification and of a patch action.
#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QProcessEnvironment>
#include <QPushButton>

#include "file_list_box.h"
#include "form1.h"
#include "identify/identification.h"
#include "message_box.h"
#include "identify/collection_releases.h"
#include "patching/way_make.h"
#include "text_box.h"

namespace {

// What the frame's controls keep free at its right edge, as they do at its left.
constexpr int kFrameMargin = 16;

// A label sizes itself to its caption; one too wide for the frame it stands in wraps within it,
// so that a long remark is read whole rather than cut off at the frame's edge.
void setCaption(QLabel* label, const QString& caption) {
  int room = label->parentWidget()->width() - label->x() - kFrameMargin;
  label->setText(caption);
  label->setWordWrap(false);
  label->adjustSize();
  if (label->width() <= room) return;
  label->setWordWrap(true);
  label->resize(room, label->heightForWidth(room));
}

}  // namespace

void Form1::identifySelection() {
  ResetDisplay();
  identifiedName_.clear();
  QString name = File1->selectedName();
  if (name.isEmpty()) return;  // nothing selected: nothing to identify
  platform::FolderLock folder(".");
  if (!waitForFolder(folder)) return;
  Identification found = identifyFile(name, [this](const QString& line) { return RunAndWait(line); });
  // A result that came in after the selection moved on belongs to a file no longer selected.
  if (identification_.superseded || closing_) return;
  if (!found.hashCommand.isEmpty()) HashCommand = found.hashCommand;
  if (found.outcome != Identification::Outcome::Failed) FileHash = found.fileHash;
  if (found.outcome == Identification::Outcome::Known) identifiedName_ = name;
  identifiedRow_ = found.row;
  showIdentification(found);
}

void Form1::showIdentification(const Identification& found) {
  switch (found.outcome) {
    case Identification::Outcome::Known:
      Frame1->show();
      applyRow(*found.row);
      break;
    case Identification::Outcome::Unknown:
      applyUnknownVersion(found);
      break;
    case Identification::Outcome::Failed:
      // The list is what is out of date: the window knows how to read it again.
      showMessage(this, found.missing ? found.failure + " Click \"refresh view\" to read the folder again." : found.failure);
      break;
    case Identification::Outcome::Abandoned:
      break;
  }
}

void Form1::applyRow(const CatalogueRow& row) {
  setCaption(Label1, row.releaseName);
  setCaption(Label2, row.remark);
  keepRemarkBelowReleaseName();
  announce(row);
  if (row.offer == Offer::Update) {
    setCaption(Label4, row.update.hint);
    Label4->show();
    Command2->setEnabled(true);
    Command2->show();
    TargetFile = row.update.targetFile;
    PatchFile = row.update.patchFile;
  }
  for (const BackdateButton& backdate : ::backdateButtons())
    if (backdate.set == row.offer) {
      QPushButton* button = Command(backdate.number);
      button->setText(backdate.caption);
      button->show();
      button->setEnabled(true);
    }
  if (row.note != Note::None) {
    Text1->setText(noteText(row.note));
    Text1->show();
  }
  applyCollectionOffers(row);
}

void Form1::applyCollectionOffers(const CatalogueRow& row) {
  collectionOffers_ = collectionOffers(row);
  std::size_t first = 0;
  // The hub, where the design offers no update, is the update: "Update it!" and its hint.
  if (row.offer == Offer::None && !collectionOffers_.empty() && isCollectionHub(*collectionOffers_.front().release)) {
    const MadeFile& hub = collectionOffers_.front();
    setCaption(Label4, QString("This will create the file '%1'").arg(hub.targetFile));
    Label4->show();
    Command2->setEnabled(true);
    Command2->show();
    TargetFile = hub.targetFile;
    PatchFile = hub.patchFile;
    targetRelease_ = hub.release;
    first = 1;
  }
  QMenu* list = OtherReleases->menu();
  list->clear();
  for (std::size_t offer = first; offer < collectionOffers_.size(); ++offer) {
    const MadeFile& made = collectionOffers_[offer];
    QAction* action = list->addAction(QString("%1 (%2)").arg(made.release->releaseName, made.targetFile));
    connect(action, &QAction::triggered, this, [this, offer] { OtherRelease_Click(offer); });
  }
  if (list->isEmpty()) return;
  OtherReleases->setEnabled(true);
  OtherReleases->show();
}

void Form1::OtherRelease_Click(std::size_t offer) {
  const MadeFile made = collectionOffers_.at(offer);
  TargetFile = made.targetFile;
  PatchFile = made.patchFile;
  targetRelease_ = made.release;
  runPatchAction();
}

void Form1::announce(const CatalogueRow& row) {
  // A screen reader reads the release out when it is shown, as it reads a message box.
  Frame1->setAccessibleName(Frame1->title() + " " + row.releaseName);
  Frame1->setAccessibleDescription(row.remark);
  QAccessibleEvent shown(Frame1, QAccessible::Alert);
  QAccessible::updateAccessibility(&shown);
}

void Form1::applyUnknownVersion(const Identification& found) {
  setCaption(Label1, QString());
  Frame1->hide();
  // The design's sentence as it stands, then what the file is, where it says so; the checksum
  // read, so that the user can look the file up or report it.
  const QString more = unknownExplanation(found);
  showMessage(this, more.isEmpty() ? QString(kUnknownVersionMessage) : kUnknownVersionMessage + QString("\n") + more, "MD5: " + FileHash);
}

void Form1::Command2_Click() { runPatchAction(); }

void Form1::Backdate_Click(int number) {
  const BackdateButton* backdate = backdateButton(number);
  targetRelease_ = nullptr;
  TargetFile = backdate->targetFile;
  PatchFile = backdate->patchFile;
  runPatchAction();
}

void Form1::runPatchAction() {
  setLockedForPatch(true);
  platform::FolderLock folder(".");
  if (!waitForFolder(folder)) {  // the window is closing
    setLockedForPatch(false);
    return;
  }
  // The offers shown are for the file that was identified, whatever the list shows meanwhile;
  // the new file is checked before the window is unlocked.
  const CatalogueRow& release = targetRelease_ ? *targetRelease_ : *madeRelease(TargetFile);
  // The design's patch file, or the public collection's where only that is there.
  const QByteArray target = TargetFile.toUtf8(), patch = PatchFile.toUtf8();
  MakePlan plan = planStep({identifiedRow_, {}, {}, identifiedName_, patchSource(QProcessEnvironment::systemEnvironment()), OnTheWay::BesideIt},
                           {target.constData(), patch.constData(), &release});
  PatchResult result;
  result.outcome = PatchResult::Outcome::Refused;
  result.message = plan.why;
  if (plan.hold == Hold::Fetch) switch (offerFetch(plan, &result.message)) {
    case FetchOffer::Declined:
    case FetchOffer::Abandoned:
      // Nothing was fetched, and nothing changes: the offers stay as they were.
      setLockedForPatch(false);
      return;
    case FetchOffer::Failed: break;
    case FetchOffer::Fetched:
      plan = planAgain(plan);
      result.message = plan.why;
  }
  if (plan.ready())
    result = makeAlongPlan(plan, {identifiedName_, FileHash}, [this](const QString& line) { return RunAndWait(line); });
  setLockedForPatch(false);
  if (!result.patchCommand.isEmpty()) PatchCommand = result.patchCommand;
  if (result.outcome == PatchResult::Outcome::Abandoned) return;  // the program is closing
  showMessage(this, result.message);
  File1->refresh();
  identifiedName_.clear();
  ResetDisplay();
}

void Form1::setLockedForPatch(bool locked) {
  // While the tool writes, nothing may start a second action or change the selection under it.
  File1->setEnabled(!locked);
  Command1->setEnabled(!locked);
  // The offers shown are usable again, as when nothing was done.
  for (int number : {2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}) Command(number)->setEnabled(!locked && !Command(number)->isHidden());
  OtherReleases->setEnabled(!locked && !OtherReleases->isHidden());
}
