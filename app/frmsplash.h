#pragma once

#include <QWidget>

class Form1;
class QLabel;
class QPushButton;
class TextBox;

/// The disclaimer the program opens with, while the main window waits hidden: "Yes, I understand."
/// shows the main window, anything else ends the program.
class frmSplash : public QWidget {
  Q_OBJECT
 public:
  /// Whether the main window's load step puts the disclaimer up. The program turns it on before it
  /// creates its main window; left off, the main window opens as after "Yes, I understand.", which
  /// is how the main window's own tests open it.
  static inline bool shownAtStart = false;

  /// A window of its own, owned by `mainWindow` and centred on the screen.
  explicit frmSplash(Form1* mainWindow);

  void Command1_Click();  // "Huh? (Cancel)"
  void Command2_Click();  // "Yes, I understand."

  // Controls, owned by the window.
  QLabel* Label1;
  QLabel* Label2;  // web address
  QLabel* Label3;
  TextBox* Text1;
  QPushButton* Command1;
  QPushButton* Command2;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Load();
  void createControls();
  void endProgram();

  Form1* mainWindow_;
  bool understood_ = false;
};
