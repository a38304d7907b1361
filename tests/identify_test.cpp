// Clicking a file: the checksum through the interpreter and the checksum tool, then the release.
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/file_list_box.h"
#include "app/text_box.h"
#include "identify/catalogue.h"
#include "support/form1_fixture.h"

namespace {

constexpr const char* kUnknown = "This is an unknown version or not a valid IWAD. I cannot patch this -sorry!";

// What the fake checksum tool prints for a file is what the file holds.
QByteArray toolOutput(const char* checksum, const char* name) { return QByteArray(checksum) + "  " + name + "\n"; }

QStringList captions(Form1* form, int first, int last) {
  QStringList all;
  for (int number = first; number <= last; ++number) all << form->Command(number)->text();
  return all;
}

}  // namespace

class IdentifyTest : public Form1Fixture {
 protected:
  void identify(const char* checksum) {
    work.write("x.wad", toolOutput(checksum, "x.wad"));
    if (!form) openWindow();
    click("x.wad");
  }
};

TEST_F(IdentifyTest, AnUpdatableReleaseOffersTheUpdate) {
  installFakeChecksumTool();
  identify("54978d12de87f162b9bcc011676cb3c0");
  EXPECT_EQ(form->HashCommand, "md5sum.exe x.wad > md5tmp.txt");
  EXPECT_TRUE(form->Frame1->isVisible());
  EXPECT_EQ(form->Label1->text(), "DOOM V1.666");
  EXPECT_EQ(form->Label2->text(), "You should update this Version to 'ULTIMATE DOOM'");
  EXPECT_TRUE(form->Label4->isVisible());
  EXPECT_EQ(form->Label4->text(), "This will create the file 'udoom.wad'");
  EXPECT_TRUE(form->Command2->isVisible() && form->Command2->isEnabled());
  EXPECT_EQ(form->TargetFile, "udoom.wad");
  EXPECT_EQ(form->PatchFile, " patches\\d1_1666_ud");
  EXPECT_FALSE(form->Text1->isVisible());
  for (int number = 4; number <= 13; ++number) EXPECT_FALSE(form->Command(number)->isVisible());
  EXPECT_TRUE(messages.messages.isEmpty());
  EXPECT_FALSE(work.exists("md5tmp.txt"));
  EXPECT_GE(form->Label1->width(), QFontMetrics(form->Label1->font()).horizontalAdvance("DOOM V1.666"));
}

TEST_F(IdentifyTest, UltimateDoomOffersTheDoomBackdateSetAndKeepsTheUpdateTarget) {
  installFakeChecksumTool();
  identify("792fd1fea023d61210857089a7c1e351");  // DOOM V1.2 leaves an update target behind
  identify("c4fe9fd920207691a9f493668e0a2083");
  EXPECT_EQ(form->Label1->text(), "Ultimate Doom");
  EXPECT_EQ(form->Label2->text(), "Would You like to try one of the historic versions?");
  EXPECT_EQ(captions(form.get(), 4, 8), (QStringList{"V1.1", "V1.2", "V1.666", "V1.8", "V1.9"}));
  for (int number = 4; number <= 8; ++number)
    EXPECT_TRUE(form->Command(number)->isVisible() && form->Command(number)->isEnabled());
  for (int number = 9; number <= 13; ++number) EXPECT_FALSE(form->Command(number)->isVisible());
  EXPECT_FALSE(form->Command2->isVisible() || form->Command2->isEnabled() || form->Label4->isVisible());
  EXPECT_TRUE(form->Text1->isVisible());
  EXPECT_EQ(form->Text1->text(), noteText(Note::DoomBackdate));
  EXPECT_TRUE(form->Text1->text().contains("interest.\r\n\r\n DOOM Version 1.1   = d1_11.wad\r\n"));
  EXPECT_EQ(form->TargetFile, "udoom.wad");
  EXPECT_EQ(form->PatchFile, " patches\\d1_12_ud");
}

TEST_F(IdentifyTest, Doom2V19OffersTheDoom2BackdateSet) {
  installFakeChecksumTool();
  identify("25e1459ca71d321525f84628f45ca8cd");
  EXPECT_EQ(form->Label1->text(), "Doom2 V1.9");
  EXPECT_EQ(captions(form.get(), 9, 13), (QStringList{"V1.666", "V1.666 German", "V1.7", "V1.7a", "V1.8"}));
  for (int number = 9; number <= 13; ++number) EXPECT_TRUE(form->Command(number)->isVisible());
  for (int number = 4; number <= 8; ++number) EXPECT_FALSE(form->Command(number)->isVisible());
  EXPECT_EQ(form->Text1->text().split("\r\n")[3], " DOOM2 Version 1.666 german = d2_16ger.wad");
}

TEST_F(IdentifyTest, PlutoniaOffersNothing) {
  installFakeChecksumTool();
  identify("75c8cf89566741fa9d22447604053bd7");
  EXPECT_TRUE(form->Frame1->isVisible());
  EXPECT_EQ(form->Label1->text(), "Final Doom - Plutonia Experiment V1.9");
  EXPECT_EQ(form->Label2->text(), "-no other versions available-");
  EXPECT_FALSE(form->Label4->isVisible() || form->Command2->isVisible() || form->Text1->isVisible());
  for (int number = 4; number <= 13; ++number) EXPECT_FALSE(form->Command(number)->isVisible());
}

TEST_F(IdentifyTest, TheLastSharewareShowsItsNoteAndKeepsItsTrailingBlank) {
  installFakeChecksumTool();
  identify("f0cefca49926d00903cf57551d901abe");
  EXPECT_EQ(form->Label2->text(), "This is the most recent shareware IWAD ");
  EXPECT_TRUE(form->Text1->isVisible());
  EXPECT_EQ(form->Text1->text(), noteText(Note::Shareware));
}

TEST_F(IdentifyTest, AnythingButAnExactLowercaseChecksumIsUnknown) {
  installFakeChecksumTool();
  for (const char* output : {"C4FE9FD920207691A9F493668E0A2083", " c4fe9fd920207691a9f493668e0a2083",
                             "c4fe9fd920207691a9f493668e0a208", "xc4fe9fd920207691a9f493668e0a2083",
                             "md5sum.exe: x.wad: Input/output error, and more"}) {
    messages.messages.clear();
    identify(output);
    EXPECT_EQ(messages.texts(), QStringList{kUnknown}) << output;
    EXPECT_EQ(messages.messages[0].title, "Wadwright");
    EXPECT_TRUE(messages.messages[0].plain);
    EXPECT_EQ(form->Label1->text(), "");
    expectNeutralLook();
    EXPECT_FALSE(work.exists("md5tmp.txt"));
  }
}

TEST_F(IdentifyTest, AStaleChecksumFileIsNeverRead) {
  installFakeChecksumTool();
  work.write("md5tmp.txt", "c4fe9fd920207691a9f493668e0a2083  stale\n");
  identify("00000000000000000000000000000000");
  EXPECT_EQ(messages.texts(), QStringList{kUnknown});

  // Even when the tool writes nothing at all.
  QFile::remove(toolFolder.path() + "/md5sum.exe");
  work.write("md5tmp.txt", "c4fe9fd920207691a9f493668e0a2083  stale\n");
  messages.messages.clear();
  click("x.wad");
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_EQ(messages.messages[0].text, "I could not find out the checksum of 'x.wad'.\ncommand.com: md5sum.exe was not found");
  EXPECT_NE(form->Label1->text(), "Ultimate Doom");
  expectNeutralLook();
  EXPECT_FALSE(work.exists("md5tmp.txt"));
}

TEST_F(IdentifyTest, AMissingInterpreterIsSaidAndTheWindowStaysUsable) {
  work.write("x.wad", "x");
  openWindow();
  click("x.wad");
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_EQ(messages.messages[0].text,
            "I could not start the command interpreter 'command.com', so I cannot identify 'x.wad':\n"
            "command.com was not found");
  expectNeutralLook();
  EXPECT_FALSE(work.exists("md5tmp.txt"));
  installFakeChecksumTool();  // once it is there, the same window identifies the file
  identify("75c8cf89566741fa9d22447604053bd7");
  EXPECT_EQ(form->Label1->text(), "Final Doom - Plutonia Experiment V1.9");
}

TEST_F(IdentifyTest, ShortOutputIsNotAChecksum) {
  installFakeChecksumTool();
  identify("c4fe9fd9");
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_TRUE(messages.messages[0].text.startsWith("I could not find out the checksum of 'x.wad'."));
  expectNeutralLook();
  EXPECT_FALSE(work.exists("md5tmp.txt"));
}

TEST_F(IdentifyTest, TheRealToolsChecksumNamesWithBlanksAndShellCharacters) {
  installRealTools();
  QStringList names{"my doom.wad", "a>b.wad", "x & y;z|w.wad", "$(touch pwned).wad", "`touch pwned`.wad", "-rf.wad",
                    "d\xc3\xa9mo.wad"};
  for (const QString& name : names) work.write(name, name.toUtf8() + " payload");
  openWindow();
  for (const QString& name : names) {
    messages.messages.clear();
    click(name);
    QProcess coreutils;
    coreutils.start("md5sum", {"--", name});
    coreutils.waitForFinished();
    EXPECT_EQ(form->FileHash, QString::fromLatin1(coreutils.readAllStandardOutput().left(32))) << name.toStdString();
    EXPECT_EQ(messages.texts(), QStringList{kUnknown}) << name.toStdString();
  }
  EXPECT_EQ(form->HashCommand, "md5sum.exe \"d\xc3\xa9mo.wad\" > md5tmp.txt");
  QStringList after = work.entries();
  EXPECT_EQ(after.size(), names.size()) << after.join(", ").toStdString();  // nothing else was written
}

TEST_F(IdentifyTest, NamesThatCannotBePassedAreRefused) {
  installRealTools();
  work.write("say \"hi\".wad", "x");
  work.write("back\\slash.wad", "x");
  openWindow();
  click("say \"hi\".wad");
  click("back\\slash.wad");
  ASSERT_EQ(messages.messages.size(), 2);
  EXPECT_TRUE(messages.messages[0].text.startsWith("The name 'say \"hi\".wad' cannot be handed to the checksum tool safely."));
  EXPECT_EQ(form->HashCommand, "");
  expectNeutralLook();
}

TEST_F(IdentifyTest, AFileDeletedAfterListingIsSaid) {
  installRealTools();
  work.write("gone.wad", "x");
  openWindow();
  QFile::remove("gone.wad");
  click("gone.wad");
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_TRUE(messages.messages[0].text.startsWith("I cannot find 'gone.wad' in this folder any more"));
  expectNeutralLook();
}

TEST_F(IdentifyTest, AClickWhileTheToolRunsEndsWithTheLastFileShownAlone) {
  installFakeChecksumTool();
  work.write("a.wad", toolOutput("54978d12de87f162b9bcc011676cb3c0", "a.wad"));
  work.write("b.wad", toolOutput("25e1459ca71d321525f84628f45ca8cd", "b.wad"));
  openWindow();
  qputenv("FAKE_MD5_DELAY", "0.4");
  bool busyCursor = false;
  QTimer::singleShot(150, [&] {
    busyCursor = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    click("b.wad");
  });
  click("a.wad");
  EXPECT_TRUE(busyCursor);
  EXPECT_FALSE(QApplication::overrideCursor());
  EXPECT_TRUE(messages.messages.isEmpty());
  EXPECT_EQ(form->Label1->text(), "Doom2 V1.9");
  EXPECT_EQ(form->FileHash, "25e1459ca71d321525f84628f45ca8cd");
  EXPECT_FALSE(form->Command2->isVisible());  // nothing of a.wad's row is left
  EXPECT_EQ(form->TargetFile, "");
  EXPECT_FALSE(work.exists("md5tmp.txt"));
}

TEST_F(IdentifyTest, RefreshWhileTheToolRunsLeavesTheWindowNeutral) {
  installFakeChecksumTool();
  work.write("a.wad", toolOutput("54978d12de87f162b9bcc011676cb3c0", "a.wad"));
  openWindow();
  qputenv("FAKE_MD5_DELAY", "0.3");
  QTimer::singleShot(100, [&] { QTest::mouseClick(form->Command1, Qt::LeftButton); });
  click("a.wad");
  expectNeutralLook();
  EXPECT_TRUE(messages.messages.isEmpty());
  EXPECT_FALSE(work.exists("md5tmp.txt"));
}

TEST_F(IdentifyTest, TheSameFileTwiceIsIdentifiedTwice) {
  installFakeChecksumTool();
  identify("f0cefca49926d00903cf57551d901abe");
  form->Label1->setText("changed");
  click("x.wad");
  EXPECT_EQ(form->Label1->text(), "DOOM Shareware 1.9");
}
