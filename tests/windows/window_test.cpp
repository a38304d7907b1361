// The windows offscreen on Windows, as a user drives them: the disclaimer, the main window on a
// folder, a file identified by the real tools, a release made from it.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "window/file_list_box.h"
#include "window/form1.h"
#include "window/frmsplash.h"
#include "window/start_place.h"
#include "window/start_up.h"
#include "scratch.h"
#include "support/message_catcher.h"
#include "support/window_driving.h"

namespace {

QString freedoom(const char* name) { return qEnvironmentVariable("WADWRIGHT_FREEDOOM_FOLDER", "Z:\\usr\\share\\games\\doom") + "\\" + name; }


}  // namespace

TEST(WindowOnWindows, YesLeadsToTheMainWindowWhichIdentifiesWithTheRealTools) {
  Scratch work;
  ASSERT_TRUE(QFile::copy(freedoom("freedoom2.wad"), "freedoom2.wad"));
  Form1 form(QFile::encodeName(programFolder()));
  frmSplash disclaimer;
  startUp(form, disclaimer, {work.dir.path()});
  settle();
  EXPECT_TRUE(disclaimer.isVisible() && !form.isVisible());
  EXPECT_EQ(disclaimer.Command2->text(), "Yes, I understand.");
  disclaimer.Command2->click();
  settle();
  ASSERT_TRUE(form.isVisible());

  clickEntry(form, "freedoom2.wad");
  EXPECT_EQ(form.HashCommand, "md5sum.exe freedoom2.wad > md5tmp.txt");
  EXPECT_EQ(form.Label1->text(), "Freedoom: Phase 2 0.12.1");
  EXPECT_EQ(form.Label2->text(), "This is Freedoom, a free game that takes DOOM's place. I cannot patch it -sorry!");
  EXPECT_FALSE(work.entries().contains("md5tmp.txt"));
}

// With a checksum tool that names Freedoom 1 Ultimate Doom and Freedoom 2 DOOM V1.1, the patch
// between them is Ultimate Doom's to 1.1.
TEST(WindowOnWindows, MakesAReleaseWithTheRealPatchToolAndSaysSo) {
  const QString tools = namingFolder();
  Scratch work;
  QDir().mkdir("patches");
  ASSERT_TRUE(QFile::copy(freedoom("freedoom1.wad"), "doom.wad"));
  ASSERT_TRUE(QFile::copy(qEnvironmentVariable("WADWRIGHT_FREEDOOM_PATCH"), "patches\\d1_ud_11"));
  MessageCatcher messages;
  Form1 form(QFile::encodeName(tools));
  form.show();
  form.openPlace(placeOf(work.dir.path()));
  settle();
  clickEntry(form, "doom.wad");
  ASSERT_TRUE(form.Command(4)->isVisible() && form.Command(4)->isEnabled());
  QTest::mouseClick(form.Command(4), Qt::LeftButton);
  settle();
  EXPECT_EQ(form.PatchCommand, "bspatch.exe doom.wad d1_11.wad  patches\\d1_ud_11");
  EXPECT_EQ(messages.texts, QStringList{"d1_11.wad was sucessully created!"});
  EXPECT_TRUE(work.read("d1_11.wad") == work.read(freedoom("freedoom2.wad")));
  EXPECT_EQ(work.entries(), (QStringList{"d1_11.wad", "doom.wad", "patches"}));
}
