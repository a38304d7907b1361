#include "frmsplash.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "application.h"
#include "message_box.h"
#include "placement.h"
#include "text_box.h"

namespace {

constexpr QSize kClientArea{346, 278};
constexpr Place kLabel3{8, 8, 102, 20};
constexpr Place kLabel1{8, 32, 308, 29};
constexpr Place kText1{8, 72, 329, 137};
constexpr Place kCommand2{8, 224, 209, 25};
constexpr Place kCommand1{232, 224, 105, 25};
constexpr Place kLabel2{8, 256, 99, 13};

const QColor kYellow(255, 255, 0);
const QColor kGrey(128, 128, 128);

constexpr const char* kWarning =
    "ATTENTION PLEASE:\r\n"
    "This patching tool can possibly damage your original main '.wad'-files. Therefore it is "
    "recommended to keep you original installation CD-ROM (or floppy disks) at hand to be able to "
    "restore the files, if this should become necessary.\r\n"
    "And please don't forget to read the docs!";

void paint(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette changed = widget->palette();
  changed.setColor(role, colour);
  widget->setPalette(changed);
}

QFont face(const char* family, int points) {
  QFont chosen(family);
  chosen.setPointSize(points);
  return chosen;
}

QLabel* label(QWidget* parent, const QString& caption, const Place& at, const QFont& typeface) {
  QLabel* created = placedLabel(parent, caption, at);
  created->setFont(typeface);
  paint(created, QPalette::Window, kYellow);
  created->setAutoFillBackground(true);
  return created;
}

}  // namespace

frmSplash::frmSplash() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
  createControls();
  connect(Command1, &QPushButton::clicked, this, &frmSplash::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &frmSplash::Command2_Click);
  move(screen()->availableGeometry().center() - rect().center());
  Form_Load();
}

void frmSplash::createControls() {
  setWindowTitle(QString());
  setFixedSize(kClientArea);
  setFont(face("MS Sans Serif", 8));
  paint(this, QPalette::Window, kYellow);
  // Dark text on the yellow in every theme: a dark theme's own text colour is light.
  paint(this, QPalette::WindowText, Qt::black);
  paint(this, QPalette::Text, Qt::black);
  setAutoFillBackground(true);

  Label3 = label(this, "Wadwright:", kLabel3, face("MS Sans Serif", 12));
  Label1 = label(this, "Wadloafers Patching Tool", kLabel1, face("MS Sans Serif", 18));
  Text1 = new TextBox(this);
  place(Text1, kText1);
  Text1->setFont(face("Times New Roman", 12));
  paint(Text1, QPalette::Base, kYellow);
  Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // it wraps to its width
  Command2 = placedButton(this, "Yes, I understand.", kCommand2);
  Command1 = placedButton(this, "Huh? (Cancel)", kCommand1);
  Label2 = label(this, kWebAddress, kLabel2, font());
  paint(Label2, QPalette::WindowText, kGrey);
  Label2->adjustSize();

  for (auto [control, name] : {std::pair<QWidget*, const char*>{Label1, "Label1"}, {Label2, "Label2"}, {Label3, "Label3"},
                                {Text1, "Text1"}, {Command1, "Command1"}, {Command2, "Command2"}})
    control->setObjectName(name);
  setTabOrder(Text1, Command2);
  setTabOrder(Command2, Command1);
  Text1->setFocus();
}

void frmSplash::Form_Load() { Text1->setText(kWarning); }

void frmSplash::Command2_Click() {
  understood_ = true;
  emit accepted();
  close();
}

void frmSplash::Command1_Click() {
  showMessage(this, " GO  AND  BUY  DOOM!");
  endProgram();
}

void frmSplash::closeEvent(QCloseEvent* event) {
  // Closed any other way than by "Yes, I understand." (Alt+F4, the taskbar), the disclaimer was
  // not accepted: the main window must not come up.
  if (!understood_) endProgram();
  event->accept();
}

void frmSplash::endProgram() {
  hide();
  QCoreApplication::exit(0);  // at once: no window is offered a close first
}
