// The update and backdate action without a window: the real patch tool on patches made by
// Debian's bsdiff, in a scratch working folder; the checksums the stand-in checksum tool reads.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <QDir>
#include <QRandomGenerator>

#include "patching/patch_action.h"
#include "support/bsdiff_patch.h"
#include "support/scratch_folder.h"
#include "support/tool_folder.h"

namespace {

QByteArray randomBytes(int size, quint32 seed) {
  QByteArray bytes(size, '\0');
  QRandomGenerator generator(seed);
  for (char& byte : bytes) byte = char(generator.generate());
  return bytes;
}

// An older release: the newer one with a few edits, an insertion and a cut.
QByteArray edited(QByteArray data) {
  data.replace(1000, 50, randomBytes(80, 7));
  data.insert(50000, randomBytes(3000, 8));
  data.remove(120000, 700);
  return data;
}

// A release as the stand-in checksum tool identifies it: its checksum, then its data.
QByteArray release(const char* checksum) { return fakeRelease(checksum) + randomBytes(200000, 1); }

}  // namespace

class Patch : public ::testing::Test {
 protected:
  void SetUp() override {
    tools.installFakeChecksum();
    tools.installReal({"bspatch.exe"});
    QDir().mkdir("patches");
    work.write("mine.wad", source);
    work.write("patches/d1_ud_11", bsdiffPatch(source, made));
  }
  PatchResult create(const QString& target = "d1_11.wad", const QString& patch = " patches\\d1_ud_11") {
    return createRelease({"mine.wad", "c4fe9fd920207691a9f493668e0a2083", target, patch, *madeRelease(target)},
                         [this](const QString& line) { return platform::runAndWait(line, tools.path()); });
  }
  // Nothing was written: the folder holds what it held, the selected file as it was.
  void expectUntouched(const QStringList& entries = {"mine.wad", "patches"}) {
    EXPECT_EQ(work.entries(), entries);
    EXPECT_EQ(work.read("mine.wad"), source);
  }

  ScratchFolder work;
  ToolFolder tools;
  QByteArray source = release("c4fe9fd920207691a9f493668e0a2083");         // Ultimate Doom
  QByteArray made = edited(release("981b03e6d1dc033301aa3095acc437ce"));  // DOOM V1.1
};

TEST_F(Patch, NeverWritesOverAnythingUnderTheTargetsName) {
  tools.install("bspatch.exe", "#!/bin/sh\ntouch ran\n");  // must not run at all
  work.write("d1_11.wad", "my own file");
  QFile::link("nowhere.wad", "udoom.wad");  // a link that leads nowhere counts too
  for (QString target : {"d1_11.wad", "udoom.wad"}) {
    PatchResult result = create(target);
    EXPECT_EQ(result.message, "Can't continue. The file that I was going to create -'" + target + "'- already exists!");
    EXPECT_EQ(result.patchCommand, "");
  }
  EXPECT_EQ(work.read("d1_11.wad"), "my own file");
  expectUntouched({"d1_11.wad", "mine.wad", "patches", "udoom.wad"});

  // Somebody else writes it between the check and the tool's start.
  tools.installReal({"bspatch.exe"});
  QFile::rename(tools.path() + "/bspatch.exe", tools.path() + "/real-bspatch");
  tools.install("bspatch.exe", "#!/bin/sh\necho theirs > \"$2\"\nexec \"$(dirname \"$0\")/real-bspatch\" \"$@\"\n");
  PatchResult result = create("d1_12.wad");
  EXPECT_TRUE(result.message.startsWith("I could not create 'd1_12.wad'.\nbspatch.exe: ")) << result.message.toStdString();
  EXPECT_EQ(work.read("d1_12.wad"), "theirs\n");
}

TEST_F(Patch, AFailingToolIsSaidAndLeavesNothingBehind) {
  struct Case {
    QByteArray tool;  // empty: the real one
    QString patch, said;
  } cases[] = {
      {"", " patches\\missing", "I could not create 'd1_11.wad'.\nbspatch.exe: "},
      {"#!/bin/sh\nexit 0\n", " patches\\d1_ud_11", "I could not create 'd1_11.wad'.\nThe patch tool ended without writing it."},
      {"#!/bin/sh\nkill -SEGV $$\n", " patches\\d1_ud_11", "I could not create 'd1_11.wad'.\nThe patch tool ended abnormally."},
  };
  for (const Case& c : cases) {
    if (c.tool.isEmpty()) tools.installReal({"bspatch.exe"});
    else tools.install("bspatch.exe", c.tool);
    PatchResult result = create("d1_11.wad", c.patch);
    EXPECT_EQ(result.outcome, PatchResult::Outcome::NotCreated);
    EXPECT_TRUE(result.message.startsWith(c.said)) << result.message.toStdString();
    EXPECT_EQ(work.entries(), (QStringList{"mine.wad", "patches"}));
  }
  QFile::remove(tools.path() + "/bspatch.exe");
  EXPECT_EQ(create().message, "I could not start the patch tool 'bspatch.exe', so 'd1_11.wad' was not created:\n"
                              "bspatch.exe was not found");
}

TEST_F(Patch, AFullOrReadOnlyFolderIsSaidWithNoHalfWrittenFile) {
  if (mount("tmpfs", qPrintable(work.path()), "tmpfs", 0, "size=1m") != 0) GTEST_SKIP() << "mounting needs root";
  QDir::setCurrent(work.path());
  SetUp();
  work.write("patches/big", bsdiffPatch(source, source + QByteArray(3 << 20, 'x')));  // 3 MB won't fit
  PatchResult full = create("d1_11.wad", " patches\\big");
  mount("tmpfs", qPrintable(work.path()), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=1m");
  PatchResult readOnly = create();
  QStringList entries = work.entries();
  QDir::setCurrent("/");
  umount2(qPrintable(work.path()), MNT_DETACH);
  EXPECT_TRUE(full.message.contains("free") || full.message.contains("No space left")) << full.message.toStdString();
  EXPECT_EQ(readOnly.message, "I cannot create 'd1_11.wad' here: this folder is read-only. Copy the IWAD into a folder of "
                              "your own and open it there.");
  EXPECT_EQ(readOnly.patchCommand, "");
  EXPECT_EQ(entries, (QStringList{"mine.wad", "patches"}));
}
