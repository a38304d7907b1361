// The windows offscreen on Windows, as a user drives them: the disclaimer, the main window on a
// folder, a file identified by the real tools. (A release made from it, and fetched for it: the
// download's suite.)
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "window/file_list_box.h"
#include "window/form1.h"
#include "window/frmsplash.h"
#include "window/start_place.h"
#include "window/start_up.h"
#include "scratch.h"
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
