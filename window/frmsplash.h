#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class TextBox;

/// The disclaimer the program opens with: "Yes, I understand." says `accepted`, anything else ends
/// the program.
class frmSplash : public QWidget {
  Q_OBJECT
 public:
  /// A window of its own, centred on the screen.
  frmSplash();

  void Command1_Click();  // "Huh? (Cancel)"
  void Command2_Click();  // "Yes, I understand."

  // Controls, owned by the window.
  QLabel* Label1;
  QLabel* Label2;  // web address
  QLabel* Label3;
  TextBox* Text1;
  QPushButton* Command1;
  QPushButton* Command2;

 signals:
  void accepted();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Load();
  void createControls();
  void endProgram();

  bool understood_ = false;
};
