// Both windows as they open: every control where it was designed, with its text, and the
// disclaimer's three ways out.
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include "app/file_list_box.h"
#include "app/frmsplash.h"
#include "app/text_box.h"
#include "support/form1_fixture.h"

namespace {

struct Control {
  const char* name;
  QRect place;       // in its parent, in pixels
  const char* text;  // caption or text; nullptr: not checked here
};

QString textOf(QWidget* control) {
  if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
  if (auto* button = qobject_cast<QPushButton*>(control)) return button->text();
  if (auto* frame = qobject_cast<QGroupBox*>(control)) return frame->title();
  if (auto* box = qobject_cast<TextBox*>(control)) return box->text();
  return QString();
}

// Each control, found by its design name, sits where it was designed, shows its text whole.
void expectLayout(QWidget* window, std::initializer_list<Control> controls) {
  for (const Control& expected : controls) {
    auto* control = window->findChild<QWidget*>(expected.name);
    ASSERT_TRUE(control) << expected.name;
    QRect place = control->geometry();
    if (qobject_cast<QLabel*>(control)) place.setSize(expected.place.size());  // labels fit their text
    EXPECT_EQ(place, expected.place) << expected.name;
    if (!expected.text) continue;
    EXPECT_EQ(textOf(control), expected.text) << expected.name;
    if (qobject_cast<QPushButton*>(control) || qobject_cast<QLabel*>(control)) {
      EXPECT_LE(QFontMetrics(control->font()).horizontalAdvance(expected.text), control->width()) << expected.name;
    }
  }
}

}  // namespace

using WindowTest = Form1Fixture;

TEST_F(WindowTest, TheMainWindowOpensNeutralWithEveryControlInItsPlace) {
  openWindow();
  EXPECT_EQ(form->windowTitle(), " Wadwright");
  EXPECT_EQ(form->size(), QSize(545, 423));
  expectLayout(form.get(), {{"Label3", {8, 8, 121, 17}, "Please select an IWAD:"},
                            {"File1", {8, 32, 121, 262}, nullptr},
                            {"Command1", {8, 320, 121, 17}, "refresh view"},
                            {"Command3", {8, 352, 121, 17}, "open 'Explorer' here"},
                            {"Label5", {24, 384, 93, 13}, "wadwright.example.org"},
                            {"Frame1", {144, 16, 377, 385}, "This IWAD is:"},
                            {"Label1", {16, 24, 16, 16}, "---"},
                            {"Label2", {16, 48, 32, 13}, "Label2"},
                            {"Command2", {16, 72, 121, 25}, "Update it!"},
                            {"Label4", {144, 80, 9, 13}, "---"},
                            {"Text1", {16, 216, 345, 153}, "These 'Backdate-Buttons' create outdatet versions of the IWAD. "
                                                           "Please \r\nuse them only to satisy your historic interest.\r\n"},
                            // The two backdate sets share five places.
                            {"Command4", {160, 120, 121, 25}, ""}, {"Command9", {160, 120, 121, 25}, ""},
                            {"Command5", {288, 120, 121, 25}, ""}, {"Command10", {288, 120, 121, 25}, ""},
                            {"Command8", {160, 184, 121, 25}, ""}, {"Command13", {160, 184, 121, 25}, ""}});
  EXPECT_EQ(form->Command(4)->parentWidget(), form.get());  // hiding the frame does not hide them
  EXPECT_EQ(form->Label5->palette().color(QPalette::WindowText), QColor(128, 128, 128));
  expectNeutralLook();
  for (const QString* variable : {&form->FileHash, &form->TargetFile, &form->HashCommand, &form->PatchCommand, &form->PatchFile})
    EXPECT_EQ(*variable, "");

  // Keyboard order: refresh, list, update, Explorer, the backdate buttons in name order, the note.
  QList<QWidget*> expected{form->Command1, form->File1, form->Command2, form->Command3};
  for (int number = 4; number <= 13; ++number) expected << form->Command(number);
  expected << form->Text1;
  QList<QWidget*> walked{form->Command1};
  for (QWidget* next = form->Command1->nextInFocusChain(); next != form->Command1; next = next->nextInFocusChain())
    if (expected.contains(next)) walked << next;
  EXPECT_EQ(walked, expected);
}

class DisclaimerTest : public Form1Fixture {
 protected:
  /// Runs the program's event loop with `answer` as its first event; the loop's exit code once
  /// something has ended it.
  DisclaimerTest() { QObject::connect(&disclaimer, &frmSplash::accepted, [this] { ++accepted; }); }
  int runProgram(const std::function<void()>& answer) {
    disclaimer.show();
    QTimer::singleShot(0, qApp, answer);
    QTimer::singleShot(30000, qApp, [] { QCoreApplication::exit(99); });  // a hung program fails alone
    return QApplication::exec();
  }
  frmSplash disclaimer;
  int accepted = 0;
};

TEST_F(DisclaimerTest, IsABareYellowWindowWithTheWarning) {
  EXPECT_TRUE(disclaimer.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(disclaimer.size(), QSize(346, 278));
  EXPECT_EQ(disclaimer.minimumSize(), disclaimer.maximumSize());
  EXPECT_EQ(disclaimer.palette().color(QPalette::Window), QColor(255, 255, 0));
  expectLayout(&disclaimer, {{"Label3", {8, 8, 102, 20}, "Wadwright:"},
                             {"Label1", {8, 32, 308, 29}, "Wadloafers Patching Tool"},
                             {"Text1", {8, 72, 329, 137}, nullptr},
                             {"Command2", {8, 224, 209, 25}, "Yes, I understand."},
                             {"Command1", {232, 224, 105, 25}, "Huh? (Cancel)"},
                             {"Label2", {8, 256, 99, 13}, "wadwright.example.org"}});
  QStringList lines = disclaimer.Text1->text().split("\r\n");
  ASSERT_EQ(lines.size(), 3);  // two line breaks, none at the end
  EXPECT_EQ(lines[0], "ATTENTION PLEASE:");
  EXPECT_TRUE(lines[1].endsWith("if this should become necessary."));
  EXPECT_EQ(lines[2], "And please don't forget to read the docs!");
}

TEST_F(DisclaimerTest, YesIsTheOnlyWayOnAnythingElseEndsTheProgram) {
  bool upBehindTheMessage = false;
  messages.whileShown = [&] { upBehindTheMessage = disclaimer.isVisible(); };
  EXPECT_EQ(runProgram([&] { disclaimer.Command1->click(); }), 0);  // "Huh? (Cancel)"
  EXPECT_EQ(messages.texts, QStringList{" GO  AND  BUY  DOOM!"});
  EXPECT_TRUE(upBehindTheMessage);
  EXPECT_EQ(runProgram([&] { disclaimer.windowHandle()->close(); }), 0);  // Alt+F4, the taskbar
  EXPECT_EQ(messages.texts.size(), 1);
  EXPECT_EQ(accepted, 0);
  EXPECT_EQ(runProgram([&] {
              disclaimer.Command2->click();
              QCoreApplication::exit(7);
            }),
            7);
  EXPECT_EQ(accepted, 1);
  EXPECT_FALSE(disclaimer.isVisible());
}
