// `wadwright --make`: the real program, interpreter and patch tool, on a patch Debian's bsdiff made
// between Debian's two Freedoom IWADs; a checksum tool that names them as catalogue releases.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QtCore/qtestsupport_core.h>
#include <signal.h>

#include "support/scratch_folder.h"
#include "support/tool_folder.h"
#include "support/tool_run.h"

namespace {

const QString kFreedoom1 = "/usr/share/games/doom/freedoom1.wad", kFreedoom2 = "/usr/share/games/doom/freedoom2.wad";

// Freedoom 1 passes for Ultimate Doom, Freedoom 2 for DOOM V1.1; every other file is itself.
constexpr const char* kNamingChecksum =
    "#!/bin/sh\nsum=$(md5sum < \"$1\" | cut -c1-32) || exit 1\ncase $sum in\n"
    "  c19685bd160b1bb842501063130fb0e7) sum=c4fe9fd920207691a9f493668e0a2083;;\n"
    "  7b247eeb6a15ce9deeb652b82eb73f7b) sum=981b03e6d1dc033301aa3095acc437ce;;\nesac\necho \"$sum  $1\"\n";

}  // namespace

class MakeCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QFile::exists(FREEDOOM_PATCH)) GTEST_SKIP() << "no freedoom patch fixture";
    tools.installReal({"wadwright", "command.com", "bspatch.exe"});
    tools.install("md5sum.exe", kNamingChecksum);
    QDir().mkpath("games/patches");
    ASSERT_TRUE(QFile::copy(kFreedoom1, "games/doom.wad"));
    for (const char* patch : {"games/patches/d1_ud_11", "games/patches/d1_ud_12"}) ASSERT_TRUE(QFile::copy(FREEDOOM_PATCH, patch));
  }
  ToolResult wadwright(const QStringList& arguments) { return runTool(tools.path() + "/wadwright", arguments); }

  ScratchFolder work;
  ToolFolder tools;
};

TEST_F(MakeCommand, MakesWhatTheReleaseOffersChecksItAndRefusesTheRest) {
  work.write("games/hello.wad", "hello");
  QDir().mkpath("elsewhere/sub");  // games/linkdir/.. is elsewhere, where the system opens the file
  QFile::link("../elsewhere/sub", "games/linkdir");
  work.write("elsewhere/doom.wad", "hello");
  ToolResult list = wadwright({"--make", "--list", "games/doom.wad"});
  EXPECT_EQ(list.code, 0);
  EXPECT_TRUE(list.out.startsWith("games/doom.wad\td1_11.wad\tDOOM V1.1\tgames/patches/d1_ud_11\tpresent\n")) << list.out.toStdString();
  EXPECT_TRUE(list.out.contains("games/doom.wad\td1_18.wad\tDOOM V1.8\tgames/patches/d1_ud_18\tmissing\n"));

  // The arguments, the exit status and what is said after the file and the target.
  const std::tuple<QStringList, int, QString> cases[] = {
      {{"d1_11.wad", "games/doom.wad"}, 0, "made\tgames/d1_11.wad is DOOM V1.1: made and checked."},
      {{"d1_11.wad", "games/doom.wad"}, 1, "refused\tCan't continue. The file that I was going to create -'games/d1_11.wad'- "
                                           "already exists!"},
      {{"d1_12.wad", "games/doom.wad"}, 2, "failed\t'games/d1_12.wad' should have been DOOM V1.2, but it is not: the patch "
                                           "file 'games/patches/d1_ud_12' does not fit the selected file 'games/doom.wad'"},
      {{"d1_18.wad", "games/doom.wad"}, 1, "refused\tThe patch file 'games/patches/d1_ud_18' is missing: I looked for it in " +
                                               work.path("games/patches") + "."},
      {{"udoom.wad", "games/doom.wad"}, 1, "refused\t'games/doom.wad' is Ultimate Doom, which makes d1_11.wad, d1_12.wad, "
                                           "d1_1666.wad, d1_18.wad, d1_19.wad; udoom.wad is not made from it."},
      {{"udoom.wad", "games/d1_11.wad"}, 1, "refused\tThe patch file 'games/patches/d1_11_ud' is missing"},
      {{"d1_11.wad", "games/linkdir/../doom.wad"}, 1, "refused\t'games/linkdir/../doom.wad' is an unknown version"},
      {{"udoom.wad", "games/"}, 2, "failed\t'games/' is a folder, not an IWAD: please name the IWAD file in it."},
      {{"udoom.wad", "games/hello.wad"}, 1, "refused\t'games/hello.wad' is an unknown version or not a valid IWAD (MD5 "
                                            "5d41402abc4b2a76b9719d911017c592): I cannot patch it."},
  };
  for (const auto& [arguments, status, said] : cases) {
    ToolResult made = wadwright(QStringList{"--make"} + arguments);
    EXPECT_EQ(made.code, status) << arguments.join(' ').toStdString();
    EXPECT_TRUE(QString::fromUtf8(made.out).startsWith(arguments[1] + "\t" + arguments[0] + "\t" + said)) << made.out.toStdString();
  }
  EXPECT_EQ(runTool("cmp", {kFreedoom2, "games/d1_11.wad"}).code, 0);
  EXPECT_EQ(QDir("games").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            (QStringList{"d1_11.wad", "doom.wad", "hello.wad", "linkdir", "patches"}));  // the wrong one removed, nothing half-written

  // A name that is not valid text is printed as given; without a patch file, nothing can be made.
  ToolResult odd = runTool("sh", {"-c", "exec \"$0\" --make d1_11.wad \"$(printf 'games/bad\\377.wad')\"", tools.path() + "/wadwright"});
  EXPECT_TRUE(odd.out.startsWith("games/bad\xff.wad\td1_11.wad\tfailed\t")) << odd.out.toStdString();
  QDir().rename("games/patches", "games/none");
  EXPECT_EQ(wadwright({"--make", "--list", "games/doom.wad"}).code, 1);
}

// Asked to end (logout, Ctrl+C) while the patch is written or the new file checked: the tool is
// stopped, and nothing of the new file is left. The window program ends as when it is closed.
TEST_F(MakeCommand, AskedToEndItLeavesNothing) {
  const QByteArray hang = "echo $$ > pid.part; mv pid.part pid; exec sleep 1000\n";
  for (const auto& [patchTool, checksumTool] : {std::pair<QByteArray, QByteArray>{"#!/bin/sh\n" + hang, kNamingChecksum},
                                                {"", "#!/bin/sh\ncase $1 in d1_11.wad) " + hang + ";; esac\n" +
                                                         QByteArray(kNamingChecksum).mid(10)}}) {
    if (patchTool.isEmpty()) tools.installReal({"bspatch.exe"});
    else tools.install("bspatch.exe", patchTool);
    tools.install("md5sum.exe", checksumTool);
    ToolRun make(tools.path() + "/wadwright", {"--make", "d1_11.wad", "games/doom.wad"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists("games/pid"); }, 20000));
    kill(pid_t(make.pid()), SIGTERM);
    ToolResult ended = make.wait();
    EXPECT_EQ(ended.code, 128 + SIGTERM);  // as every mode, and the window, end when asked
    EXPECT_TRUE(ended.out.contains("\tfailed\tI was stopped")) << ended.out.toStdString();
    EXPECT_NE(kill(work.read("games/pid").toInt(), 0), 0);  // the tool is gone
    QFile::remove("games/pid");
    EXPECT_EQ(QDir("games").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), (QStringList{"doom.wad", "patches"}));
  }
  ToolRun window(builtTool("wadwright-window"), {}, {"QT_QPA_PLATFORM=offscreen"});
  QTest::qWait(500);
  kill(pid_t(window.pid()), SIGTERM);
  EXPECT_EQ(window.wait().code, 128 + SIGTERM);  // it ended by itself
}
