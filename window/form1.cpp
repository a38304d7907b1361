#include "form1.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFile>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "file_list_box.h"
#include "message_box.h"
#include "platform/file_manager.h"
#include "platform/native_names.h"
#include "platform/program_folder.h"
#include "start_place.h"
#include "text_box.h"

Form1::Form1(const QByteArray& programFolder) : programFolder_(programFolder) {
  setAcceptDrops(true);
  createControls();
  setWorkingFolder(platform::currentNativeFolder());
  connectHandlers();
  Form_Load();
}

void Form1::Form_Load() {
  File1->setSelectedName(QString());
  FileHash = TargetFile = HashCommand = PatchCommand = PatchFile = QString();
  ResetDisplay();
}

void Form1::connectHandlers() {
  connect(File1, &FileListBox::selectionChosen, this, &Form1::File1_Click, Qt::QueuedConnection);
  connect(File1, &FileListBox::foundIwadChosen, this, [this](const QString& path) { openPlace(placeOf(path)); });
  connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
  auto* backdates = new QButtonGroup(this);
  for (int number = 4; number <= 13; ++number) backdates->addButton(Command(number), number);
  connect(backdates, &QButtonGroup::idClicked, this, &Form1::Backdate_Click);
}

QPushButton* Form1::Command(int number) const {
  switch (number) {
    case 1: return Command1;
    case 2: return Command2;
    case 3: return Command3;
    default: return number >= 4 && number <= 13 ? backdateButtons[number - 4] : nullptr;
  }
}

void Form1::ResetDisplay() {
  Label4->hide();
  Command2->hide();
  Command2->setEnabled(false);
  for (QPushButton* backdate : backdateButtons) {
    backdate->hide();
    backdate->setEnabled(false);
  }
  OtherReleases->hide();
  OtherReleases->setEnabled(false);
  targetRelease_ = nullptr;
  Text1->hide();
  Frame1->hide();
}

platform::CommandOutcome Form1::RunAndWait(const QString& commandLine, const platform::OutputLine& onLine) {
  platform::CommandRun run(commandLine, programFolder_, onLine);
  platform::CommandRun* outer = std::exchange(runningCommand_, &run);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  platform::CommandOutcome outcome = run.waitProcessingEvents();
  QApplication::restoreOverrideCursor();
  runningCommand_ = outer;
  if (closing_ && outcome.started) outcome.abandoned = true;
  return outcome;
}

void Form1::File1_Click() {
  if (identification_.running) {
    // The selection changed while the checksum tool works: end it now (it only reads) and let
    // the identification start over for the new selection.
    identification_.superseded = true;
    if (runningCommand_) runningCommand_->cancel();
    return;
  }
  identification_.running = true;
  do {
    identification_.superseded = false;
    identifySelection();
  } while (identification_.superseded && !closing_);
  identification_.running = false;
}

void Form1::Command1_Click() {
  // By its path: a folder deleted and made again is another folder, which "." never reaches.
  bool entered = platform::enterNativeFolder(workingFolder_);
  File1->refresh();
  ResetDisplay();
  identifiedName_.clear();
  if (identification_.running) File1_Click();  // nothing is selected now: the running one ends
  if (!entered) showMessage(this, "I cannot work in the folder '" + QFile::decodeName(workingFolder_) + "'.");
}

// By its bytes: a folder's name need not be valid text, and it is entered again by it.
void Form1::setWorkingFolder(const QByteArray& path) {
  workingFolder_ = path;
  File1->setToolTip(QFile::decodeName(path));  // the caption stays as it is
}

void Form1::Command3_Click() {
  QString why;
  Command3->setEnabled(false);  // for the moment the file manager takes to start
  const bool shown = platform::showInFileManager(programFolder_, programFolder_, &why);
  Command3->setEnabled(true);
  if (!shown)
    showMessage(this, "I could not open the folder '" + QFile::decodeName(programFolder_) + "' in the file manager:\n" + why);
}

void Form1::changeEvent(QEvent* event) {
  // Another theme (or the colours just set): the labels' and the frame's follow it.
  if (event->type() == QEvent::PaletteChange && !settingColours_) useDocumentColours();
  QWidget::changeEvent(event);
}

void Form1::closeEvent(QCloseEvent* event) {
  // Closing ends the program: a tool still working is asked to stop and tidy up first.
  closing_ = true;
  if (runningCommand_) runningCommand_->cancel();
  event->accept();
}
