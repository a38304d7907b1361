// md5sum.exe against coreutils' md5sum, on generated files and the freedoom IWADs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>

#include "support/scratch_folder.h"
#include "support/tool_run.h"

namespace {

ToolResult ours(const QStringList& files) { return ToolRun(builtTool("md5sum.exe"), files).wait(1000); }
QByteArray coreutils(const QStringList& files) { return runTool("md5sum", QStringList{"--"} + files).out; }

TEST(Md5sumExe, AgreesWithCoreutils) {
  ScratchFolder folder;
  folder.write("empty.wad", "");
  // The IWADs are larger than one mapped window, and no multiple of it nor of a read.
  const QStringList files{"empty.wad", "/usr/share/games/doom/freedoom1.wad", "/usr/share/games/doom/freedoom2.wad"};
  const ToolResult mine = ToolRun(builtTool("md5sum.exe"), files).wait();
  EXPECT_EQ(mine.code, 0);
  EXPECT_EQ(mine.out, coreutils(files));
}

// Whatever the name, the digest starts the line: coreutils marks a name it escapes; we never do.
TEST(Md5sumExe, TheDigestStartsTheLineWhateverTheName) {
  ScratchFolder folder;
  QDir().mkdir("patches");
  for (const QString name : {"-rf.wad", "a b.wad", "line\nbreak.wad", "patches/d1"}) {
    folder.write(name, name.toUtf8());
    QString asGiven = QString(name).replace('/', '\\');
    QByteArray digest = coreutils({name});
    if (digest.startsWith('\\')) digest.remove(0, 1);
    EXPECT_EQ(ours({asGiven}).out, digest.left(32) + "  " + asGiven.toUtf8() + "\n");
  }
}

// A FIFO is refused at once: reading one might wait for ever.
TEST(Md5sumExe, SaysWhichFilesItCouldNotRead) {
  ScratchFolder folder;
  folder.write("good.wad", "good");
  QDir().mkdir("folder.wad");
  ASSERT_EQ(mkfifo("fifo.wad", 0644), 0);
  const ToolResult mine = ours({"missing.wad", "good.wad", "folder.wad", "fifo.wad", "/dev/zero"});
  EXPECT_EQ(mine.code, 1);
  EXPECT_EQ(mine.out, coreutils({"good.wad"}));
  EXPECT_EQ(mine.err, "md5sum.exe: missing.wad: No such file or directory\nmd5sum.exe: folder.wad: Is a directory\n"
                      "md5sum.exe: fifo.wad: not a regular file\nmd5sum.exe: /dev/zero: not a regular file\n");
  EXPECT_EQ(ours({}).code, 2);
}

}  // namespace
