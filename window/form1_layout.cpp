// The main window's controls, placed to the pixel as the window was designed.
#include <QApplication>
#include <QFont>
#include <algorithm>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>

#include "application.h"
#include "file_list_box.h"
#include "form1.h"
#include "identify/catalogue.h"
#include "placement.h"
#include "text_box.h"

namespace {

constexpr QSize kClientArea{545, 423};
constexpr Place kLabel3{8, 8, 121, 17};
constexpr Place kFile1{8, 32, 121, 262};
constexpr Place kCommand1{8, 320, 121, 17};
constexpr Place kCommand3{8, 352, 121, 17};
constexpr Place kLabel5{24, 384, 93, 13};
constexpr Place kFrame1{144, 16, 377, 385};
// Inside the frame.
constexpr Place kLabel1{16, 24, 16, 16};
constexpr Place kLabel2{16, 48, 32, 13};
constexpr Place kCommand2{16, 72, 121, 25};
constexpr Place kLabel4{144, 80, 9, 13};
constexpr Place kText1{16, 216, 345, 153};
// The two backdate sets share these five places in the window, drawn over the frame.
constexpr QSize kBackdateSize{121, 25};
constexpr QPoint kBackdatePlaces[5] = {{160, 120}, {288, 120}, {160, 152}, {288, 152}, {160, 184}};
// The list of the collection's other releases takes the sixth place of that grid, which neither set
// uses: a release of many folders has more of them than the window has room for as buttons.
constexpr Place kOtherReleases{288, 184, 121, 25};

constexpr const char* kInitialNote =
    "These 'Backdate-Buttons' create outdatet versions of the IWAD. Please \r\n"
    "use them only to satisy your historic interest.\r\n";

}  // namespace

void Form1::createControls() {
  setWindowTitle(" Wadwright");
  resize(kClientArea);
  setBackgroundRole(QPalette::Base);  // the system's window colour, as a document window has
  setAutoFillBackground(true);
  useDocumentColours();
  setFont(QFont("MS Sans Serif", 8));

  Label3 = placedLabel(this, "Please select an IWAD:", kLabel3);
  File1 = new FileListBox(this, ".", "*.wad");
  place(File1, kFile1);
  Label3->setBuddy(File1);
  File1->setAccessibleName(Label3->text());
  Command1 = placedButton(this, "refresh view", kCommand1);
  Command3 = placedButton(this, "open 'Explorer' here", kCommand3);
  Label5 = placedLabel(this, kWebAddress, kLabel5);
  Label5->setStyleSheet("color: rgb(128, 128, 128);");
  Label5->adjustSize();

  Frame1 = new QGroupBox("This IWAD is:", this);
  place(Frame1, kFrame1);
  Label1 = placedLabel(Frame1, "---", kLabel1);
  QFont bold("MS Sans Serif");
  bold.setPointSizeF(9.75);
  bold.setBold(true);
  Label1->setFont(bold);
  Label1->adjustSize();
  Label2 = placedLabel(Frame1, "Label2", kLabel2);
  Label2->adjustSize();
  Command2 = placedButton(Frame1, "Update it!", kCommand2);
  Label4 = placedLabel(Frame1, "---", kLabel4);
  Label4->adjustSize();
  Text1 = new TextBox(Frame1);
  place(Text1, kText1);
  QFont fixedPitch("Courier New");
  fixedPitch.setPointSizeF(8.25);
  fixedPitch.setStyleHint(QFont::Monospace);
  Text1->setFont(fixedPitch);
  Text1->setText(kInitialNote);

  // Each set's buttons take the five places in turn.
  int placeInSet[2] = {0, 0};
  for (const BackdateButton& backdate : ::backdateButtons()) {
    QPushButton* button = new QPushButton(this);
    int& next = placeInSet[backdate.set == Offer::DoomBackdateSet ? 0 : 1];
    button->setGeometry(QRect(kBackdatePlaces[next++], kBackdateSize));
    button->raise();  // in front of the frame
    button->setAccessibleDescription(QString("Makes %1, %2").arg(backdate.targetFile, backdate.release));
    backdateButtons[backdate.number - 4] = button;
  }

  OtherReleases = placedButton(this, "Other releases...", kOtherReleases);
  OtherReleases->setMenu(new QMenu(OtherReleases));
  OtherReleases->raise();
  OtherReleases->setAccessibleDescription("Lists the other releases this file can be made into");

  // Keyboard order: refresh, list, update, Explorer, the backdate buttons, the other releases, the note.
  QList<QWidget*> order{Command1, File1, Command2, Command3};
  for (QPushButton* backdate : backdateButtons) order << backdate;
  order << OtherReleases << Text1;
  for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
  Command1->setFocus();
  nameControls();
}

void Form1::useDocumentColours() {
  // Labels and the frame stand on the window's background, a document's colour (Base): they take
  // the text colour that goes with it, which stays readable in dark themes too.
  QPalette theme = QApplication::palette(this);
  QPalette colours;
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    colours.setColor(group, QPalette::Window, theme.color(group, QPalette::Base));
    colours.setColor(group, QPalette::WindowText, theme.color(group, QPalette::Text));
  }
  QScopedValueRollback setting(settingColours_, true);
  setPalette(colours);
}

void Form1::keepRemarkBelowReleaseName() {
  // A release name long enough to wrap pushes the remark down by the lines it grew.
  int grown = Label1->height() - Label1->fontMetrics().height();
  Label2->move(kLabel2.left, kLabel2.top + std::max(0, grown));
}

void Form1::nameControls() {
  // The design's names, by which the controls are known outside the code.
  Label1->setObjectName("Label1");
  Label2->setObjectName("Label2");
  Label3->setObjectName("Label3");
  Label4->setObjectName("Label4");
  Label5->setObjectName("Label5");
  File1->setObjectName("File1");
  Frame1->setObjectName("Frame1");
  Text1->setObjectName("Text1");
  for (int number = 1; number <= 13; ++number) Command(number)->setObjectName(QString("Command%1").arg(number));
  OtherReleases->setObjectName("OtherReleases");
}
