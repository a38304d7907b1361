#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <vector>

#include "identify/catalogue.h"
#include "patching/make_plan.h"

#include "platform/folder_lock.h"
#include "platform/process.h"

class FileListBox;
class QGroupBox;
class QLabel;
class QPushButton;
class TextBox;
struct Demo;
struct Identification;
struct StartPlace;

/// The main window: the list of IWADs in the working folder, the identification frame with the
/// release it found, and the update and backdate buttons.
class Form1 : public QWidget {
  Q_OBJECT
 public:
  /// `programFolder` is where the program's tools live (normally the executable's own folder);
  /// the file list shows the working folder.
  explicit Form1(const QByteArray& programFolder);

  /// Returns the window to its neutral look: hint, update button, backdate buttons, note and
  /// frame hidden, the action buttons disabled. Touches no caption, text, variable or selection.
  void ResetDisplay();

  /// Runs one command line as a new process and returns when it has ended, while the windows
  /// keep working. A command that cannot be started returns at once, saying so.
  /// Each line it writes to standard output goes to `onLine`, where one is given.
  platform::CommandOutcome RunAndWait(const QString& commandLine, const platform::OutputLine& onLine = {});

  // Handlers.
  void File1_Click();  // any change of the selection, and a click on the selected file
  void Command1_Click();  // "refresh view"
  void Command2_Click();  // "Update it!"
  void Command3_Click();  // "open 'Explorer' here"
  void Backdate_Click(int number);  // Command4 ... Command13

  // What the identification hands to the patch actions.
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
  /// The collection's other releases: a list behind one button, however many there are.
  QPushButton* OtherReleases;
  QGroupBox* Frame1;
  TextBox* Text1;

  QPushButton* Command(int number) const;  // Command1 ... Command13 by number

  /// Makes the folder of `place` the working folder, and selects (and so identifies) its file.
  /// Refused while a tool runs.
  void openPlace(const StartPlace& place);

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void Form_Load();
  void createControls();
  void nameControls();
  void keepRemarkBelowReleaseName();
  void connectHandlers();
  void useDocumentColours();
  void setWorkingFolder(const QByteArray& path);

  void identifySelection();
  void showIdentification(const Identification& found);
  void applyRow(const CatalogueRow& row);
  void applyUnknownVersion(const Identification& found);
  void announce(const CatalogueRow& row);

  void openDemo(const QString& path);
  QString fittingIwad(const Demo& demo, QString& verdict);

  bool busy() const;
  bool waitForFolder(platform::FolderLock& lock);

  void applyCollectionOffers(const CatalogueRow& row);
  void OtherRelease_Click(std::size_t offer);
  void runPatchAction();
  void setLockedForPatch(bool locked);
  /// What came of a button whose plan lacks only a file the collection has: offered to the
  /// player to be fetched, and fetched or not.
  enum class FetchOffer { Declined, Fetched, Failed, Abandoned };
  FetchOffer offerFetch(const MakePlan& plan, QString* message);

  QByteArray programFolder_;
  QByteArray workingFolder_;  // entered again by its path on "refresh view"
  platform::CommandRun* runningCommand_ = nullptr;  // the tool RunAndWait waits for
  // The identification under way: a new selection ends its tool and has it start over.
  struct {
    bool running = false;
    bool superseded = false;
  } identification_;
  QString identifiedName_;  // the file the offers shown are for
  const CatalogueRow* identifiedRow_ = nullptr;  // its release, found by MD5 or SHA-1
  const CatalogueRow* targetRelease_ = nullptr;  // what the action about to run makes, where the design names none
  std::vector<MadeFile> collectionOffers_;
  bool closing_ = false;
  bool settingColours_ = false;
};
