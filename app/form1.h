#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <vector>

#include "platform/process.h"

class FileListBox;
class QGroupBox;
class QLabel;
class QPushButton;
class TextBox;
struct CatalogueRow;

/// The main window: the list of IWADs in the working folder, the identification frame with the
/// release it found, and the update and backdate buttons.
class Form1 : public QWidget {
  Q_OBJECT
 public:
  /// `programFolder` is where the program's tools live (normally the executable's own folder);
  /// the file list shows the working folder.
  explicit Form1(const QString& programFolder);
  ~Form1() override;

  /// Returns the window to its neutral look: hint, update button, backdate buttons, note and
  /// frame hidden, the action buttons disabled. Touches no caption, text, variable or selection.
  void ResetDisplay();

  /// Runs one command line as a new process and returns when it has ended, while the windows
  /// keep working. A command that cannot be started returns at once, saying so.
  platform::CommandOutcome RunAndWait(const QString& commandLine);

  // Handlers. The identification and the patch actions live beside the code they belong to.
  void File1_Click();
  void Command1_Click();  // "refresh view"
  void Command2_Click();  // "Update it!"
  void Command3_Click();  // "open 'Explorer' here"
  void Command4_Click();
  void Command5_Click();
  void Command6_Click();
  void Command7_Click();
  void Command8_Click();
  void Command9_Click();
  void Command10_Click();
  void Command11_Click();
  void Command12_Click();
  void Command13_Click();

  // The state the identification and the patch actions hand to each other.
  QString FileHash;
  QString TargetFile;
  QString HashCommand;
  QString PatchCommand;
  QString PatchFile;

  // Controls, owned by the window.
  QLabel* Label1;  // release name
  QLabel* Label2;  // remark
  QLabel* Label3;
  QLabel* Label4;  // hint
  QLabel* Label5;  // web address
  FileListBox* File1;
  QPushButton* Command1;
  QPushButton* Command2;
  QPushButton* Command3;
  std::array<QPushButton*, 10> backdateButtons;  // Command4 ... Command13
  QGroupBox* Frame1;
  TextBox* Text1;

  QPushButton* Command(int number) const;  // Command1 ... Command13 by number

  const QString& programFolder() const { return programFolder_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Load();
  void createControls();
  void connectHandlers();

  // Identification.
  void identifySelectedFile();
  bool readChecksumOutput(const QString& name, const platform::CommandOutcome& outcome);
  void applyRow(const CatalogueRow& row);
  void applyUnknownVersion();

  // Patch actions.
  void runBackdate(int button);
  void runPatchAction();
  void setLockedForPatch(bool locked);

  QString programFolder_;
  std::vector<platform::CommandRun*> runningCommands_;
  bool closing_ = false;
  bool identifying_ = false;
  bool identificationSuperseded_ = false;
};
