// Identifying the selected file: its checksum, through the command interpreter and the checksum
// tool, looked up in the catalogue of known releases.
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "app/command_words.h"
#include "app/file_list_box.h"
#include "app/form1.h"
#include "app/message_box.h"
#include "app/text_box.h"
#include "catalogue.h"

namespace {

constexpr const char* kChecksumFile = "md5tmp.txt";
constexpr qint64 kChecksumLength = 32;

void setCaption(QLabel* label, const QString& caption) {
  label->setText(caption);
  label->adjustSize();
}

QString toolReason(const platform::CommandOutcome& outcome) {
  QString said = toolText(outcome.errorOutput);
  if (!said.isEmpty()) return said;
  if (!outcome.exitedNormally) return "The checksum tool ended abnormally.";
  return QString("The checksum tool ended with status %1 and gave no checksum.").arg(outcome.exitCode);
}

}  // namespace

void Form1::File1_Click() {
  if (identifying_) {
    // The click came while an identification waits for its tool: that one starts over for the
    // new selection, so the two never share the checksum file and the window shows the last one.
    identificationSuperseded_ = true;
    return;
  }
  identifying_ = true;
  do {
    identificationSuperseded_ = false;
    identifySelectedFile();
  } while (identificationSuperseded_ && !closing_);
  identifying_ = false;
}

void Form1::identifySelectedFile() {
  ResetDisplay();
  QString name = File1->selectedName();
  if (name.isEmpty()) return;  // nothing selected: nothing to identify

  QString word = commandWord(name);
  if (word.isEmpty()) {
    showMessage(this, "The name '" + name +
                          "' cannot be handed to the checksum tool safely. Please rename the file: a name must be "
                          "valid text without double quotes, backslashes or control characters.");
    return;
  }
  if (!QFileInfo::exists(name)) {
    showMessage(this, "I cannot find '" + name +
                          "' in this folder any more: it may have been renamed, moved or deleted. "
                          "Click \"refresh view\" to read the folder again.");
    return;
  }
  HashCommand = "md5sum.exe " + word + " > " + kChecksumFile;
  QFile::remove(kChecksumFile);  // a stale one must never be read as this file's checksum

  platform::CommandOutcome outcome = RunAndWait("command.com /c " + HashCommand);
  if (outcome.abandoned || identificationSuperseded_) {
    QFile::remove(kChecksumFile);
    return;
  }
  if (!outcome.started) {
    showMessage(this, "I could not start the command interpreter 'command.com', so I cannot identify '" + name +
                          "':\n" + toolText(outcome.startError));
    return;
  }
  bool read = readChecksumOutput(name, outcome);
  QFile::remove(kChecksumFile);
  if (!read) return;

  if (const CatalogueRow* row = lookUpChecksum(FileHash)) applyRow(*row);
  else applyUnknownVersion();
}

bool Form1::readChecksumOutput(const QString& name, const platform::CommandOutcome& outcome) {
  QFile output(kChecksumFile);
  QByteArray start;
  if (output.open(QIODevice::ReadOnly)) start = output.read(kChecksumLength);
  output.close();
  if (start.size() < kChecksumLength) {
    showMessage(this, "I could not find out the checksum of '" + name + "'.\n" + toolReason(outcome));
    return false;
  }
  FileHash = QString::fromLatin1(start);  // every character counts, nothing converted
  Frame1->show();
  return true;
}

void Form1::applyRow(const CatalogueRow& row) {
  setCaption(Label1, row.releaseName);
  setCaption(Label2, row.remark);
  if (row.offer == Offer::Update) {
    setCaption(Label4, row.update.hint);
    Label4->show();
    Command2->setEnabled(true);
    Command2->show();
    TargetFile = row.update.targetFile;
    PatchFile = row.update.patchFile;
  }
  if (row.offer == Offer::DoomBackdateSet || row.offer == Offer::Doom2BackdateSet) {
    int first = row.offer == Offer::DoomBackdateSet ? 0 : 5;
    for (int i = 0; i < 5; ++i) {
      QPushButton* backdate = backdateButtons[first + i];
      backdate->setText(backdateCaptions(row.offer)[i]);
      backdate->show();
      backdate->setEnabled(true);
    }
  }
  if (row.note != Note::None) {
    Text1->setText(noteText(row.note));
    Text1->show();
  }
}

void Form1::applyUnknownVersion() {
  setCaption(Label1, QString());
  Frame1->hide();
  showMessage(this, kUnknownVersionMessage);
}
