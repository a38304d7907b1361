// Start-up: the disclaimer over the hidden main window, and where each of its answers leads.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <memory>

#include "app/application.h"
#include "app/file_list_box.h"
#include "app/form1.h"
#include "app/frmsplash.h"
#include "app/text_box.h"
#include "support/message_catcher.h"
#include "support/scratch_folder.h"

namespace {

constexpr const char* kWarning =
    "ATTENTION PLEASE:\r\n"
    "This patching tool can possibly damage your original main '.wad'-files. Therefore it is "
    "recommended to keep you original installation CD-ROM (or floppy disks) at hand to be able to "
    "restore the files, if this should become necessary.\r\n"
    "And please don't forget to read the docs!";

const QColor kYellow(255, 255, 0);

/// Counts the times a widget is shown, and what the disclaimer's text box held when it was.
class ShowWatcher : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (watched == mainWindow) {
        ++mainWindowShown;
        auto* splash = mainWindow->findChild<frmSplash*>();
        splashUpWhenMainWindowShown = splash && splash->isVisible();
      }
      if (auto* splash = qobject_cast<frmSplash*>(watched)) textWhenShown = splash->Text1->text();
    }
    return false;
  }
  QObject* mainWindow = nullptr;
  int mainWindowShown = 0;
  bool splashUpWhenMainWindowShown = false;
  QString textWhenShown;
};

}  // namespace

class SplashTest : public ::testing::Test {
 protected:
  SplashTest() {
    frmSplash::shownAtStart = true;
    qApp->installEventFilter(&watcher);
    form = std::make_unique<Form1>(work.path());
    watcher.mainWindow = form.get();
    splash = form->findChild<frmSplash*>();
  }

  ~SplashTest() override {
    qApp->removeEventFilter(&watcher);
    form.reset();
    frmSplash::shownAtStart = false;
  }

  /// Runs the program's event loop, as the program does, with `scenario` as its first event;
  /// returns the loop's exit code once something has ended it.
  int runProgram(const std::function<void()>& scenario) {
    QTimer::singleShot(0, qApp, scenario);
    QTimer safetyNet;  // a hung program fails the test instead of the whole run
    safetyNet.setSingleShot(true);
    QObject::connect(&safetyNet, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    safetyNet.start(60000);
    return QApplication::exec();
  }

  QColor shownColour(QWidget* widget, QPoint at) { return widget->grab().toImage().pixelColor(at); }

  ScratchFolder work;
  MessageCatcher messages;
  ShowWatcher watcher;
  std::unique_ptr<Form1> form;
  QPointer<frmSplash> splash;
};

TEST_F(SplashTest, TheMainWindowWaitsHiddenBehindTheDisclaimer) {
  ASSERT_TRUE(splash);
  EXPECT_TRUE(splash->isVisible());
  EXPECT_TRUE(form->isHidden());
  EXPECT_EQ(watcher.mainWindowShown, 0);
  // The main window's own load steps came first.
  EXPECT_EQ(form->File1->selectedName(), "");
  EXPECT_TRUE(form->Frame1->isHidden());
  // The warning was in place before the window was first drawn.
  EXPECT_EQ(watcher.textWhenShown, kWarning);
  EXPECT_EQ(splash->Text1->text(), kWarning);
}

TEST_F(SplashTest, IsABareFixedYellowWindowInTheMiddleOfTheScreen) {
  ASSERT_TRUE(splash);
  EXPECT_TRUE(splash->isWindow());
  EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(splash->windowTitle(), "");
  EXPECT_EQ(splash->size(), QSize(346, 278));
  EXPECT_EQ(splash->minimumSize(), splash->maximumSize());
  QPoint offCentre = splash->geometry().center() - splash->screen()->availableGeometry().center();
  EXPECT_LE(offCentre.manhattanLength(), 2);
  // What is drawn, not just what was asked for: the window below the buttons, and the text box.
  EXPECT_EQ(shownColour(splash, {340, 270}), kYellow);
  EXPECT_EQ(shownColour(splash, {300, 200}), kYellow);  // in the text box, right of its last line
}

TEST_F(SplashTest, ControlsSitWhereTheyWereDesignedWithTheirTextsAndFonts) {
  ASSERT_TRUE(splash);
  struct Expected {
    QWidget* control;
    QRect place;
  };
  for (const Expected& expected : {Expected{splash->Label3, {8, 8, 102, 20}}, Expected{splash->Label1, {8, 32, 308, 29}},
                                   Expected{splash->Text1, {8, 72, 329, 137}}, Expected{splash->Command2, {8, 224, 209, 25}},
                                   Expected{splash->Command1, {232, 224, 105, 25}}})
    EXPECT_EQ(expected.control->geometry(), expected.place) << expected.control->metaObject()->className();
  EXPECT_EQ(splash->Label3->text(), "Wadwright:");
  EXPECT_EQ(splash->Label1->text(), "Wadloafers Patching Tool");
  EXPECT_EQ(splash->Command2->text(), "Yes, I understand.");
  EXPECT_EQ(splash->Command1->text(), "Huh? (Cancel)");
  EXPECT_EQ(splash->Label2->text(), kWebAddress);
  EXPECT_EQ(splash->Label2->pos(), QPoint(8, 256));

  EXPECT_EQ(splash->Label3->font().family(), "MS Sans Serif");
  EXPECT_EQ(splash->Label3->font().pointSize(), 12);
  EXPECT_EQ(splash->Label1->font().family(), "MS Sans Serif");
  EXPECT_EQ(splash->Label1->font().pointSize(), 18);
  EXPECT_EQ(splash->Text1->font().family(), "Times New Roman");
  EXPECT_EQ(splash->Text1->font().pointSize(), 12);
  for (QLabel* label : {splash->Label1, splash->Label3}) EXPECT_FALSE(label->font().bold() || label->font().italic());

  EXPECT_TRUE(splash->Text1->isReadOnly());
  EXPECT_EQ(splash->Text1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(splash->Label2->palette().color(QPalette::WindowText), QColor(128, 128, 128));
  for (QLabel* label : {splash->Label1, splash->Label2, splash->Label3})
    EXPECT_EQ(shownColour(label, {label->width() - 1, label->height() - 1}), kYellow) << label->text().toStdString();
}

TEST_F(SplashTest, EveryCaptionFitsItsBox) {
  ASSERT_TRUE(splash);
  for (QLabel* label : {splash->Label1, splash->Label2, splash->Label3}) {
    QFontMetrics metrics(label->font());
    EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width()) << label->text().toStdString();
    EXPECT_LE(metrics.height(), label->height()) << label->text().toStdString();
  }
  for (QPushButton* button : {splash->Command1, splash->Command2}) {
    QFontMetrics metrics(button->font());
    EXPECT_LE(metrics.horizontalAdvance(button->text()) + 8, button->width()) << button->text().toStdString();
  }
}

TEST_F(SplashTest, TabGoesFromTheWarningToYesToCancel) {
  ASSERT_TRUE(splash);
  splash->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(splash));
  QList<QWidget*> expected{splash->Text1, splash->Command2, splash->Command1, splash->Text1};
  QList<QWidget*> visited{QApplication::focusWidget()};
  for (int i = 1; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited << QApplication::focusWidget();
  }
  EXPECT_EQ(visited, expected);
  for (QLabel* label : {splash->Label1, splash->Label2, splash->Label3}) EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
}

TEST_F(SplashTest, YesShowsTheNeutralMainWindowAndTheProgramGoesOn) {
  ASSERT_TRUE(splash);
  int exitCode = runProgram([&] {
    QTest::mouseClick(splash->Command2, Qt::LeftButton);
    // Still running afterwards: only this ends the loop.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(42); });
  });
  EXPECT_EQ(exitCode, 42);
  EXPECT_TRUE(splash.isNull());  // closed and discarded
  EXPECT_EQ(watcher.mainWindowShown, 1);
  EXPECT_TRUE(watcher.splashUpWhenMainWindowShown);  // never a moment without a window
  EXPECT_TRUE(form->isVisible());
  for (QWidget* window : QApplication::topLevelWidgets())
    EXPECT_TRUE(window == form.get() || !window->isVisible()) << window->metaObject()->className();
  EXPECT_EQ(form->File1->selectedName(), "");
  for (const QString* variable : {&form->FileHash, &form->TargetFile, &form->HashCommand, &form->PatchCommand, &form->PatchFile})
    EXPECT_EQ(*variable, "");
  EXPECT_TRUE(form->Frame1->isHidden());
  for (int number : {2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}) {
    EXPECT_FALSE(form->Command(number)->isVisible()) << "Command" << number;
    EXPECT_FALSE(form->Command(number)->isEnabled()) << "Command" << number;
  }
  EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(SplashTest, CancelSaysGoAndBuyThenEndsTheProgram) {
  ASSERT_TRUE(splash);
  bool splashUpBehindTheMessage = false;
  bool mainWindowHiddenMeanwhile = false;
  messages.whileShown = [&] {
    splashUpBehindTheMessage = splash && splash->isVisible();
    mainWindowHiddenMeanwhile = form->isHidden();
  };
  int exitCode = runProgram([&] { QTest::mouseClick(splash->Command1, Qt::LeftButton); });
  EXPECT_EQ(exitCode, 0);
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_EQ(messages.messages[0].text, " GO  AND  BUY  DOOM!");
  EXPECT_EQ(messages.messages[0].title, "Wadwright");
  EXPECT_TRUE(messages.messages[0].plain);
  EXPECT_TRUE(splashUpBehindTheMessage);
  EXPECT_TRUE(mainWindowHiddenMeanwhile);
  EXPECT_EQ(watcher.mainWindowShown, 0);
  EXPECT_FALSE(splash && splash->isVisible());
}

TEST_F(SplashTest, ClosedByTheWindowSystemTheProgramEnds) {
  ASSERT_TRUE(splash);
  // The route a window manager's close request (Alt+F4, the taskbar) takes into the window.
  int exitCode = runProgram([&] { splash->windowHandle()->close(); });
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(watcher.mainWindowShown, 0);
  EXPECT_TRUE(messages.messages.isEmpty());
  EXPECT_FALSE(splash && splash->isVisible());
}

TEST_F(SplashTest, TheMainWindowTakesAnUnansweredDisclaimerAlong) {
  ASSERT_TRUE(splash);
  form.reset();
  EXPECT_TRUE(splash.isNull());
  // Nothing asked the program to end on the way.
  QEventLoop loop;
  QTimer::singleShot(0, &loop, [&] { loop.exit(7); });
  EXPECT_EQ(loop.exec(), 7);
}
