// `wadwright --make`: the real program, interpreter and patch tool, on a patch Debian's bsdiff made
// between Debian's two Freedoom IWADs; a checksum tool that names them as catalogue releases.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtCore/qtestsupport_core.h>
#include <signal.h>
#include <unistd.h>

#include <memory>

#include "support/bsdiff_patch.h"
#include "support/demo_bytes.h"
#include "support/scratch_folder.h"
#include "support/tool_folder.h"
#include "support/tool_run.h"

namespace {

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
    tools.installReal({"wadwright", "command.com", "bspatch.exe", "sha1sum.exe"});
    tools.install("md5sum.exe", kNamingChecksum);
    QDir().mkpath("games/patches");
    ASSERT_TRUE(QFile::copy("/usr/share/games/doom/freedoom1.wad", "games/doom.wad"));
    ASSERT_TRUE(QFile::copy(FREEDOOM_PATCH, "games/patches/d1_ud_11"));
  }
  // Each case: the arguments, the exit status and what is said after the file and the target.
  void expectMade(std::initializer_list<std::tuple<QStringList, int, QString>> cases, const QStringList& environment = {}) {
    for (const auto& [arguments, status, said] : cases) {
      ToolResult made = tools.wadwright(QStringList{"--make"} + arguments, environment);
      EXPECT_EQ(made.code, status) << arguments.join(' ').toStdString();
      EXPECT_TRUE(QString::fromUtf8(made.out).startsWith(arguments[1] + "\t" + arguments[0] + "\t" + said)) << made.out.toStdString();
    }
  }

  ScratchFolder work;
  ToolFolder tools;
};

TEST_F(MakeCommand, MakesWhatTheReleaseOffersChecksItAndRefusesTheRest) {
  work.write("games/hello.wad", "hello");
  ToolResult list = tools.wadwright({"--make", "--list", "games/doom.wad"});
  EXPECT_EQ(list.code, 0);
  EXPECT_TRUE(list.out.startsWith("games/doom.wad\td1_11.wad\tDOOM V1.1\tgames/patches/d1_ud_11\tpresent\n")) << list.out.toStdString();

  expectMade({
      {{"d1_11.wad", "games/doom.wad"}, 0, "made\tgames/d1_11.wad is DOOM V1.1: made and checked."},
      {{"d1_11.wad", "games/doom.wad"}, 1, "refused\tCan't continue. The file that I was going to create -'games/d1_11.wad'- "
                                           "already exists!"},
      {{"udoom.wad", "games/hello.wad"}, 1, "refused\t'games/hello.wad' is an unknown version or not a valid IWAD (MD5 "
                                            "5d41402abc4b2a76b9719d911017c592): I cannot patch it. It is a web page"},
  });
  EXPECT_EQ(runTool("cmp", {"/usr/share/games/doom/freedoom2.wad", "games/d1_11.wad"}).code, 0);
  // Nothing half-written.
  EXPECT_EQ(work.entries("games"), (QStringList{"d1_11.wad", "doom.wad", "hello.wad", "patches"}));

  // A name the tools cannot take is refused before anything runs, and is written alike in every
  // field (a newline in it too, as --demo's lines show).
  work.write("games/back\\slash.wad", "hello");
  ToolResult refused = tools.wadwright({"--make", "udoom.wad", "games/back\\slash.wad"});
  EXPECT_EQ(refused.code, 1) << refused.out.toStdString();
  EXPECT_TRUE(refused.out.startsWith("games/back\\\\slash.wad\tudoom.wad\trefused\tThe name 'games/back\\\\slash.wad' cannot be handed"))
      << refused.out.toStdString();
  EXPECT_EQ(tools.wadwright({"--make", "--list", "games/back\\slash.wad"}).code, 1);

  // Without a patch file, nothing can be made.
  QDir().rename("games/patches", "games/none");
  EXPECT_EQ(tools.wadwright({"--make", "--list", "games/doom.wad"}).code, 1);
}

// Asked to end (logout, Ctrl+C) while the new file is checked: the tool is stopped, and nothing of
// the new file is left. (Asked while the patch is written, in a way of two steps, below.) The window
// program ends as when it is closed.
TEST_F(MakeCommand, AskedToEndItLeavesNothing) {
  tools.install("md5sum.exe", "#!/bin/sh\ncase $1 in d1_11.wad) echo $$ > pid.part; mv pid.part pid; exec sleep 1000;; esac\n" +
                                  QByteArray(kNamingChecksum).mid(10));
  ToolRun make(tools.path() + "/wadwright", {"--make", "d1_11.wad", "games/doom.wad"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists("games/pid"); }, 20000));
  kill(pid_t(make.pid()), SIGTERM);
  ToolResult ended = make.wait();
  EXPECT_EQ(ended.code, 128 + SIGTERM);  // as every mode, and the window, end when asked
  EXPECT_TRUE(ended.out.contains("\tfailed\tI was stopped")) << ended.out.toStdString();
  EXPECT_TRUE(waitUntilGone(work.read("games/pid").toInt()));  // the tool is gone
  QFile::remove("games/pid");
  EXPECT_EQ(work.entries("games"), (QStringList{"doom.wad", "patches"}));
  ToolRun window(builtTool("wadwright-window"), {}, {"QT_QPA_PLATFORM=offscreen"});
  ASSERT_TRUE(waitUntilItHandles(window.pid(), SIGTERM));
  kill(pid_t(window.pid()), SIGTERM);
  EXPECT_EQ(window.wait().code, 128 + SIGTERM);  // it ended by itself
}

// The 2024 re-release, made into Ultimate Doom and then DOOM V1.9, each file some 200 KB; what is
// made on the way goes to XDG_RUNTIME_DIR, runtime/ here.
class MakeInSteps : public MakeCommand {
 protected:
  void SetUp() override {
    MakeCommand::SetUp();
    tools.install("md5sum.exe", "#!/bin/sh\nexec head -n 1 -- \"$1\"\n");  // the fake release's line alone
    work.write("store/kex.wad", kex);
    work.write("store/patches/doom.wad/kex-to-ud.vcdiff", bsdiffPatch(kex, ultimate));
    work.write("store/patches/doom.wad/ud-to-1.9.vcdiff", bsdiffPatch(ultimate, v19));
    work.write("store/v19.lmp", newDemo(109, 3, 1, 1));
    QDir().mkpath("runtime");
  }
  const QByteArray kex = fakeRelease("4461d4511386518e784c647e3128e7bc") + QByteArray(200000, 'k'),
                   ultimate = fakeRelease("c4fe9fd920207691a9f493668e0a2083") + QByteArray(200000, 'u'),
                   v19 = fakeRelease("1cd63c5ddff1bf8ce844237f580e9cf3") + QByteArray(200000, '9');
  const QStringList runtime = {"XDG_RUNTIME_DIR=" + work.path("runtime")};
};

// A store's re-release becomes a historic release in two steps, by way of the hub, through the
// public collection's files; what each step makes is checked before the next reads it, and goes
// where it cannot be.
TEST_F(MakeInSteps, TakesTheShortestWayThroughTheCollectionCheckingEveryStep) {
  const QByteArray unity = fakeRelease("232a79f7121b22d7401905ee0ee1e487") + QByteArray(20000, 'n');
  work.write("store/unity.wad", unity);
  work.write("store/patches/doom.wad/ud-to-1.8.vcdiff", bsdiffPatch(ultimate, v19));
  work.write("store/patches/doom.wad/unity_1.0-to-ud.vcdiff", bsdiffPatch(unity, v19));  // it makes the wrong one

  const QString list = QString::fromUtf8(tools.wadwright({"--make", "--list", "store/kex.wad"}, runtime).out);
  EXPECT_TRUE(list.contains("store/kex.wad\td1_19.wad\tDOOM V1.9\tstore/patches/doom.wad/kex-to-ud.vcdiff\tpresent\t"
                            "store/patches/doom.wad/ud-to-1.9.vcdiff\tpresent\n"));
  EXPECT_TRUE(list.contains("\td1_11.wad\tDOOM V1.1\tstore/patches/doom.wad/kex-to-ud.vcdiff\tpresent\t"
                            "store/patches/d1_ud_11 or store/patches/doom.wad/ud-to-1.1.vcdiff\tmissing, can be fetched (427 KB)\n"));
  const QJsonObject viaMissing = QJsonDocument::fromJson(tools.wadwright({"--make", "--list", "--json", "store/kex.wad"}, runtime).out).array()[1].toObject();
  EXPECT_EQ(viaMissing["target"], "d1_11.wad");
  EXPECT_EQ(viaMissing["way"][1]["looked"], (QJsonArray{"store/patches/d1_ud_11", "store/patches/doom.wad/ud-to-1.1.vcdiff"}));

  expectMade({
      {{"d1_19.wad", "store/kex.wad"}, 0, "made\tstore/d1_19.wad is DOOM V1.9: made and checked, by way of Ultimate Doom "
                                          "(store/patches/doom.wad/kex-to-ud.vcdiff, then store/patches/doom.wad/ud-to-1.9.vcdiff)."},
      {{"d1_18.wad", "store/unity.wad"}, 2, "failed\t'udoom.wad (made on the way)' should have been Ultimate Doom, but it is not: "
                                            "the patch file 'store/patches/doom.wad/unity_1.0-to-ud.vcdiff' does not fit"},
      {{"d1_11.wad", "store/kex.wad"}, 1, "refused\tThe patch file 'store/patches/d1_ud_11' is missing: I looked for it, and for "
                                          "'store/patches/doom.wad/ud-to-1.1.vcdiff', in " + work.path("store/patches") + "."},
  }, runtime);
  EXPECT_EQ(work.read("store/d1_19.wad"), v19);
  // Only what was asked for is left: nothing made on the way, here or in the private folder.
  const QStringList made{"d1_19.wad", "kex.wad", "patches", "unity.wad", "v19.lmp"};
  EXPECT_EQ(work.entries("store"), made);
  EXPECT_EQ(work.entries("runtime"), QStringList{});

  // Asked to end in the second step, a run removes the first one's file with its private folder.
  // Killed outright (SIGKILL, the out-of-memory killer), it can tidy nothing: the next run to start
  // removes its folder, and leaves alone that of a run still going (here, one that waits in step 2).
  tools.install("bspatch.exe", "#!/bin/sh\ncase $2 in d1_18.wad) echo $$ > pid.part; mv pid.part pid; exec sleep 1000;; esac\n"
                               "exec '" + builtTool("bspatch.exe").toUtf8() + "' \"$@\"\n");
  const auto inStepTwo = [&] {
    std::unique_ptr<ToolRun> run(new ToolRun(tools.path() + "/wadwright", {"--make", "d1_18.wad", "store/kex.wad"}, runtime));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists("store/pid"); }, 20000));
    QFile::remove("store/pid");
    EXPECT_EQ(work.entries("runtime").size(), 1);  // the first step's file, and no dead run's
    return run;
  };
  const std::unique_ptr<ToolRun> killed = inStepTwo();
  kill(pid_t(killed->pid()), SIGKILL);
  killed->wait();
  const std::unique_ptr<ToolRun> going = inStepTwo();
  tools.wadwright({"--identify", "none.wad"}, runtime);  // not in store/, which the one going has locked
  EXPECT_TRUE(work.entries("runtime").value(0).startsWith("wadwright-" + QString::number(going->pid()) + "-"));
  kill(pid_t(going->pid()), SIGTERM);
  EXPECT_EQ(going->wait().code, 128 + SIGTERM);
  EXPECT_EQ(work.entries("store"), made);
  EXPECT_EQ(work.entries("runtime"), QStringList{});

  // A session folder the tools cannot be handed (a quote, a backslash in its path) is passed over.
  tools.installReal({"bspatch.exe"});
  QFile::remove("store/d1_19.wad");
  const QString awkward = work.path("run\"time\\");
  QDir().mkpath(awkward);
  expectMade({{{"d1_19.wad", "store/kex.wad"}, 0, "made\tstore/d1_19.wad is DOOM V1.9: made and checked"}},
             {"XDG_RUNTIME_DIR=" + awkward});

  // What is made on the way and cannot be checked ends the making, and goes.
  tools.install("md5sum.exe", "#!/bin/sh\ncase $1 in */udoom.wad) echo 'disk on fire' >&2; exit 3;; esac\nexec head -n 1 -- \"$1\"\n");
  QFile::remove("store/d1_19.wad");
  expectMade({{{"d1_19.wad", "store/kex.wad"}, 2, "failed\tI could not check that udoom.wad (made on the way) is Ultimate Doom, so I "
                                                  "went no further. I removed it: nothing is left. I could not find out the checksum "
                                                  "of 'udoom.wad (made on the way)'. disk on fire\n"}}, runtime);
  EXPECT_EQ(work.entries("store") + work.entries("runtime"), (QStringList{"kex.wad", "patches", "unity.wad", "v19.lmp"}));
}

// XDG_RUNTIME_DIR is often a small tmpfs. What is made on the way (Ultimate Doom takes 12408292
// bytes) goes where it fits; where nothing has room, the way is refused before it starts, and
// --list says so. A file system that reports no size (ramfs) is not taken for a full one.
TEST_F(MakeInSteps, WhatIsMadeOnTheWayGoesWhereItFitsOrTheWayIsRefusedBeforeItStarts) {
  ScratchFolder xdg, tmp, ramfs;  // small file systems of their own; ramfs reports no size at all
  if (!xdg.mountSmall() || !tmp.mountSmall()) GTEST_SKIP() << "mounting needs root";
  ASSERT_TRUE(ramfs.mountSmall("ramfs"));
  QDir::setCurrent(work.path());
  QDir().mkpath("big");
  expectMade({{{"d1_19.wad", "store/kex.wad"}, 0, "made\tstore/d1_19.wad is DOOM V1.9: made and checked, by way of Ultimate Doom"}},
             {"XDG_RUNTIME_DIR=" + xdg.path(), "TMPDIR=" + work.path("big")});
  QFile::remove("store/d1_19.wad");

  const QStringList full = {"XDG_RUNTIME_DIR=" + xdg.path(), "TMPDIR=" + tmp.path()};
  const QString noRoom = "I cannot make 'store/d1_19.wad' in 2 steps: what is made on the way takes 12408292 bytes, and I found no "
                         "private folder of yours with that much room free in XDG_RUNTIME_DIR (" + xdg.path() +
                         ") or in the temporary folder " + tmp.path() + ".";
  expectMade({{{"d1_19.wad", "store/kex.wad"}, 1, "refused\t" + noRoom}}, full);
  EXPECT_TRUE(tools.wadwright({"--make", "--list", "store/kex.wad"}, full).out.contains(
      "\td1_19.wad\tDOOM V1.9\tstore/patches/doom.wad/kex-to-ud.vcdiff\tpresent\tstore/patches/doom.wad/ud-to-1.9.vcdiff\tpresent\t" +
      noRoom.toUtf8() + "\n"));
  EXPECT_EQ(work.entries("store"), (QStringList{"kex.wad", "patches", "v19.lmp"}));

  expectMade({{{"d1_19.wad", "store/kex.wad"}, 0, "made\t"}}, {"XDG_RUNTIME_DIR=" + ramfs.path(), "TMPDIR=" + tmp.path()});
  EXPECT_EQ(xdg.entries() + tmp.entries() + ramfs.entries(), QStringList{});
}
