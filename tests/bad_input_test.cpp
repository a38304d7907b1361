// Bad input through the real program: odd names, odd files, broken tools and a hostile folder.
// Each case ends with a clear message where one is due, a usable window, and no file of the
// user's changed or created but the one the action names.
#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/file_list_box.h"
#include "support/bsdiff_patch.h"
#include "support/form1_fixture.h"

namespace {

constexpr const char* kUnknown = "This is an unknown version or not a valid IWAD. I cannot patch this -sorry!";

}  // namespace

class BadInputTest : public Form1Fixture {
 protected:
  // An Ultimate Doom stand-in (as the fake checksum tool sees it) and a patch to an older release.
  void prepareBackdate(const QString& folder = ".") {
    QByteArray source = "c4fe9fd920207691a9f493668e0a2083  fake\n" + QByteArray(300000, 'u');
    QByteArray older = source;
    older.replace(100, 5000, QByteArray(9000, 'o'));
    QDir(folder).mkpath("patches");
    writeFile(folder + "/ultimate.wad", source);
    writeFile(folder + "/patches/d1_ud_11", bsdiffPatch(source, older));
  }
  static void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }
  void useFakeChecksumAndRealPatchTool() {
    installFakeChecksumTool();
    installRealTools({"bspatch.exe"});
  }
};

TEST_F(BadInputTest, NamesTheShellWouldReadAreHandedOverAsTheyAre) {
  installRealTools();
  QStringList names{"a<b.wad", "semi;colon.wad", "pipe|line.wad", "it's.wad", "$HOME.wad", "-.wad", "%PATH%.wad"};
  for (const QString& name : names) work.write(name, name.toUtf8());
  openWindow();
  for (const QString& name : names) click(name);
  EXPECT_EQ(messages.texts(), QStringList(QList<QString>(names.size(), kUnknown)));
  EXPECT_EQ(work.entries().size(), names.size());
}

TEST_F(BadInputTest, ANameThatIsNotValidTextIsLeftOut) {
  // No tool could be handed such a name through the window's text, so it is not offered at all.
  installRealTools();
  int fd = ::open("bad\xff\xfe.wad", O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  ::close(fd);
  work.write("good.wad", "x");
  openWindow();
  ASSERT_EQ(form->File1->count(), 1);
  click("good.wad");
  EXPECT_EQ(messages.texts(), QStringList{kUnknown});
  ::unlink("bad\xff\xfe.wad");
}

TEST_F(BadInputTest, OddFilesGiveTheirOwnMessage) {
  installRealTools();
  work.write("outside-target", "elsewhere");
  QFile::link(work.path("outside-target"), "linked.wad");  // a link to a file elsewhere is read
  QFile::link("/proc/self/mem", "unreadable.wad");         // a file that cannot be read, even by root
  work.write("vanishing.wad", "x");
  QDir().mkdir("folder.wad");
  QFile::link("nowhere", "dangling.wad");
  openWindow();
  QStringList listed;
  for (int i = 0; i < form->File1->count(); ++i) listed << form->File1->item(i)->text();
  EXPECT_EQ(listed, (QStringList{"linked.wad", "unreadable.wad", "vanishing.wad"}));

  click("linked.wad");
  EXPECT_EQ(messages.texts(), QStringList{kUnknown});
  QProcess coreutils;
  coreutils.start("md5sum", {"outside-target"});
  coreutils.waitForFinished();
  EXPECT_EQ(form->FileHash, QString::fromLatin1(coreutils.readAllStandardOutput().left(32)));

  click("unreadable.wad");
  ASSERT_EQ(messages.messages.size(), 2);
  EXPECT_EQ(messages.messages[1].text,
            "I could not find out the checksum of 'unreadable.wad'.\nmd5sum.exe: unreadable.wad: Input/output error");

  QFile::remove("vanishing.wad");
  QFile::link("nowhere", "vanishing.wad");  // replaced by a dangling link after the listing
  click("vanishing.wad");
  ASSERT_EQ(messages.messages.size(), 3);
  EXPECT_TRUE(messages.messages[2].text.startsWith("I cannot find 'vanishing.wad' in this folder any more"));
  expectNeutralLook();
  EXPECT_FALSE(work.exists("md5tmp.txt"));
}

TEST_F(BadInputTest, BrokenCheckingToolsAreSaidAndTheWindowStaysUsable) {
  installRealTools({"command.com"});
  work.write("x.wad", "x");
  openWindow();
  struct Case {
    QByteArray script;
    QString expected;  // the start of the message
  } cases[] = {
      {"#!/bin/sh\nhead -c 3000 /dev/urandom\n", kUnknown},  // garbage is not a checksum
      {"#!/bin/sh\nkill -SEGV $$\n", "I could not find out the checksum of 'x.wad'.\nThe checksum tool ended abnormally."},
      {"#!/bin/sh\necho 'no such luck' >&2\nexit 4\n", "I could not find out the checksum of 'x.wad'.\nno such luck"},
      {"not a program at all", "I could not find out the checksum of 'x.wad'.\ncommand.com: cannot start md5sum.exe"},
  };
  for (const Case& c : cases) {
    messages.messages.clear();
    QFile::remove(toolFolder.path() + "/md5sum.exe");
    installTool("md5sum.exe", c.script);
    click("x.wad");
    ASSERT_EQ(messages.messages.size(), 1) << c.script.toStdString();
    EXPECT_TRUE(messages.messages[0].text.startsWith(c.expected)) << messages.messages[0].text.toStdString();
    expectNeutralLook();
    EXPECT_FALSE(work.exists("md5tmp.txt"));
  }
  QFile(toolFolder.path() + "/md5sum.exe").setPermissions(QFile::ReadOwner);
  messages.messages.clear();
  click("x.wad");
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_EQ(messages.messages[0].text, "I could not find out the checksum of 'x.wad'.\ncommand.com: " +
                                           toolFolder.path() + "/md5sum.exe is not executable");
}

TEST_F(BadInputTest, ClosingTheWindowEndsAToolThatNeverEnds) {
  installRealTools({"command.com"});
  installTool("md5sum.exe", "#!/bin/sh\necho $$ > \"$WADWRIGHT_TEST_PID\"\nexec sleep 1000\n");
  qputenv("WADWRIGHT_TEST_PID", work.path("pid").toLocal8Bit());
  work.write("x.wad", "x");
  openWindow();
  QTimer::singleShot(0, [&] { click("x.wad"); });
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (work.exists("pid")) form->close();
  });
  poll.start(10);
  QTimer::singleShot(20000, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(QApplication::exec(), 0);
  qunsetenv("WADWRIGHT_TEST_PID");
  pid_t tool = work.read("pid").trimmed().toInt();
  ASSERT_GT(tool, 0);
  QTest::qWait(100);
  EXPECT_NE(kill(tool, 0), 0);  // gone
  EXPECT_TRUE(messages.messages.isEmpty());
  EXPECT_FALSE(work.exists("md5tmp.txt"));
}

TEST_F(BadInputTest, ATargetThatAppearsAfterTheCheckIsNotOverwritten) {
  useFakeChecksumAndRealPatchTool();
  QFile::rename(toolFolder.path() + "/bspatch.exe", toolFolder.path() + "/real-bspatch");
  // Somebody else writes the file between the window's check and the tool's start.
  installTool("bspatch.exe", "#!/bin/sh\necho theirs > \"$2\"\nexec \"$(dirname \"$0\")/real-bspatch\" \"$@\"\n");
  prepareBackdate();
  openWindow();
  click("ultimate.wad");
  clickButton(4);
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_TRUE(messages.messages[0].text.startsWith("I could not create 'd1_11.wad'.\nbspatch.exe: "))
      << messages.messages[0].text.toStdString();
  EXPECT_EQ(work.read("d1_11.wad"), "theirs\n");
  EXPECT_EQ(work.entries(), (QStringList{"d1_11.wad", "patches", "ultimate.wad"}));
}

TEST_F(BadInputTest, OtherClicksWaitWhileAPatchIsWritten) {
  useFakeChecksumAndRealPatchTool();
  installTool("bspatch.exe", "#!/bin/sh\nsleep 0.5\nexec \"$WADWRIGHT_REAL_BSPATCH\" \"$@\"\n");
  qputenv("WADWRIGHT_REAL_BSPATCH", (builtProgramFolder() + "/bspatch.exe").toLocal8Bit());
  prepareBackdate();
  work.write("other.wad", "54978d12de87f162b9bcc011676cb3c0  other\n");
  openWindow();
  click("ultimate.wad");
  QTimer::singleShot(150, [&] {
    click("other.wad");                                        // the list is locked: no identification
    QTest::mouseClick(form->Command1, Qt::LeftButton);         // and so is "refresh view"
    QTest::mouseClick(form->Command(5), Qt::LeftButton);       // and every other action
  });
  clickButton(4);
  qunsetenv("WADWRIGHT_REAL_BSPATCH");
  EXPECT_EQ(messages.texts(), QStringList{"d1_11.wad was sucessully created!"});
  EXPECT_EQ(form->HashCommand, "md5sum.exe ultimate.wad > md5tmp.txt");
  EXPECT_FALSE(work.exists("d1_12.wad"));
  expectNeutralLook();
  EXPECT_TRUE(form->File1->isEnabled());
}

// A small file system of our own, so that the folder can be made full or read-only.
class TinyFolderTest : public BadInputTest {
 protected:
  void SetUp() override {
    if (mount("tmpfs", qPrintable(work.path()), "tmpfs", 0, "size=1m") != 0)
      GTEST_SKIP() << "mounting a small file system needs root";
    mounted = true;
    useFakeChecksumAndRealPatchTool();
  }
  void TearDown() override {
    form.reset();
    QDir::setCurrent("/");
    if (mounted) umount2(qPrintable(work.path()), MNT_DETACH);
    QDir::setCurrent(work.path());
  }
  bool mounted = false;
};

TEST_F(TinyFolderTest, AFullDiskLeavesNoHalfWrittenFile) {
  QDir::setCurrent(work.path());
  QByteArray source = "c4fe9fd920207691a9f493668e0a2083  fake\n" + QByteArray(100000, 'u');
  QDir().mkdir("patches");
  writeFile("ultimate.wad", source);
  writeFile("patches/d1_ud_11", bsdiffPatch(source, source + QByteArray(3 << 20, 'x')));  // 3 MB won't fit
  openWindow();
  click("ultimate.wad");
  clickButton(4);
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_TRUE(messages.messages[0].text.startsWith("I could not create 'd1_11.wad'.\nbspatch.exe: "));
  QString text = messages.messages[0].text;  // the tool may see it coming, or run into it
  EXPECT_TRUE(text.contains("free") || text.contains("No space left on device")) << text.toStdString();
  EXPECT_EQ(work.entries(), (QStringList{"patches", "ultimate.wad"}));
  EXPECT_EQ(work.read("ultimate.wad"), source);
}

TEST_F(TinyFolderTest, AReadOnlyFolderIsSaid) {
  QDir::setCurrent(work.path());
  prepareBackdate();
  openWindow();
  click("ultimate.wad");
  ASSERT_TRUE(form->Command(4)->isVisible()) << messages.texts().join("; ").toStdString();
  ASSERT_EQ(mount("tmpfs", qPrintable(work.path()), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=1m"), 0);
  clickButton(4);
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_TRUE(messages.messages[0].text.startsWith("I could not create 'd1_11.wad'.\nbspatch.exe: "));
  EXPECT_TRUE(messages.messages[0].text.contains("Read-only file system")) << messages.messages[0].text.toStdString();

  // Identifying needs the folder too: the checksum is written there.
  click("ultimate.wad");
  ASSERT_EQ(messages.messages.size(), 2);
  EXPECT_EQ(messages.messages[1].text, "I could not find out the checksum of 'ultimate.wad'.\n"
                                       "command.com: cannot write md5tmp.txt: Read-only file system");
  EXPECT_EQ(work.entries(), (QStringList{"patches", "ultimate.wad"}));
}
