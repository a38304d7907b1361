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

constexpr const char* kDoomV1666 = "54978d12de87f162b9bcc011676cb3c0";
constexpr const char* kDoomV11 = "981b03e6d1dc033301aa3095acc437ce";
constexpr const char* kRerelease2024 = "4461d4511386518e784c647e3128e7bc";

using MainWindowTest = Form1Fixture;

TEST_F(MainWindowTest, ARowShowsItsReleaseAndExactlyItsOffers) {
  // The checksum, the release, whether "Update it!" is offered, the backdate buttons offered, and the note.
  const std::tuple<const char*, QString, bool, QStringList, Note> cases[] = {
      {kUltimate, "Ultimate Doom", false, {"V1.1", "V1.2", "V1.666", "V1.8", "V1.9"}, Note::DoomBackdate},
      {kDoom2, "Doom2 V1.9", false, {"V1.666", "V1.666 German", "V1.7", "V1.7a", "V1.8"}, Note::Doom2Backdate},
      {"b77ca6a809c4fae086162dad8e7a1335", "Final Doom - Plutonia Experiment Classic Complete (PlayStation 3, USA)", true, {},
       Note::None},
      {"7912931e44c7d56e021084a256659800", "DOOM BFG Edition (Xbox 360)", false, {}, Note::None},
  };
  work.write("x.wad", "");
  openWindow();
  for (const auto& [checksum, release, update, backdates, note] : cases) {
    work.write("x.wad", fakeRelease(checksum));
    clickEntry(*form, "x.wad");
    EXPECT_TRUE(form->Frame1->isVisible());
    EXPECT_EQ(form->Label1->text(), release);
    for (QLabel* label : {form->Label1, form->Label2}) {  // whole, inside the frame, one below the other
      EXPECT_TRUE(label->wordWrap() ? label->height() >= label->heightForWidth(label->width())
                                    : label->width() >= label->sizeHint().width());
      EXPECT_LE(label->geometry().right(), form->Frame1->width() - 16) << release.toStdString();
    }
    EXPECT_LT(form->Label1->geometry().bottom(), form->Label2->y());
    EXPECT_EQ(form->Command2->isVisible() && form->Command2->isEnabled(), update);
    EXPECT_EQ(form->Label4->isVisible(), update);
    EXPECT_FALSE(update && form->Label4->wordWrap());  // the hint has the frame's width beside the button
    QStringList captions;
    for (int number = 4; number <= 13; ++number)
      if (form->Command(number)->isVisible() && form->Command(number)->isEnabled()) captions << form->Command(number)->text();
    EXPECT_EQ(captions, backdates);
    EXPECT_EQ(form->Text1->isVisible() ? form->Text1->text() : QString(), noteText(note));
  }
  EXPECT_EQ(form->Label2->text(), "This is a re-release with changed contents. I cannot patch it -sorry!");
  // An update target stays stored until another row or a backdate button replaces it.
  EXPECT_EQ(form->TargetFile, "plut_19.wad");
  // What a screen reader reads: the release shown, the list's label, what a button makes.
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form->Frame1)->text(QAccessible::Name), "This IWAD is: " + form->Label1->text());
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form->Frame1)->text(QAccessible::Description), form->Label2->text());
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form->File1)->text(QAccessible::Name), "Please select an IWAD:");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form->Command(4))->text(QAccessible::Description), "Makes d1_11.wad, DOOM Version 1.1");

  tools.installReal({"md5sum.exe", "sha1sum.exe"});  // a file in no row: its real checksums are shown
  work.write("x.wad", "hello");
  clickEntry(*form, "x.wad");
  EXPECT_EQ(messages.texts, QStringList{"This is an unknown version or not a valid IWAD. I cannot patch this -sorry!\n"
                                        "It is a web page, not a game file: the download failed."});
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
    EXPECT_EQ(listed(), (QStringList{"d1_2.wad", "d1_1666.wad", "DOOM.WAD", "linked.wad", "two\nlines.wad"}));
  }
  clickEntry(*form, "two\u240Alines.wad");  // shown on one line, and refused by its real name
  EXPECT_TRUE(messages.texts.value(0).startsWith("The name 'two\nlines.wad' cannot be handed to the checksum tool safely."));
}

// Every way of changing the selection identifies afresh or returns to the neutral look, and ends
// a tool still at work on the file selected before.
TEST_F(MainWindowTest, EveryChangeOfTheSelectionIdentifiesAfreshAndEndsAToolThatHangs) {
  // hang.wad's and c.wad's identifications work until they are ended; each start is noted.
  tools.install("md5sum.exe", "#!/bin/sh\necho \"$1\" >> started\ncase \"$1\" in hang.wad|c.wad) exec sleep 1000;; esac\n"
                              "exec cat -- \"$1\"\n");
  work.write("a.wad", fakeRelease(kUltimate));
  work.write("b.wad", fakeRelease(kDoom2));
  work.write("c.wad", fakeRelease(kDoomV1666));
  work.write("hang.wad", "x");
  openWindow();
  // A drag or a right click changes the selection as the keys do, by the list's own signal.
  QWidget* list = form->File1->viewport();
  clickEntry(*form, "a.wad");
  EXPECT_EQ(form->Label1->text(), "Ultimate Doom");
  QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(5, list->height() - 5));  // on no entry
  settle();
  EXPECT_EQ(form->File1->selectedName(), "");
  expectNeutralLook();
  form->File1->setFocus();
  QTest::keyClick(form->File1, Qt::Key_Down);
  settle();
  EXPECT_EQ(form->Label1->text(), form->File1->selectedName() == "a.wad" ? "Ultimate Doom" : "Doom2 V1.9");

  // Whether the checksum tool has been started `starts` times; asked from inside the window's wait
  // for the tool at work.
  QTimer poll;
  const auto started = [&](int starts) { return [&, starts] { return work.read("started").count('\n') >= starts; }; };
  bool busy = false;
  QElapsedTimer clock;
  QFile::remove("started");
  once(poll, started(1), [&] {
    busy = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    clock.start();
    once(poll, started(2), [&] { clickEntry(*form, "b.wad"); });  // and another while c.wad is worked out
    clickEntry(*form, "c.wad");
  });
  clickEntry(*form, "hang.wad");
  EXPECT_TRUE(busy);
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_EQ(form->Label1->text(), "Doom2 V1.9");
  EXPECT_FALSE(form->Command2->isVisible());  // nothing of c.wad's row is left
  EXPECT_FALSE(QApplication::overrideCursor());
  EXPECT_TRUE(messages.texts.isEmpty());
  EXPECT_FALSE(work.exists("md5tmp.txt"));

  // "refresh view" ends it at once too: the folder is read again, the window neutral.
  QFile::remove("started");
  once(poll, started(1), [&] {
    QFile::remove("c.wad");
    QTest::mouseClick(form->Command1, Qt::LeftButton);
  });
  clock.restart();
  clickEntry(*form, "hang.wad");
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_EQ(listed(), (QStringList{"a.wad", "b.wad", "hang.wad"}));
  expectNeutralLook();
}

TEST_F(MainWindowTest, ExplorerGetsTheProgramFolderUnquotedOrSaysWhyNot) {
  openWindow();
  QTest::mouseClick(form->Command3, Qt::LeftButton);
  EXPECT_EQ(messages.texts, QStringList{"I could not open the folder '" + tools.path() + "' in the file manager:\nexplorer was not found"});

  // One that failed (a desktop with no file manager): what it said, and the folder, are shown.
  tools.install("explorer", "#!/bin/sh\necho 'explorer: xdg-open: no method available' >&2\nexit 3\n");
  messages.texts.clear();
  QTest::mouseClick(form->Command3, Qt::LeftButton);
  EXPECT_EQ(messages.texts, QStringList{"I could not open the folder '" + tools.path() + "' in the file manager:\n"
                                        "explorer: xdg-open: no method available"});

  // The window waits for explorer's end, so what it was given is there once the click is handled.
  tools.install("explorer", "#!/bin/sh\nprintf '%s|' \"$@\" > record\n");
  QTest::mouseClick(form->Command3, Qt::LeftButton);
  EXPECT_EQ(work.read("record"), (tools.path().split(' ').join('|') + "|").toLocal8Bit());  // blanks split it

  // A program folder whose name is not valid text: its own explorer, led to that very folder.
  runTool("sh", {"-c", "d=$(printf 'n\\377u'); mkdir \"$d\"; printf '#!/bin/sh\\nh=$PWD; cd \"$1\" && pwd -P > \"$h/own\"\\n' "
                       "> \"$d/explorer\"; chmod +x \"$d/explorer\""});
  const QByteArray own = QFile::encodeName(work.path()) + "/n\xffu";
  form = std::make_unique<Form1>(own);
  form->show();
  QTest::mouseClick(form->Command3, Qt::LeftButton);
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
    clickEntry(*form, "mine.wad");
  }
  QByteArray source = fakeRelease(kUltimate) + QByteArray(300000, 'u');
  QByteArray older = QByteArray(source).replace(0, 32, kDoomV11).replace(100, 5000, QByteArray(9000, 'o'));
};

TEST_F(PatchInWindowTest, EveryMadeFileIsCheckedBeforeItIsAnnounced) {
  for (const char* patch : {"patches/d1_ud_12", "patches/d1_ud_18"}) work.write(patch, bsdiffPatch(source, older));  // they make DOOM V1.1
  tools.install("md5sum.exe", "#!/bin/sh\ncase \"$1\" in d1_18.wad) echo 'disk on fire' >&2; exit 3;; esac\nexec cat -- \"$1\"\n");
  work.write("d1_1666.wad", "theirs");  // and its patch file is missing: what is there is refused first, as the design has it
  const std::pair<int, QString> cases[] = {  // the button, what is said
      {5, "'d1_12.wad' should have been DOOM V1.2, but it is not: the patch file 'patches/d1_ud_12' does not fit the "
          "selected file 'mine.wad', or it is damaged. I removed it: nothing was kept."},
      {7, "d1_18.wad was created, but I could not check that it is DOOM V1.8. I have kept it.\n"
          "I could not find out the checksum of 'd1_18.wad'.\ndisk on fire"},
      {6, "Can't continue. The file that I was going to create -'d1_1666.wad'- already exists!"},
  };
  for (const auto& [button, said] : cases) {
    clickEntry(*form, "mine.wad");
    clickButton(button);
    EXPECT_EQ(messages.texts.last(), said);
  }
  EXPECT_EQ(work.entries(), (QStringList{"d1_1666.wad", "d1_18.wad", "mine.wad", "other.wad", "patches"}));

  // Replaced after its identification: nothing is run, nothing made.
  clickEntry(*form, "mine.wad");
  work.write("mine.wad", older);
  clickButton(4);
  EXPECT_EQ(messages.texts.last(), "'mine.wad' has changed since I identified it, so 'd1_11.wad' was not created. "
                                     "Please select the file again.");
  EXPECT_FALSE(work.exists("d1_11.wad"));
}

TEST_F(PatchInWindowTest, WhileThePatchIsWrittenTheWindowWaitsThenStartsAfreshAndClosingItLeavesNothing) {
  // The patch tool waits, once started, until the clicks below are done.
  tools.install("bspatch.exe", "#!/bin/sh\n: > started\nfor i in $(seq 400); do [ -e clicked ] && break; sleep 0.05; done\n"
                               "exec '" + QFile::encodeName(builtTool("bspatch.exe")) + "' \"$@\"\n");
  QTimer clicks;
  once(clicks, [&] { return work.exists("started"); }, [&] {
    clickEntry(*form, "other.wad");                       // the list is locked: no identification
    QTest::mouseClick(form->Command1, Qt::LeftButton);    // and so is "refresh view"
    QTest::mouseClick(form->Command(5), Qt::LeftButton);  // and every other action
    work.write("clicked", "");
  });
  clickButton(4);
  for (const char* marker : {"started", "clicked"}) QFile::remove(marker);
  EXPECT_EQ(messages.texts, QStringList{"d1_11.wad was sucessully created!"});
  EXPECT_EQ(work.read("d1_11.wad"), older);
  EXPECT_EQ(listed(), (QStringList{"d1_11.wad", "mine.wad", "other.wad"}));
  expectNeutralLook();

  // Closed while the new file is checked: the tool is ended, and nothing of the new file is left.
  // (Closed while the tool writes, the window does the same: --make's ending shows both stages.)
  tools.installReal({"bspatch.exe"});
  tools.install("md5sum.exe", "#!/bin/sh\ncase \"$1\" in d1_12.wad) echo $$ > pid.part; mv pid.part pid; exec sleep 1000;; esac\n"
                              "exec cat -- \"$1\"\n");
  work.write("patches/d1_ud_12", bsdiffPatch(source, older));
  clickEntry(*form, "mine.wad");
  QTimer::singleShot(0, [&] { clickButton(5); });
  QTimer poll;
  once(poll, [&] { return work.exists("pid"); }, [&] { form->close(); });
  QTimer hung;  // goes with this test, so that it never stops a later test's event loops
  QObject::connect(&hung, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  hung.start(20000);
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(waitUntilGone(work.read("pid").toInt()));
  EXPECT_EQ(messages.texts.size(), 1);
  EXPECT_EQ(work.entries(), (QStringList{"d1_11.wad", "mine.wad", "other.wad", "patches", "pid"}));
}

// A button whose patch file only the collection has: asked first, then fetched with a progress
// dialog, then made; declined, failed or cancelled, nothing is left and the window goes on. The
// stand-in fetch tool copies from the folder named as the source, as the real one would.
TEST_F(PatchInWindowTest, TheCollectionsFileIsFetchedOnlyWhenThePlayerSaysYes) {
  const QByteArray kex = fakeRelease(kRerelease2024);
  work.write("kex.wad", kex);
  work.write("mirror/doom.wad/kex-to-ud.vcdiff", bsdiffPatch(kex, source));
  qputenv("WADWRIGHT_PATCH_SOURCE", work.path("mirror").toUtf8());
  QTest::mouseClick(form->Command1, Qt::LeftButton);  // "refresh view": kex.wad is listed
  const QString question = "The patch file 'patches/doom.wad/kex-to-ud.vcdiff' (40 KB) is not here. Download it from " +
                           work.path("mirror/") + "?";
  // A stand-in that ends by itself does so once the progress dialog has been seen.
  const QByteArray seen = "for i in $(seq 400); do [ -e seen ] && break; sleep 0.05; done\n";
  const QByteArray hang = "echo \"100 $3\"\necho $$ > pid.part\nmv pid.part pid\nexec sleep 1000\n";
  // The stand-in fetch tool, what is pressed: "No" to the question, or once it runs "Cancel" or the
  // window's close; what is said last.
  const std::tuple<QByteArray, QString, QString> cases[] = {
      {"", "No", question},
      {seen + "echo 'The server answered 404 (Not Found).' >&2\nexit 1\n", "",
       "I could not fetch 'patches/doom.wad/kex-to-ud.vcdiff' from " + work.path("mirror/") + ".\nThe server answered 404 (Not Found)."},
      {hang, "Cancel", question},
      {"mkdir -p \"$(dirname \"$2\")\"\necho \"0 $3\"\n" + seen + "cp \"$1\" \"$2\"\necho \"$3 $3\"\n", "",
       "udoom.wad was sucessully created!"},
      {hang, "close", question},
  };
  for (const auto& [fetchTool, pressed, said] : cases) {
    QDir("patches/doom.wad").removeRecursively();
    for (const char* left : {"udoom.wad", "seen"}) QFile::remove(left);
    tools.install("fetch.exe", "#!/bin/sh\n" + fetchTool);
    messages.questionAnswer = pressed == "No" ? QMessageBox::No : QMessageBox::Yes;
    clickEntry(*form, "kex.wad");
    int shown = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      QProgressDialog* progress = form->findChild<QProgressDialog*>();
      if (!progress || !progress->isVisible()) return;
      shown = progress->maximum();
      if (!work.exists("seen")) work.write("seen", "");
      EXPECT_EQ(progress->labelText(), "Downloading 'patches/doom.wad/kex-to-ud.vcdiff' (40 KB) from " + work.path("mirror/") + " ...");
      if (pressed == "Cancel" && work.exists("pid")) progress->findChild<QPushButton*>()->click();
      if (pressed == "close" && work.exists("pid")) form->close();
    });
    poll.start(10);
    clickButton(2);
    EXPECT_EQ(shown, pressed == "No" ? 0 : 40050);
    EXPECT_EQ(messages.texts.last(), said);
    EXPECT_TRUE(form->File1->isEnabled());
    EXPECT_EQ(form->Command2->isEnabled(), said == question);  // as it was, where nothing was done
    if (fetchTool == hang) {
      EXPECT_TRUE(waitUntilGone(work.read("pid").toInt()));  // the tool is gone
      QFile::remove("pid");
    }
    const bool made = said.startsWith("udoom");
    EXPECT_EQ(work.read("udoom.wad"), made ? source : QByteArray());
    EXPECT_EQ(work.entries("patches/doom.wad"), made ? QStringList{"kex-to-ud.vcdiff"} : QStringList{});  // no part of one either
  }
}

// The collection's other releases: the hub as "Update it!" where the design offers no update, the
// rest in one list behind "Other releases...", the hub first, then the older ones, then the later;
// what is chosen there is made and checked.
TEST_F(PatchInWindowTest, TheCollectionsOtherReleasesAreOneList) {
  const QByteArray v13 = fakeRelease("66d686b1ed6d35ff103f15dbd30e0341") + QByteArray(30000, '3'),
                   v10 = fakeRelease("3117e399cdb4298eaa3941625f4b2923") + QByteArray(30000, '0');
  work.write("heretic.wad", v13);
  work.write("old.wad", v10);
  work.write("patches/heretic.wad/1.3-to-1.0.vcdiff", bsdiffPatch(v13, v10));
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
  };
  for (const auto& [file, update, list] : cases) {
    clickEntry(*form, file);
    EXPECT_EQ(form->Command2->isVisible(), update) << file.toStdString();
    EXPECT_EQ(listShown().join('|'), list.join('|')) << file.toStdString();
  }
  // old.wad, the last, is selected: its update's file is named.
  EXPECT_EQ(form->Label4->text(), "This will create the file 'heretic_1.3.wad'");
  clickEntry(*form, "mine.wad");  // Ultimate Doom: its five historic versions as the design's buttons, the rest listed
  EXPECT_EQ(listShown().value(0), "DOOM Pocket PC (doom_ppc.wad)");
  EXPECT_EQ(listShown().size(), 11);

  clickEntry(*form, "heretic.wad");
  form->OtherReleases->menu()->actions().first()->trigger();
  EXPECT_EQ(messages.texts, QStringList{"heretic_1.0.wad was sucessully created!"});
  EXPECT_EQ(work.read("heretic_1.0.wad"), v10);
}
