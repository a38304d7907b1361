// The main window itself: its controls at start, ResetDisplay, "refresh view" and the Explorer button.
#include <QDir>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/file_list_box.h"
#include "app/text_box.h"
#include "support/form1_fixture.h"

using Form1Test = Form1Fixture;

TEST_F(Form1Test, OpensInItsNeutralLookWithTheDesignedControls) {
  openWindow();
  EXPECT_EQ(form->windowTitle(), " Wadwright");
  EXPECT_EQ(form->size(), QSize(545, 423));
  expectNeutralLook();
  EXPECT_EQ(form->File1->selectedName(), "");
  for (const QString* variable : {&form->FileHash, &form->TargetFile, &form->HashCommand, &form->PatchCommand, &form->PatchFile})
    EXPECT_EQ(*variable, "");
  EXPECT_EQ(form->Label3->text(), "Please select an IWAD:");
  EXPECT_EQ(form->Command1->text(), "refresh view");
  EXPECT_EQ(form->Command3->text(), "open 'Explorer' here");
  EXPECT_EQ(form->Frame1->title(), "This IWAD is:");
  EXPECT_EQ(form->Command2->text(), "Update it!");
  EXPECT_EQ(form->Text1->text(),
            "These 'Backdate-Buttons' create outdatet versions of the IWAD. Please \r\n"
            "use them only to satisy your historic interest.\r\n");
  EXPECT_EQ(form->File1->geometry(), QRect(8, 32, 121, 262));
  EXPECT_EQ(form->Frame1->geometry(), QRect(144, 16, 377, 385));
  EXPECT_EQ(form->Text1->geometry(), QRect(16, 216, 345, 153));
  EXPECT_EQ(form->Command(4)->geometry(), QRect(160, 120, 121, 25));
  EXPECT_EQ(form->Command(13)->geometry(), QRect(160, 184, 121, 25));
  EXPECT_EQ(form->Command(10)->geometry(), QRect(288, 120, 121, 25));
  EXPECT_EQ(form->Command(4)->parentWidget(), form.get());  // hiding the frame does not hide them
  EXPECT_EQ(form->Label5->palette().color(QPalette::WindowText), QColor(128, 128, 128));
  EXPECT_TRUE(form->Command1->hasFocus() || !QApplication::focusWidget());
}

TEST_F(Form1Test, CaptionsFitTheirButtons) {
  openWindow();
  for (QPushButton* button : {form->Command1, form->Command3}) {
    QFontMetrics metrics(button->font());
    EXPECT_LE(metrics.horizontalAdvance(button->text()) + 8, button->width()) << button->text().toStdString();
    EXPECT_LE(metrics.height(), button->height()) << button->text().toStdString();
  }
}

TEST_F(Form1Test, TabOrderFollowsTheDesign) {
  openWindow();
  QList<QWidget*> expected{form->Command1, form->File1, form->Command2, form->Command3};
  for (int number = 4; number <= 13; ++number) expected << form->Command(number);
  expected << form->Text1;
  // Walk the chain once round; the frame's and the boxes' inner parts take no part in the order.
  QList<QWidget*> walked{form->Command1};
  for (QWidget* next = form->Command1->nextInFocusChain(); next != form->Command1; next = next->nextInFocusChain())
    if (expected.contains(next)) walked << next;
  EXPECT_EQ(walked, expected);
}

TEST_F(Form1Test, ListsWadFilesOfAnyLetterCaseSortedByName) {
  for (QString name : {"doom2.wad", "DOOM.WAD", "d1_1666.wad", "d1_12.wad", "notes.txt", "wad", ".hidden.wad"})
    work.write(name, "x");
  QDir().mkdir("folder.wad");
  openWindow();
  QStringList listed;
  for (int i = 0; i < form->File1->count(); ++i) listed << form->File1->item(i)->text();
  EXPECT_EQ(listed, (QStringList{"d1_12.wad", "d1_1666.wad", "DOOM.WAD", "doom2.wad"}));
}

TEST_F(Form1Test, ResetDisplayHidesTheOffersAndTouchesNothingElse) {
  openWindow();
  form->Frame1->show();
  form->Label4->show();
  form->Command2->show();
  form->Command2->setEnabled(true);
  form->Label1->setText("DOOM V1.2");
  form->TargetFile = "udoom.wad";
  for (int i = 0; i < 2; ++i) {  // a second time on the neutral look changes nothing
    form->ResetDisplay();
    EXPECT_TRUE(form->Label4->isHidden() && form->Text1->isHidden() && form->Frame1->isHidden());
    expectNeutralLook();
    EXPECT_FALSE(form->Label1->isHidden());
    EXPECT_EQ(form->Label1->text(), "DOOM V1.2");
    EXPECT_EQ(form->TargetFile, "udoom.wad");
  }
}

TEST_F(Form1Test, RefreshViewRereadsTheFolderAndKeepsTheVariables) {
  installFakeChecksumTool();
  work.write("old.wad", "54978d12de87f162b9bcc011676cb3c0  old.wad\n");
  openWindow();
  click("old.wad");
  ASSERT_TRUE(form->Frame1->isVisible());
  work.write("new.wad", "x");
  QFile::remove("old.wad");
  QTest::mouseClick(form->Command1, Qt::LeftButton);
  EXPECT_EQ(form->File1->count(), 1);
  EXPECT_EQ(form->File1->item(0)->text(), "new.wad");
  expectNeutralLook();
  EXPECT_EQ(form->FileHash, "54978d12de87f162b9bcc011676cb3c0");
  EXPECT_EQ(form->TargetFile, "udoom.wad");
  EXPECT_EQ(form->PatchFile, " patches\\d1_1666_ud");
}

TEST_F(Form1Test, ExplorerGetsTheProgramFolderUnquoted) {
  installTool("explorer", "#!/bin/sh\nprintf '%s|' \"$@\" > \"$EXPLORER_RECORD.tmp\"\nmv \"$EXPLORER_RECORD.tmp\" \"$EXPLORER_RECORD\"\n");
  qputenv("EXPLORER_RECORD", work.path("record").toLocal8Bit());
  openWindow();
  QTest::mouseClick(form->Command3, Qt::LeftButton);
  QElapsedTimer clock;
  clock.start();
  while (!work.exists("record") && clock.elapsed() < 10000) QTest::qWait(20);
  // The folder's blanks split it into words; the stand-in joins them again.
  EXPECT_EQ(work.read("record"), (toolFolder.path().split(' ').join('|') + "|").toLocal8Bit());
  EXPECT_TRUE(messages.messages.isEmpty());
  qunsetenv("EXPLORER_RECORD");
}

TEST_F(Form1Test, AMissingFileManagerIsSaidAndTheWindowStaysUsable) {
  openWindow();
  QTest::mouseClick(form->Command3, Qt::LeftButton);
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_EQ(messages.messages[0].text, "I could not open the folder in the file manager:\nexplorer was not found");
  EXPECT_EQ(messages.messages[0].title, "Wadwright");
  EXPECT_TRUE(messages.messages[0].plain);
  EXPECT_TRUE(form->Command3->isEnabled() && form->File1->isEnabled());
}
