// Both windows as they open: every control with its text whole and inside its parent, readable in
// every theme, and the disclaimer's ways out.
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>
#include <cmath>

#include "window/file_list_box.h"
#include "window/frmsplash.h"
#include "window/text_box.h"
#include "support/form1_fixture.h"

namespace {

QString textOf(QWidget* control) {
  if (auto* note = qobject_cast<TextBox*>(control)) return note->text();
  return control->property(qobject_cast<QGroupBox*>(control) ? "title" : "text").toString();  // a label's, a button's
}

// Every control with a text shows it whole and lies inside its parent. Where exactly each stands
// is the layout table's own business, not a test's to copy.
void expectControlsWhole(QWidget* window) {
  for (QWidget* control : window->findChildren<QWidget*>()) {
    const QString text = textOf(control);
    if (text.isEmpty()) continue;
    EXPECT_TRUE(control->parentWidget()->rect().contains(control->geometry())) << control->objectName().toStdString();
    const bool oneLine = !qobject_cast<TextBox*>(control) && !qobject_cast<QGroupBox*>(control);
    EXPECT_TRUE(!oneLine || QFontMetrics(control->font()).horizontalAdvance(text) <= control->width()) << text.toStdString();
  }
}

// The strongest contrast between two colours in `area` of `shot`, as the web's readability
// guidelines measure it: 1 is nothing to see, 21 black on white.
double contrastIn(const QImage& shot, const QRect& area) {
  double darkest = 2, lightest = 0;
  for (int i = 0; i < area.width() * area.height(); ++i) {
    QColor c = shot.pixelColor(area.x() + i % area.width(), area.y() + i / area.width());
    double luminance = 0.2126 * std::pow(c.redF(), 2.2) + 0.7152 * std::pow(c.greenF(), 2.2) + 0.0722 * std::pow(c.blueF(), 2.2) + 0.05;
    darkest = std::min(darkest, luminance), lightest = std::max(lightest, luminance);
  }
  return lightest / darkest;
}

}  // namespace

using WindowTest = Form1Fixture;

// Both windows as they open, then their labels, text boxes and the frame's title in the default
// theme, a dark one, and a dark one with light fields, switched while the windows are up.
TEST_F(WindowTest, BothWindowsOpenWholeAndEveryTextIsReadableInEveryTheme) {
  openWindow();
  frmSplash disclaimer;
  disclaimer.show();
  EXPECT_EQ(form->windowTitle(), " Wadwright");
  expectControlsWhole(form.get());
  expectControlsWhole(&disclaimer);
  // The design's own texts, misspellings and all, its sizes and its colours.
  const std::tuple<QWidget*, const char*, QString> texts[] = {
      {form.get(), "Label3", "Please select an IWAD:"}, {form.get(), "Command1", "refresh view"},
      {form.get(), "Command3", "open 'Explorer' here"}, {form.get(), "Label5", "wadwright.example.org"},
      {form.get(), "Frame1", "This IWAD is:"}, {form.get(), "Command2", "Update it!"},
      {form.get(), "Text1", "These 'Backdate-Buttons' create outdatet versions of the IWAD. Please \r\nuse them only to satisy your "
                            "historic interest.\r\n"},
      {&disclaimer, "Label3", "Wadwright:"}, {&disclaimer, "Label1", "Wadloafers Patching Tool"},
      {&disclaimer, "Command2", "Yes, I understand."}, {&disclaimer, "Command1", "Huh? (Cancel)"}};
  for (const auto& [window, name, text] : texts) EXPECT_EQ(textOf(window->findChild<QWidget*>(name)), text) << name;
  EXPECT_TRUE(disclaimer.Text1->text().startsWith("ATTENTION PLEASE:\r\n") && disclaimer.Text1->text().count("\r\n") == 2);
  EXPECT_EQ(form->size(), QSize(545, 423));
  EXPECT_EQ(disclaimer.size(), QSize(346, 278));
  EXPECT_EQ(form->Label5->palette().color(QPalette::WindowText), QColor(128, 128, 128));
  EXPECT_EQ(disclaimer.palette().color(QPalette::Window), QColor(255, 255, 0));
  for (int number = 4; number <= 8; ++number) {  // the two sets share five places over the frame, outside it
    EXPECT_EQ(form->Command(number)->geometry(), form->Command(number + 5)->geometry());
    EXPECT_TRUE(form->Frame1->geometry().contains(form->Command(number)->geometry()));
    EXPECT_EQ(form->Command(number)->parentWidget(), form.get());
  }
  expectNeutralLook();
  // The disclaimer is bare, of a fixed size, and shows its whole warning unscrolled.
  EXPECT_TRUE(disclaimer.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(disclaimer.minimumSize(), disclaimer.maximumSize());
  EXPECT_TRUE(disclaimer.Text1->text().endsWith("if this should become necessary.\r\nAnd please don't forget to read the docs!"));
  EXPECT_EQ(disclaimer.Text1->verticalScrollBar()->maximum(), 0);
  QPixmap shot(form->size() * 1.5);  // at QT_SCALE_FACTOR=1.5 or QT_FONT_DPI=144, the list keeps its bottom line
  shot.setDevicePixelRatio(1.5);
  form->render(&shot);
  const QRect list = form->File1->geometry();
  EXPECT_GT(contrastIn(shot.toImage(), QRect(list.center().x() * 1.5, list.bottom() * 1.5 - 1, 1, 4)), 1.5);

  const QPalette original = QApplication::palette();
  QPalette dark(QColor(53, 53, 53)), lightFields = dark;
  lightFields.setColor(QPalette::Base, Qt::white);
  lightFields.setColor(QPalette::Text, Qt::black);
  for (QWidget* shown : std::initializer_list<QWidget*>{form->Frame1, form->Label4, form->Text1}) shown->show();
  for (const QPalette& theme : {original, dark, lightFields}) {
    QApplication::setPalette(theme);
    settle();
    for (QWidget* window : std::initializer_list<QWidget*>{form.get(), &disclaimer}) {
      const QImage shot = window->grab().toImage();
      for (QWidget* text : window->findChildren<QWidget*>()) {
        if (!qobject_cast<QLabel*>(text) && !qobject_cast<TextBox*>(text) && text != form->Frame1) continue;
        QRect area = text == form->Frame1 ? QRect(0, 0, text->width(), text->fontMetrics().height()) : text->rect();  // its title
        EXPECT_GE(contrastIn(shot, area.translated(text->mapTo(window, QPoint()))), 3.0) << text->objectName().toStdString();
      }
    }
  }
  QApplication::setPalette(original);
}

// Yes on the disclaimer is the only way on (which the start-up's own test follows to the main
// window); anything else ends the program.
TEST_F(WindowTest, OnlyYesOnTheDisclaimerLeadsOn) {
  frmSplash disclaimer;
  int accepted = 0;
  QObject::connect(&disclaimer, &frmSplash::accepted, [&] { ++accepted; });
  // The program's event loop with `answer` as its first event: its exit code once something ended it.
  const auto runProgram = [&](const std::function<void()>& answer) {
    disclaimer.show();
    QTimer::singleShot(0, qApp, answer);
    QTimer hung;  // a hung program fails alone; gone with this run, so that no later test is stopped
    QObject::connect(&hung, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    hung.start(30000);
    return QApplication::exec();
  };
  bool upBehindTheMessage = false;
  messages.whileShown = [&] { upBehindTheMessage = disclaimer.isVisible(); };
  EXPECT_EQ(runProgram([&] { disclaimer.Command1->click(); }), 0);  // "Huh? (Cancel)"
  EXPECT_EQ(messages.texts, QStringList{" GO  AND  BUY  DOOM!"});
  EXPECT_TRUE(upBehindTheMessage);
  EXPECT_EQ(runProgram([&] { disclaimer.windowHandle()->close(); }), 0);  // Alt+F4, the taskbar
  EXPECT_EQ(messages.texts.size(), 1);
  EXPECT_EQ(accepted, 0);
}
