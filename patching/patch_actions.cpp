// The update and backdate actions: each writes one new release of the selected file through the
// patch tool. The selected file is only read; an existing file is never overwritten.
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include "app/command_words.h"
#include "app/file_list_box.h"
#include "app/form1.h"
#include "app/message_box.h"

namespace {

struct Backdate {
  const char* targetFile;
  const char* patchFile;  // with its leading blank: appended as it stands
};

// Command4 ... Command13.
constexpr Backdate kBackdates[10] = {
    {"d1_11.wad", " patches\\d1_ud_11"},        {"d1_12.wad", " patches\\d1_ud_12"},
    {"d1_1666.wad", " patches\\d1_ud_1666"},    {"d1_18.wad", " patches\\d1_ud_18"},
    {"d1_19.wad", " patches\\d1_ud_19"},        {"d2_1666.wad", " patches\\d2_19_1666"},
    {"d2_16ger.wad", " patches\\d2_19_1666ger"}, {"d2_17.wad", " patches\\d2_19_17"},
    {"d2_17a.wad", " patches\\d2_19_17a"},      {"d2_18.wad", " patches\\d2_19_18"},
};

// Anything at all under that name counts, a dangling link included: the patch tool must not
// be pointed at it.
bool isPresent(const QString& name) {
  QFileInfo entry(name);
  return entry.exists() || entry.isSymLink();
}

QString failureReason(const platform::CommandOutcome& outcome) {
  QString said = toolText(outcome.errorOutput);
  if (!said.isEmpty()) return said;
  if (!outcome.exitedNormally) return "The patch tool ended abnormally.";
  if (outcome.exitCode != 0) return QString("The patch tool ended with status %1.").arg(outcome.exitCode);
  return "The patch tool ended without writing it.";
}

}  // namespace

void Form1::Command2_Click() { runPatchAction(); }
void Form1::Command4_Click() { runBackdate(4); }
void Form1::Command5_Click() { runBackdate(5); }
void Form1::Command6_Click() { runBackdate(6); }
void Form1::Command7_Click() { runBackdate(7); }
void Form1::Command8_Click() { runBackdate(8); }
void Form1::Command9_Click() { runBackdate(9); }
void Form1::Command10_Click() { runBackdate(10); }
void Form1::Command11_Click() { runBackdate(11); }
void Form1::Command12_Click() { runBackdate(12); }
void Form1::Command13_Click() { runBackdate(13); }

void Form1::runBackdate(int button) {
  TargetFile = kBackdates[button - 4].targetFile;
  PatchFile = kBackdates[button - 4].patchFile;
  runPatchAction();
}

void Form1::runPatchAction() {
  QString name = File1->selectedName();
  QString source = commandWord(name);
  QString target = commandWord(TargetFile);
  if (isPresent(TargetFile)) {
    showMessage(this, "Can't continue. The file that I was going to create -'" + TargetFile + "'- already exists!");
  } else if (source.isEmpty() || target.isEmpty()) {
    showMessage(this, "I cannot hand '" + name + "' to the patch tool safely. Please select the file again.");
  } else {
    PatchCommand = "bspatch.exe " + source + " " + target + " " + PatchFile;
    setLockedForPatch(true);
    platform::CommandOutcome outcome = RunAndWait(PatchCommand);
    setLockedForPatch(false);
    if (outcome.abandoned) return;  // the program is closing
    if (!outcome.started)
      showMessage(this, "I could not start the patch tool 'bspatch.exe', so '" + TargetFile + "' was not created:\n" +
                            toolText(outcome.startError));
    else if (outcome.succeeded() && QFileInfo(TargetFile).isFile())
      showMessage(this, TargetFile + " was sucessully created!");
    else
      showMessage(this, "I could not create '" + TargetFile + "'.\n" + failureReason(outcome));
  }
  File1->refresh();
  ResetDisplay();
}

void Form1::setLockedForPatch(bool locked) {
  // While the tool writes, nothing may start a second action or change the selection under it.
  File1->setEnabled(!locked);
  Command1->setEnabled(!locked);
  if (locked)
    for (int number : {2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}) Command(number)->setEnabled(false);
}
