// md5sum.exe and bspatch.exe as Windows programs, on real files.
#include <gtest/gtest.h>

#include <QProcess>
#include <tuple>

#include "scratch.h"
#include "support/patch_bytes.h"

namespace {

struct Ran { int code; QByteArray out, err; };

Ran runTool(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(programFolder() + "\\" + tool, arguments);
  process.waitForFinished(60000);
  return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// A patch that makes "hello there" of "hello world": six bytes added to the old ones (unchanged),
// then five new ones.
QByteArray helloPatch() {
  return patch(11, {6, 5, 0}, QByteArray(6, '\0'), "there");
}

// The same as VCDIFF: a window from the old file's 11 bytes that makes 11, with "there" for data,
// the instructions COPY 6 and ADD 5, and the address 0.
QByteArray helloVcdiff() {
  return QByteArray::fromHex("d6c3c40000" "010b000d" "0b00050201") + "there" + QByteArray::fromHex("160600");
}

}  // namespace

TEST(Md5sumOnWindows, PrintsTheDigestLineOrSaysWhyNot) {
  Scratch work;
  work.write("empty.wad", "");
  work.write("abc.wad", "abc");
  QDir().mkdir("folder");
  const std::tuple<QString, int, QByteArray, QByteArray> cases[] = {  // the file, status, output, error
      {"empty.wad", 0, "d41d8cd98f00b204e9800998ecf8427e  empty.wad\r\n", ""},
      {"abc.wad", 0, "900150983cd24fb0d6963f7d28e17f72  abc.wad\r\n", ""},
      {"folder", 1, "", "md5sum.exe: folder: Is a directory\r\n"},
      {"missing.wad", 1, "", "md5sum.exe: missing.wad: No such file or directory\r\n"},
  };
  for (const auto& [file, code, out, err] : cases) {
    Ran run = runTool("md5sum.exe", {file});
    EXPECT_EQ(run.code, code) << file.toStdString();
    EXPECT_EQ(run.out, out);
    EXPECT_EQ(run.err, err);
  }
}

TEST(BspatchOnWindows, MakesTheNewFileOrLeavesNothingAndNeverReplacesOne) {
  Scratch work;
  work.write("old.wad", "hello world");
  work.write("good.patch", helloPatch());
  work.write("bad.patch", "BSDIFF40 and then nothing that fits");
  work.write("good.vcdiff", helloVcdiff());
  work.write("djw.vcdiff", QByteArray::fromHex("d6c3c4000101"));
  work.write("taken.wad", "mine");
  const std::tuple<QString, QString, int, QByteArray> cases[] = {  // the new file, the patch, status, error
      {"new.wad", "good.patch", 0, ""},
      {"vcdiff.wad", "good.vcdiff", 0, ""},
      {"djw.wad", "djw.vcdiff", 1, "bspatch.exe: djw.vcdiff: is compressed with DJW, which this tool does not read"},
      {"taken.wad", "good.patch", 1, "bspatch.exe: taken.wad: already exists; not overwriting it\r\n"},
      {"bad.wad", "bad.patch", 1, "bspatch.exe: bad.patch: "},
      {"none.wad", "missing.patch", 1, "bspatch.exe: missing.patch: No such file or directory\r\n"},
  };
  for (const auto& [made, patch, code, err] : cases) {
    Ran run = runTool("bspatch.exe", {"old.wad", made, patch});
    EXPECT_EQ(run.code, code) << made.toStdString();
    EXPECT_TRUE(run.err.startsWith(err)) << run.err.toStdString();
  }
  EXPECT_EQ(work.read("new.wad"), "hello there");
  EXPECT_EQ(work.read("vcdiff.wad"), "hello there");
  EXPECT_EQ(work.read("taken.wad"), "mine");
  // No hidden half-made file is left beside them.
  EXPECT_EQ(work.entries(), (QStringList{"bad.patch", "djw.vcdiff", "good.patch", "good.vcdiff", "new.wad", "old.wad",
                                         "taken.wad", "vcdiff.wad"}));
}

// Killed outright while it writes, it leaves nothing: Windows deletes the hidden file it closes.
TEST(BspatchOnWindows, KilledWhileWritingLeavesNothing) {
  Scratch work;
  const int size = 256 << 20;
  work.write("old.wad", "x");
  work.write("big.patch", patch(size, {0, size, 0}, "", QByteArray(size, '\0')));
  QProcess tool;
  tool.start(programFolder() + "\\bspatch.exe", {"old.wad", "new.wad", "big.patch"});
  ASSERT_TRUE(tool.waitForStarted());
  bool seen = false;
  for (int wait = 0; wait < 2000 && !seen && tool.state() == QProcess::Running; ++wait) {
    seen = work.entries().size() == 3;  // the hidden file beside old.wad and big.patch
    if (!seen) Sleep(5);
  }
  tool.kill();
  tool.waitForFinished();
  ASSERT_TRUE(seen) << "bspatch.exe ended before its file could be seen";
  EXPECT_EQ(work.entries(), (QStringList{"big.patch", "old.wad"}));
}
