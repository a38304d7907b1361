// The main window driven as a user drives it, with the real tools (a stand-in checksum tool where a
// catalogue checksum is needed): what it shows, what it offers, and what it does to the folder.
#include <signal.h>

#include <cstdio>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "window/file_list_box.h"
#include "window/text_box.h"
#include "identify/catalogue.h"
#include "support/bsdiff_patch.h"
#include "support/form1_fixture.h"
#include "support/tool_run.h"

namespace {

constexpr const char* kUltimate = "c4fe9fd920207691a9f493668e0a2083";
constexpr const char* kDoomV1666 = "54978d12de87f162b9bcc011676cb3c0";
constexpr const char* kDoomV11 = "981b03e6d1dc033301aa3095acc437ce";
constexpr const char* kRerelease2024 = "4461d4511386518e784c647e3128e7bc";

QStringList visibleCaptions(Form1* form) {
  QStringList captions;
  for (int number = 4; number <= 13; ++number)
    if (form->Command(number)->isVisible() && form->Command(number)->isEnabled()) captions << form->Command(number)->text();
  return captions;
}

}  // namespace

using MainWindowTest = Form1Fixture;

// Debian's freedoom2.wad is read by the real tools; the other rows' checksums by the stand-in.
TEST_F(MainWindowTest, ARowShowsItsReleaseAndExactlyItsOffers) {
  // The checksum (none: Debian's freedoom2.wad), the release, the remark, whether "Update it!" is
  // offered, the backdate buttons offered, and the note.
  const std::tuple<const char*, QString, QString, bool, QStringList, Note> cases[] = {
      {kDoomV1666, "DOOM V1.666", "You should update this Version to 'ULTIMATE DOOM'", true, {}, Note::None},
      {kUltimate, "Ultimate Doom", "Would You like to try one of the historic versions?", false,
       {"V1.1", "V1.2", "V1.666", "V1.8", "V1.9"}, Note::DoomBackdate},
      {"25e1459ca71d321525f84628f45ca8cd", "Doom2 V1.9", "Would you like to try one of the historic versions?", false,
       {"V1.666", "V1.666 German", "V1.7", "V1.7a", "V1.8"}, Note::Doom2Backdate},
      {"f0cefca49926d00903cf57551d901abe", "DOOM Shareware 1.9", "This is the most recent shareware IWAD ", false, {}, Note::Shareware},
      {"b77ca6a809c4fae086162dad8e7a1335", "Final Doom - Plutonia Experiment Classic Complete (PlayStation 3, USA)",
       "This is a re-release with changed contents. You can update it to V1.9!", true, {}, Note::None},
      {"7912931e44c7d56e021084a256659800", "DOOM BFG Edition (Xbox 360)",
       "This is a re-release with changed contents. I cannot patch it -sorry!", false, {}, Note::None},
      {nullptr, "Freedoom: Phase 2 0.12.1", "This is Freedoom, a free game that takes DOOM's place. I cannot patch it -sorry!",
       false, {}, Note::None},
  };
  work.write("x.wad", "");
  QFile::link("/usr/share/games/doom/freedoom2.wad", "freedoom2.wad");  // from Debian's freedoom package
  openWindow();
  for (const auto& [checksum, release, remark, update, backdates, note] : cases) {
    if (checksum) work.write("x.wad", fakeRelease(checksum));
    else tools.installReal();
    click(checksum ? "x.wad" : "freedoom2.wad");
    EXPECT_TRUE(form->Frame1->isVisible());
    EXPECT_EQ(form->Label1->text(), release);
    EXPECT_EQ(form->Label2->text(), remark);
    for (QLabel* label : {form->Label1, form->Label2}) {  // whole, inside the frame, one below the other
      EXPECT_TRUE(label->wordWrap() ? label->height() >= label->heightForWidth(label->width())
                                    : label->width() >= label->sizeHint().width());
      EXPECT_LE(label->geometry().right(), form->Frame1->width() - 16) << release.toStdString();
    }
    EXPECT_LT(form->Label1->geometry().bottom(), form->Label2->y());
    EXPECT_EQ(form->Command2->isVisible() && form->Command2->isEnabled(), update);
    EXPECT_EQ(form->Label4->isVisible(), update);
    EXPECT_FALSE(update && form->Label4->wordWrap());  // the hint has the frame's width beside the button
    EXPECT_EQ(visibleCaptions(form.get()), backdates);
    EXPECT_EQ(form->Text1->isVisible() ? form->Text1->text() : QString(), noteText(note));
  }
  // An update target stays stored until another row or a backdate button replaces it.
  EXPECT_EQ(form->TargetFile, "plut_19.wad");
  EXPECT_EQ(form->PatchFile, " patches\\plutonia.wad\\psn_usa-to-1.9.vcdiff");
  EXPECT_EQ(form->Label4->text(), "This will create the file 'plut_19.wad'");
  EXPECT_EQ(form->HashCommand, "md5sum.exe freedoom2.wad > md5tmp.txt");
  EXPECT_TRUE(messages.texts.isEmpty());
  // What a screen reader reads: the release shown, the list's label, what a button makes.
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form->Frame1)->text(QAccessible::Name), "This IWAD is: Freedoom: Phase 2 0.12.1");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form->Frame1)->text(QAccessible::Description), form->Label2->text());
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form->File1)->text(QAccessible::Name), "Please select an IWAD:");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form->Command(4))->text(QAccessible::Description), "Makes d1_11.wad, DOOM Version 1.1");

  work.write("x.wad", "hello");
  click("x.wad");
  EXPECT_EQ(messages.texts, QStringList{"This is an unknown version or not a valid IWAD. I cannot patch this -sorry!"});
  EXPECT_EQ(messages.details, QStringList{"MD5: 5d41402abc4b2a76b9719d911017c592"});
  EXPECT_EQ(form->Label1->text(), "");
  expectNeutralLook();
}

TEST_F(MainWindowTest, ListsOnlyWadFilesThatAreOrLeadToRegularFiles) {
  for (QString name : {"doom2.wad", "DOOM.WAD", "d1_1666.wad", "d1_2.wad", "two\nlines.wad", "notes.txt", ".hidden.wad"}) work.write(name, "x");
  QDir().mkdir("folder.wad");
  QFile::link("nowhere", "dangling.wad");
  QFile::link("/dev/zero", "zero.wad");
  QFile::link(work.path("notes.txt"), "linked.wad");
  ::rename("doom2.wad", "bad\xff.wad");  // not valid UTF-8: cannot be named safely
  openWindow();
  for (QLocale locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany), QLocale::system()}) {
    QLocale::setDefault(locale);  // numbers by value, letter case ignored, in every one; the last puts it back
    form->File1->refresh();
    EXPECT_EQ(listed(), (QStringList{"d1_2.wad", "d1_1666.wad", "DOOM.WAD", "linked.wad", "two\u240Alines.wad"}));
  }
  click("two\u240Alines.wad");  // shown on one line, and refused by its real name
  EXPECT_TRUE(messages.texts.value(0).startsWith("The name 'two\nlines.wad' cannot be handed to the checksum tool safely."));
}

TEST_F(MainWindowTest, EveryChangeOfTheSelectionIdentifiesOrReturnsToNeutral) {
  work.write("a.wad", fakeRelease(kUltimate));
  work.write("c.wad", fakeRelease(kDoomV1666));
  openWindow();
  auto centre = [&](int row) { return form->File1->visualItemRect(form->File1->item(row)).center(); };
  QWidget* list = form->File1->viewport();

  click("a.wad");
  ASSERT_EQ(form->Label1->text(), "Ultimate Doom");
  QTest::mousePress(list, Qt::LeftButton, {}, centre(0));  // a drag from a.wad onto c.wad
  QMouseEvent move(QEvent::MouseMove, centre(1), list->mapToGlobal(centre(1)), Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(list, &move);
  QTest::mouseRelease(list, Qt::LeftButton, {}, centre(1));
  settle();
  EXPECT_EQ(form->File1->selectedName(), "c.wad");
  EXPECT_EQ(form->Label1->text(), "DOOM V1.666");
  EXPECT_TRUE(visibleCaptions(form.get()).isEmpty());

  click("a.wad", Qt::RightButton);
  EXPECT_EQ(form->Label1->text(), "Ultimate Doom");
  QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(5, list->height() - 5));  // on no entry
  settle();
  EXPECT_EQ(form->File1->selectedName(), "");
  expectNeutralLook();
  form->File1->setFocus();
  QTest::keyClick(form->File1, Qt::Key_Down);
  settle();
  EXPECT_EQ(form->Label1->text(), form->File1->selectedName() == "a.wad" ? "Ultimate Doom" : "DOOM V1.666");
  EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(MainWindowTest, ANewClickEndsAToolThatHangsAndTheLastFileAloneIsShown) {
  tools.install("md5sum.exe", "#!/bin/sh\ncase \"$1\" in hang.wad) exec sleep 1000;; esac\nsleep \"${FAKE_MD5_DELAY:-0}\"\nexec cat -- \"$1\"\n");
  work.write("hang.wad", "x");
  work.write("b.wad", fakeRelease("25e1459ca71d321525f84628f45ca8cd"));
  work.write("c.wad", fakeRelease(kDoomV1666));
  openWindow();
  bool busy = false;
  QElapsedTimer clock;
  QTimer::singleShot(300, [&] {
    busy = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    clock.start();
    qputenv("FAKE_MD5_DELAY", "0.3");
    click("c.wad");
    QTimer::singleShot(100, [&] { click("b.wad"); });  // and another while c.wad is worked out
  });
  click("hang.wad");
  EXPECT_TRUE(busy);
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_EQ(form->Label1->text(), "Doom2 V1.9");
  EXPECT_FALSE(form->Command2->isVisible());  // nothing of c.wad's row is left
  EXPECT_FALSE(QApplication::overrideCursor());
  EXPECT_TRUE(messages.texts.isEmpty());
  EXPECT_FALSE(work.exists("md5tmp.txt"));

  // "refresh view" ends it at once too: the folder is read again, the window neutral.
  QTimer::singleShot(100, [&] {
    QFile::remove("c.wad");
    QTest::mouseClick(form->Command1, Qt::LeftButton);
  });
  clock.restart();
  click("hang.wad");
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_EQ(listed(), (QStringList{"b.wad", "hang.wad"}));
  expectNeutralLook();
}

TEST_F(MainWindowTest, ExplorerGetsTheProgramFolderUnquotedOrSaysWhyNot) {
  openWindow();
  QTest::mouseClick(form->Command3, Qt::LeftButton);
  EXPECT_EQ(messages.texts, QStringList{"I could not open the folder '" + tools.path() + "' in the file manager:\nexplorer was not found"});

  // A desktop with no file manager: what xdg-open said, and the folder, are shown.
  tools.installReal({"explorer"});
  work.write("bin/xdg-open", "#!/bin/sh\necho 'xdg-open: no method available' >&2\nexit 3\n", true);
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", QFile::encodeName(work.path("bin")) + ":" + path);
  messages.texts.clear();
  QTest::mouseClick(form->Command3, Qt::LeftButton);
  qputenv("PATH", path);
  EXPECT_EQ(messages.texts, QStringList{"I could not open the folder '" + tools.path() + "' in the file manager:\nexplorer: the "
                                        "file manager did not open " + tools.path() + ": xdg-open: no method available"});

  tools.install("explorer", "#!/bin/sh\nprintf '%s|' \"$@\" > record.tmp\nmv record.tmp record\n");
  QTest::mouseClick(form->Command3, Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return work.exists("record"); }, 10000));
  EXPECT_EQ(work.read("record"), (tools.path().split(' ').join('|') + "|").toLocal8Bit());  // blanks split it

  // A program folder whose name is not valid text: its own explorer, led to that very folder.
  runTool("sh", {"-c", "d=$(printf 'n\\377u'); mkdir \"$d\"; printf '#!/bin/sh\\nh=$PWD; cd \"$1\" && pwd -P > \"$h/own.tmp\" && "
                       "mv \"$h/own.tmp\" \"$h/own\"\\n' > \"$d/explorer\"; chmod +x \"$d/explorer\""});
  const QByteArray own = QFile::encodeName(work.path()) + "/n\xffu";
  form = std::make_unique<Form1>(own);
  form->show();
  QTest::mouseClick(form->Command3, Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return work.exists("own"); }, 10000));
  EXPECT_EQ(work.read("own"), own + "\n");
}

class PatchInWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    tools.installReal({"bspatch.exe"});
    work.write("mine.wad", source);
    work.write("other.wad", fakeRelease(kDoomV1666));
    work.write("patches/d1_ud_11", bsdiffPatch(source, older));
    openWindow();
    click("mine.wad");
  }
  QByteArray source = fakeRelease(kUltimate) + QByteArray(300000, 'u');
  QByteArray older = QByteArray(source).replace(0, 32, kDoomV11).replace(100, 5000, QByteArray(9000, 'o'));
};

TEST_F(PatchInWindowTest, EveryMadeFileIsCheckedBeforeItIsAnnounced) {
  work.write("patches/doom.wad/1.666-to-ud.vcdiff", bsdiffPatch(fakeRelease(kDoomV1666), source));  // the collection's name
  work.write("kex.wad", fakeRelease(kRerelease2024));  // listed once the first action is done
  for (const char* patch : {"patches/d1_ud_12", "patches/d1_ud_18"}) work.write(patch, bsdiffPatch(source, older));  // they make DOOM V1.1
  tools.install("md5sum.exe", "#!/bin/sh\ncase \"$1\" in d1_18.wad) echo 'disk on fire' >&2; exit 3;; esac\nexec cat -- \"$1\"\n");
  work.write("d1_1666.wad", "theirs");  // and its patch file is missing: what is there is refused first, as the design has it
  const std::tuple<QString, int, QString> cases[] = {  // the file selected, the button, what is said
      {"other.wad", 2, "udoom.wad was sucessully created!"},
      {"mine.wad", 5, "'d1_12.wad' should have been DOOM V1.2, but it is not: the patch file 'patches/d1_ud_12' does not fit the "
                      "selected file 'mine.wad', or it is damaged. I removed it: nothing was kept."},
      {"mine.wad", 7, "d1_18.wad was created, but I could not check that it is DOOM V1.8. I have kept it.\n"
                      "I could not find out the checksum of 'd1_18.wad'.\ndisk on fire"},
      {"mine.wad", 6, "Can't continue. The file that I was going to create -'d1_1666.wad'- already exists!"},
  };
  for (const auto& [selected, button, said] : cases) {
    click(selected);
    clickButton(button);
    EXPECT_EQ(messages.texts.last(), said);
  }
  EXPECT_EQ(work.read("udoom.wad"), source);
  EXPECT_EQ(work.read("mine.wad"), source);

  // The 2024 re-release is offered Ultimate Doom too; without the collection's patch, and with
  // its download declined, nothing is run and nothing changes.
  QFile::remove("udoom.wad");
  click("kex.wad");
  EXPECT_EQ(form->TargetFile, "udoom.wad");
  messages.questionAnswer = QMessageBox::No;
  clickButton(2);
  EXPECT_EQ(messages.texts.last(), "The patch file 'patches/doom.wad/kex-to-ud.vcdiff' (40 KB) is not here. Download it from the "
                                   "public patch collection on GitHub?");
  EXPECT_TRUE(form->Command2->isVisible() && form->Command2->isEnabled());
  work.write("patches/doom.wad/kex-to-ud.vcdiff", bsdiffPatch(fakeRelease(kRerelease2024), source));
  click("kex.wad");
  clickButton(2);
  EXPECT_EQ(messages.texts.last(), "udoom.wad was sucessully created!");
  EXPECT_EQ(work.read("udoom.wad"), source);
  EXPECT_EQ(work.entries(), (QStringList{"d1_1666.wad", "d1_18.wad", "kex.wad", "mine.wad", "other.wad", "patches", "udoom.wad"}));

  // Replaced after its identification: nothing is run, nothing made.
  click("mine.wad");
  work.write("mine.wad", older);
  clickButton(4);
  EXPECT_EQ(messages.texts.last(), "'mine.wad' has changed since I identified it, so 'd1_11.wad' was not created. "
                                     "Please select the file again.");
  EXPECT_EQ(form->PatchCommand, "bspatch.exe kex.wad udoom.wad  patches\\doom.wad\\kex-to-ud.vcdiff");  // the last one run
  EXPECT_FALSE(work.exists("d1_11.wad"));
}

TEST_F(PatchInWindowTest, WhileThePatchIsWrittenTheWindowWaitsThenStartsAfreshAndClosingItLeavesNothing) {
  tools.install("bspatch.exe", "#!/bin/sh\nsleep 0.5\nexec \"$WADWRIGHT_REAL_BSPATCH\" \"$@\"\n");
  qputenv("WADWRIGHT_REAL_BSPATCH", builtTool("bspatch.exe").toLocal8Bit());
  QTimer::singleShot(150, [&] {
    click("other.wad");                                   // the list is locked: no identification
    QTest::mouseClick(form->Command1, Qt::LeftButton);    // and so is "refresh view"
    QTest::mouseClick(form->Command(5), Qt::LeftButton);  // and every other action
  });
  clickButton(4);
  EXPECT_EQ(messages.texts, QStringList{"d1_11.wad was sucessully created!"});
  EXPECT_EQ(form->PatchFile, " patches\\d1_ud_11");
  EXPECT_EQ(work.read("d1_11.wad"), older);
  EXPECT_EQ(listed(), (QStringList{"d1_11.wad", "mine.wad", "other.wad"}));
  expectNeutralLook();
  EXPECT_TRUE(form->File1->isEnabled());

  // Closed while the tool writes, or while the new file is checked: the tool is ended, and nothing
  // of the new file is left.
  qunsetenv("WADWRIGHT_REAL_BSPATCH");
  work.write("patches/d1_ud_12", bsdiffPatch(source, older));
  const std::pair<QByteArray, QByteArray> closings[] = {  // the patch tool, the checksum tool (none: the usual)
      {"#!/bin/sh\necho $$ > pid\nexec sleep 1000\n", ""},
      {"", "#!/bin/sh\ncase \"$1\" in d1_12.wad) echo $$ > pid; exec sleep 1000;; esac\nexec cat -- \"$1\"\n"}};
  for (const auto& [patchTool, checksumTool] : closings) {
    if (patchTool.isEmpty()) tools.installReal({"bspatch.exe"});
    else tools.install("bspatch.exe", patchTool);
    if (checksumTool.isEmpty()) tools.installFakeChecksum();
    else tools.install("md5sum.exe", checksumTool);
    openWindow();  // a closed window is gone for good
    click("mine.wad");
    QTimer::singleShot(0, [&] { clickButton(5); });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] { if (work.exists("pid")) form->close(); });
    poll.start(10);
    QTimer hung;  // ends with this round, so that it never stops a later test's event loops
    QObject::connect(&hung, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    hung.start(20000);
    EXPECT_EQ(QApplication::exec(), 0);
    QTest::qWait(100);
    EXPECT_NE(kill(work.read("pid").trimmed().toInt(), 0), 0);  // gone
    EXPECT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(work.entries(), (QStringList{"d1_11.wad", "mine.wad", "other.wad", "patches", "pid"}));
    QFile::remove("pid");
  }
}

// A button whose patch file only the collection has: asked first, then fetched with a progress
// dialog, then made; failed or cancelled, nothing is left and the window goes on. The stand-in
// fetch tool copies from the folder named as the source, as the real one would.
TEST_F(PatchInWindowTest, TheCollectionsFileIsFetchedOnlyWhenThePlayerSaysYes) {
  const QByteArray kex = fakeRelease(kRerelease2024);
  work.write("kex.wad", kex);
  work.write("mirror/doom.wad/kex-to-ud.vcdiff", bsdiffPatch(kex, source));
  qputenv("WADWRIGHT_PATCH_SOURCE", work.path("mirror").toUtf8());
  QTest::mouseClick(form->Command1, Qt::LeftButton);  // "refresh view": kex.wad is listed
  messages.questionAnswer = QMessageBox::Yes;
  const QString question = "The patch file 'patches/doom.wad/kex-to-ud.vcdiff' (40 KB) is not here. Download it from " +
                           work.path("mirror/") + "?";
  const QByteArray hang = "echo \"100 $3\"\necho $$ > pid\nexec sleep 1000\n";
  // The stand-in fetch tool, what is pressed once it runs ("Cancel" or the window's close), what is said last.
  const std::tuple<QByteArray, QString, QString> cases[] = {
      {"sleep 0.3\necho 'The server answered 404 (Not Found).' >&2\nexit 1\n", "",
       "I could not fetch 'patches/doom.wad/kex-to-ud.vcdiff' from " + work.path("mirror/") + ".\nThe server answered 404 (Not Found)."},
      {hang, "Cancel", question},
      {"mkdir -p \"$(dirname \"$2\")\"\necho \"0 $3\"\nsleep 0.3\ncp \"$1\" \"$2\"\necho \"$3 $3\"\n", "",
       "udoom.wad was sucessully created!"},
      {hang, "close", question},
  };
  for (const auto& [fetchTool, pressed, said] : cases) {
    QDir("patches/doom.wad").removeRecursively();
    QFile::remove("udoom.wad");
    tools.install("fetch.exe", "#!/bin/sh\n" + fetchTool);
    click("kex.wad");
    int shown = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      QProgressDialog* progress = form->findChild<QProgressDialog*>();
      if (!progress || !progress->isVisible()) return;
      shown = progress->maximum();
      EXPECT_EQ(progress->labelText(), "Downloading 'patches/doom.wad/kex-to-ud.vcdiff' (40 KB) from " + work.path("mirror/") + " ...");
      if (pressed == "Cancel" && work.exists("pid")) progress->findChild<QPushButton*>()->click();
      if (pressed == "close" && work.exists("pid")) form->close();
    });
    poll.start(10);
    clickButton(2);
    EXPECT_EQ(shown, 40050);
    EXPECT_EQ(messages.texts.last(), said);
    EXPECT_TRUE(form->File1->isEnabled());
    if (!pressed.isEmpty()) {
      EXPECT_TRUE(form->Command2->isEnabled());  // as it was
      EXPECT_NE(kill(work.read("pid").trimmed().toInt(), 0), 0);  // the tool is gone
      QFile::remove("pid");
    }
    const bool made = said.startsWith("udoom");
    EXPECT_EQ(work.read("patches/doom.wad/kex-to-ud.vcdiff"), made ? work.read("mirror/doom.wad/kex-to-ud.vcdiff") : QByteArray());
    EXPECT_EQ(work.read("udoom.wad"), made ? source : QByteArray());
    EXPECT_EQ(work.exists("patches/doom.wad"), made);
  }
  qunsetenv("WADWRIGHT_PATCH_SOURCE");
}

// The collection's other releases: the hub as "Update it!" where the design offers no update, the
// rest in one list behind "Other releases...", the hub first, then the older ones, then the later;
// what is chosen there is made and checked, by the SHA-1 where its release has only that.
TEST_F(PatchInWindowTest, TheCollectionsOtherReleasesAreOneList) {
  const QByteArray v13 = fakeRelease("66d686b1ed6d35ff103f15dbd30e0341") + QByteArray(30000, '3'),
                   v10 = fakeRelease("3117e399cdb4298eaa3941625f4b2923") + QByteArray(30000, '0'),
                   nerve = fakeRelease("967d5ae23daf45196212ae1b605da3b0") + QByteArray(30000, 'n'),
                   unity = fakeRelease("321e951f6cc6e9d51bc16eac53e0d001f0f3f338") + QByteArray(30000, '1');
  work.write("heretic.wad", v13);
  work.write("old.wad", v10);
  work.write("nerve.wad", nerve);
  work.write("patches/heretic.wad/1.3-to-1.0.vcdiff", bsdiffPatch(v13, v10));
  work.write("patches/nerve.wad/bfg-to-unity_1.1.vcdiff", bsdiffPatch(nerve, unity));
  form->File1->refresh();
  const auto listShown = [&] {
    QStringList entries;
    if (form->OtherReleases->isVisible() && form->OtherReleases->isEnabled())
      for (QAction* action : form->OtherReleases->menu()->actions()) entries << action->text();
    return entries;
  };
  // The file, whether "Update it!" is offered, and the list.
  const std::tuple<QString, bool, QStringList> cases[] = {
      {"heretic.wad", false, {"Heretic V1.0 (heretic_1.0.wad)", "Heretic V1.2 (heretic_1.2.wad)", "Heretic levels PWAD (heretic_pwad.wad)"}},
      {"old.wad", true, {}},
      {"nerve.wad", false, {"No Rest for the Living, Unity port V1.1 (nerve_unity_1.1.wad)", "No Rest for the Living, Unity port V1.2 (nerve_unity_1.2.wad)",
                            "No Rest for the Living, Unity port V1.3 (nerve_unity_1.3.wad)", "No Rest for the Living, Unity port V1.4 (nerve_unity_1.4.wad)",
                            "No Rest for the Living, re-release 2024 (nerve_kex.wad)"}},
  };
  for (const auto& [file, update, list] : cases) {
    click(file);
    EXPECT_EQ(form->Command2->isVisible(), update) << file.toStdString();
    EXPECT_EQ(listShown().join('|'), list.join('|')) << file.toStdString();
  }
  EXPECT_EQ(form->Label4->isVisible() ? form->Label4->text() : QString(), "");
  click("old.wad");
  EXPECT_EQ(form->Label4->text(), "This will create the file 'heretic_1.3.wad'");
  click("mine.wad");  // Ultimate Doom: its five historic versions as the design's buttons, the rest listed
  EXPECT_EQ(listShown().value(0), "DOOM Pocket PC (doom_ppc.wad)");
  EXPECT_EQ(listShown().size(), 11);

  for (const char* file : {"heretic.wad", "nerve.wad"}) {
    click(file);
    form->OtherReleases->menu()->actions().first()->trigger();
  }
  EXPECT_EQ(messages.texts, (QStringList{"heretic_1.0.wad was sucessully created!", "nerve_unity_1.1.wad was sucessully created!"}));
  EXPECT_EQ(work.read("heretic_1.0.wad"), v10);
  EXPECT_EQ(work.read("nerve_unity_1.1.wad"), unity);
}
