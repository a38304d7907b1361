#include "form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "command_words.h"
#include "file_list_box.h"
#include "frmsplash.h"
#include "message_box.h"
#include "text_box.h"

Form1::Form1(const QString& programFolder) : programFolder_(programFolder) {
  createControls();
  connectHandlers();
  Form_Load();
}

Form1::~Form1() = default;

void Form1::Form_Load() {
  File1->setSelectedName(QString());
  FileHash = TargetFile = HashCommand = PatchCommand = PatchFile = QString();
  Frame1->hide();
  hide();
  if (frmSplash::shownAtStart) (new frmSplash(this))->show();
}

void Form1::connectHandlers() {
  connect(File1, &FileListBox::fileClicked, this, &Form1::File1_Click);
  connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
  void (Form1::*backdateHandlers[10])() = {
      &Form1::Command4_Click, &Form1::Command5_Click,  &Form1::Command6_Click,  &Form1::Command7_Click,
      &Form1::Command8_Click, &Form1::Command9_Click,  &Form1::Command10_Click, &Form1::Command11_Click,
      &Form1::Command12_Click, &Form1::Command13_Click};
  for (int i = 0; i < 10; ++i) connect(backdateButtons[i], &QPushButton::clicked, this, backdateHandlers[i]);
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
  Text1->hide();
  Frame1->hide();
}

platform::CommandOutcome Form1::RunAndWait(const QString& commandLine) {
  platform::CommandRun run(commandLine.toLocal8Bit().toStdString(), programFolder_.toLocal8Bit().toStdString());
  runningCommands_.push_back(&run);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  platform::CommandOutcome outcome = run.waitProcessingEvents();
  QApplication::restoreOverrideCursor();
  runningCommands_.erase(std::find(runningCommands_.begin(), runningCommands_.end(), &run));
  if (closing_ && outcome.started) outcome.abandoned = true;
  return outcome;
}

void Form1::Command1_Click() {
  File1->refresh();
  ResetDisplay();
  // An identification still waiting for its tool would now show a file that is no longer selected.
  if (identifying_) identificationSuperseded_ = true;
}

void Form1::Command3_Click() {
  // The folder follows unquoted: the file manager's stand-in reads all its words as one path.
  QString commandLine = "explorer " + programFolder_;
  std::string why;
  if (!platform::startDetached(commandLine.toLocal8Bit().toStdString(), programFolder_.toLocal8Bit().toStdString(), &why))
    showMessage(this, "I could not open the folder in the file manager:\n" + toolText(why));
}

void Form1::closeEvent(QCloseEvent* event) {
  // Closing ends the program: tools still working are asked to stop and tidy up first.
  closing_ = true;
  for (platform::CommandRun* run : runningCommands_) run->terminate();
  event->accept();
}
