// Opening IWADs where they are: a path at the start, a drop on the window, and a second Wadwright
// on the same folder.
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <ranges>

#include "window/file_list_box.h"
#include "window/frmsplash.h"
#include "window/start_place.h"
#include "window/start_up.h"
#include "support/demo_bytes.h"
#include "support/form1_fixture.h"
#include "support/tool_run.h"

class PlacesTest : public Form1Fixture {
 protected:
  void SetUp() override {
    work.write("games/doom.wad", fakeRelease(kUltimate));
  }
  // How the drop was taken, if it was; a file manager offers a move first.
  Qt::DropAction drop(const QList<QUrl>& urls, Qt::DropActions offered = Qt::MoveAction | Qt::CopyAction) {
    QMimeData data;
    data.setUrls(urls);
    // As the window system delivers a drop: the drag enters the window, then is let go.
    QDragEnterEvent enter(QPoint(300, 200), offered, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(form.get(), &enter);
    QDropEvent event(QPointF(300, 200), offered, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(form.get(), &event);
    settle();
    return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
  }
};

TEST_F(PlacesTest, StartsOnTheFolderOrFileItIsGivenOnceTheDisclaimerIsAccepted) {
  QDir().mkpath("elsewhere/sub");  // games/linkdir/.. is elsewhere, where the system opens the file
  QFile::link("../elsewhere/sub", "games/linkdir");
  work.write("elsewhere/doom.wad", fakeRelease(kDoom2));
  runTool("sh", {"-c", "mkdir \"$(printf 'n\\377u')\" && ln -s \"$(printf 'n\\377u')\" odd && cp games/doom.wad odd/"});
  const std::tuple<QString, QStringList, QString, QString> cases[] = {  // the path, the list, the release, what is said
      {work.path("games"), {"doom.wad"}, "---", ""},
      {work.path("games/doom.wad"), {"doom.wad"}, "Ultimate Doom", ""},
      {work.path("games/linkdir/../doom.wad"), {"doom.wad"}, "Doom2 V1.9", ""},
      {work.path("odd/doom.wad"), {"doom.wad"}, "Ultimate Doom", ""},  // its real folder's name is not valid text
      {work.path("nowhere.wad"), {}, "---", "I cannot open '" + work.path("nowhere.wad") + "': there is no such file or folder."},
      {"", {}, "---", ""},  // in the empty start folder, the list names the IWADs found elsewhere
  };
  for (const auto& [path, listedNames, release, said] : cases) {
    QDir::setCurrent(work.path());
    messages.texts.clear();
    form = std::make_unique<Form1>(QFile::encodeName(tools.path()));
    frmSplash disclaimer;
    startUp(*form, disclaimer, path.isEmpty() ? QStringList{} : QStringList{path});
    settle();
    EXPECT_FALSE(form->isVisible());
    disclaimer.Command2->click();  // "Yes, I understand."
    settle();
    EXPECT_TRUE(form->isVisible() && !disclaimer.isVisible());
    EXPECT_EQ(listed(), listedNames);
    EXPECT_EQ(form->Label1->text(), release);
    EXPECT_EQ(messages.texts, said.isEmpty() ? QStringList{} : QStringList{said});
  }
  // The empty start folder says what to do, in grey; the hint is no entry.
  QImage list = form->File1->viewport()->grab().toImage();
  EXPECT_TRUE(std::ranges::any_of(std::views::iota(0, list.width() * list.height()), [&](int i) {
    return list.pixelColor(i % list.width(), i / list.width()) == form->File1->palette().color(QPalette::Disabled, QPalette::Text);
  }));
  // The IWADs found elsewhere come from a search that the window does not wait for.
  EXPECT_TRUE(QTest::qWaitFor([&] {
    return form->File1->emptyHint().contains("Found on this computer: freedoom1.wad, freedoom2.wad.\nClick here, or press "
                                             "Enter, to open /usr/share/games/doom.");
  }, 10000)) << form->File1->emptyHint().toStdString();
  // A screen reader reads the hint as the list's description; a click or the keyboard opens the folder.
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form->File1)->text(QAccessible::Description), form->File1->emptyHint());
  QTest::mouseClick(form->File1->viewport(), Qt::LeftButton);
  settle();
  EXPECT_EQ(listed(), (QStringList{"freedoom1.wad", "freedoom2.wad"}));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form->File1)->text(QAccessible::Description), "");  // no hint any more
  form->openPlace(placeOf(work.path()));
  form->File1->setFoundIwads({"/usr/share/games/doom/freedoom1.wad", "/usr/share/games/doom/freedoom2.wad"});
  QTest::keyClick(form->File1, Qt::Key_Return);
  settle();
  EXPECT_EQ(listed(), (QStringList{"freedoom1.wad", "freedoom2.wad"}));
}

TEST_F(PlacesTest, ADroppedFileOrFolderIsOpenedAndAnythingElseIsSaid) {
  work.write("other/doom2.wad", fakeRelease(kDoom2));
  openWindow();
  EXPECT_EQ(drop({QUrl::fromLocalFile(work.path("games/doom.wad"))}), Qt::CopyAction);
  EXPECT_EQ(QDir::currentPath(), work.path("games"));
  EXPECT_EQ(form->Label1->text(), "Ultimate Doom");
  QFile::link("../other", work.path("games/linkdir"));  // the system's way through a link, not the text's
  drop({QUrl::fromLocalFile(work.path("games/linkdir/../other/doom2.wad")), QUrl::fromLocalFile(work.path("other/doom2.wad"))});
  EXPECT_EQ(QDir::currentPath(), work.path("other"));  // files of one folder, and nothing said: see the two messages below
  drop({QUrl::fromLocalFile(work.path("games"))});
  EXPECT_EQ(listed(), QStringList{"doom.wad"});
  EXPECT_EQ(form->File1->toolTip(), work.path("games"));  // the folder it works in
  expectNeutralLook();
  EXPECT_EQ(drop({QUrl::fromLocalFile(work.path("other"))}, Qt::MoveAction), Qt::IgnoreAction);  // never a move
  EXPECT_EQ(drop({QUrl("https://example.org/doom.wad")}), Qt::IgnoreAction);
  drop({QUrl::fromLocalFile(work.path("games/doom.wad")), QUrl::fromLocalFile(work.path("other/doom2.wad"))});
  EXPECT_EQ(messages.texts, (QStringList{"I can only open files and folders of this computer, not 'https://example.org/doom.wad'.",
                                           "Please drop one IWAD, or files of one folder, or one folder."}));
  EXPECT_EQ(listed(), QStringList{"doom.wad"});

  // While a tool runs, a drop changes nothing.
  qputenv("FAKE_MD5_HOLD", work.path("go").toUtf8());
  QTimer poll;
  once(poll, [&] { return work.exists("go.started"); }, [&] {
    drop({QUrl::fromLocalFile(work.path("other"))});
    work.write("go", "");
  });
  clickEntry(*form, "doom.wad");
  EXPECT_EQ(QDir::currentPath(), work.path("games"));
  EXPECT_EQ(form->Label1->text(), "Ultimate Doom");

  // Deleted and made again, the folder is found again by its path.
  QDir(work.path("games")).removeRecursively();
  work.write("games/new.wad", "");
  QTest::mouseClick(form->Command1, Qt::LeftButton);
  EXPECT_EQ(listed(), QStringList{"new.wad"});
}

// The other Wadwright is `wadwright --identify`, which takes the same lock on the folder.
TEST_F(PlacesTest, TwoWadwrightsOnOneFolderNeverMixTheirChecksums) {
  QDir::setCurrent("games");
  work.write("games/a.wad", fakeRelease(kUltimate));
  work.write("games/b.wad", fakeRelease(kDoom2));
  tools.installReal({"wadwright"});
  qputenv("FAKE_MD5_HOLD", work.path("go").toUtf8());  // the other's tool works until the window waits
  openWindow();
  ToolRun other(tools.path() + "/wadwright", {"--identify", "b.wad"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return work.exists("go.started"); }, 20000));
  QTimer poll;
  once(poll, [] { return QApplication::overrideCursor() != nullptr; }, [&] { work.write("go", ""); });
  clickEntry(*form, "a.wad");
  EXPECT_EQ(QString::fromUtf8(other.wait().out), "b.wad\tDoom2 V1.9\tWould you like to try one of the historic versions?\n");
  EXPECT_EQ(form->Label1->text(), "Ultimate Doom");
}

// A demo is not opened as a place: it is answered, and the IWAD of the working folder that plays
// it, or that buttons make into one that does, is selected.
TEST_F(PlacesTest, ADroppedDemoIsAnsweredAndTheIwadForItSelected) {
  QDir::setCurrent("games");
  work.write("games/doom2.wad", fakeRelease(kDoom2));
  for (const char* patch : {"d2_19_1666", "d1_ud_18", "doom2.wad/kex-to-1.9.vcdiff"}) work.write(QString("games/patches/") + patch, "");
  openWindow();
  const QString map20 = "This demo was recorded with DOOM2 V1.666 on MAP20, skill 4 (Ultra-Violence), 1 player.\n";
  const QString kex = map20 + "'kex.wad' here is DOOM2 re-release 2024: its button \"Update it!\" makes Doom2 V1.9 (doom2_19.wad), "
                              "whose button \"V1.666\" makes DOOM2 V1.666 (d2_1666.wad), which plays it.";
  // What changes in the folder first, the demo, what is said, and the file then selected and the release it is.
  const std::tuple<std::function<void()>, QByteArray, QString, QString, QString> cases[] = {
      {{}, newDemo(106, 3, 1, 20), map20 + "'doom2.wad' here is Doom2 V1.9: its button \"V1.666\" makes DOOM2 V1.666 (d2_1666.wad), "
                                           "which plays it.", "doom2.wad", "Doom2 V1.9"},
      {{}, newDemo(109, 3, 4, 1), "This demo was recorded with Ultimate Doom V1.9 on E4M1, skill 4 (Ultra-Violence), 1 player.\n"
                                  "'doom.wad' here is Ultimate Doom, which plays it.", "doom.wad", "Ultimate Doom"},
      {{}, newDemo(108, 3, 1, 1), "This demo was recorded with DOOM or DOOM2 V1.8 on E1M1 or MAP01, skill 4 (Ultra-Violence), 1 "
                                  "player.\n'doom.wad' here is Ultimate Doom: its button \"V1.8\" makes DOOM V1.8 (d1_18.wad), which "
                                  "plays it.", "doom.wad", "Ultimate Doom"},
      {{}, newDemo(105, 3, 1, 1), "This demo was recorded with DOOM V1.5 on E1M1, skill 4 (Ultra-Violence), 1 player.\nNo IWAD in "
                                  "this folder plays it, and none of them makes one that does.", "", ""},
      {{}, "", "'x.lmp' is no demo I can read: it is empty.", "", ""},  // what else is none, --demo's own test shows
      // Freedoom is played with V1.9 demos by a source port: it may play one, if it was recorded on it.
      {[&] {
         QFile::remove("doom2.wad");
         work.write("games/doom.wad", fakeRelease("c19685bd160b1bb842501063130fb0e7"));  // Freedoom: Phase 1
       }, newDemo(109, 3, 1, 1), "This demo was recorded with DOOM, DOOM2 or Final Doom V1.9 on E1M1 or MAP01, skill 4 "
                                 "(Ultra-Violence), 1 player.\n'doom.wad' here is Freedoom: Phase 1 0.12.1: a source port may "
                                 "play it with these files, if the demo was recorded on them.", "doom.wad", "Freedoom: Phase 1 0.12.1"},
      // A re-release is made into the release in two steps, a button each; where a file of the way
      // cannot be made now, that is said after it.
      {[&] { work.write("games/kex.wad", fakeRelease("9aa3cbf65b961d0bdac98ec403b832e1")); },  // DOOM2 re-release 2024
       newDemo(106, 3, 1, 20), kex, "kex.wad", "DOOM2 re-release 2024"},
      {[] { QFile::remove("patches/doom2.wad/kex-to-1.9.vcdiff"); }, newDemo(106, 3, 1, 20),
       kex + "\nPressed, a button first asks to download the patch file 'patches/doom2.wad/kex-to-1.9.vcdiff' (27 KB) from the "
             "public patch collection on GitHub.", "kex.wad", "DOOM2 re-release 2024"},
  };
  for (const auto& [change, demo, said, selected, release] : cases) {
    if (change) change();
    QTest::mouseClick(form->Command1, Qt::LeftButton);  // the folder as it is now
    clickEntry(*form, listed().value(0));  // what was shown before the drop is not left standing
    work.write("demos/x.lmp", demo);
    messages.texts.clear();
    EXPECT_EQ(drop({QUrl::fromLocalFile(work.path("demos/x.lmp"))}), Qt::CopyAction);
    EXPECT_EQ(messages.texts, QStringList{said}) << messages.texts.join("|").toStdString();
    EXPECT_EQ(form->File1->selectedName(), selected);
    if (selected.isEmpty()) expectNeutralLook();
    else EXPECT_EQ(form->Label1->text(), release);
  }
  EXPECT_EQ(QDir::currentPath(), work.path("games"));  // the working folder stays
  EXPECT_EQ(listed(), (QStringList{"doom.wad", "kex.wad"}));
}
