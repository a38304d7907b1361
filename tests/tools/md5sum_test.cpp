// md5sum.exe against coreutils' md5sum, on generated files and the freedoom IWADs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>

#include "support/scratch_folder.h"
#include "support/tool_run.h"

namespace {

QByteArray coreutils(const QString& file) { return runTool("md5sum", {"--", file}).out; }

TEST(Md5sumExe, AgreesWithCoreutilsAndSaysWhatItCouldNotRead) {
  ScratchFolder folder;
  for (const char* name : {"patches", "folder.wad"}) QDir().mkdir(name);
  ASSERT_EQ(mkfifo("fifo.wad", 0644), 0);
  // Whatever the name, the digest starts the line: coreutils marks a name it escapes; we never do.
  // The IWADs are larger than one mapped window, and no multiple of it nor of a read.
  const QStringList files{"empty.wad", "-rf.wad", "a b.wad", "line\nbreak.wad", "patches\\d1",
                          "/usr/share/games/doom/freedoom1.wad", "/usr/share/games/doom/freedoom2.wad"};
  QByteArray expected;
  for (const QString& file : files) {
    const QString path = QString(file).replace('\\', '/');
    if (!file.startsWith('/')) folder.write(path, file == "empty.wad" ? "" : file.toUtf8());
    const QByteArray digest = coreutils(path);
    expected += digest.mid(digest.startsWith('\\') ? 1 : 0, 32) + "  " + file.toUtf8() + "\n";
  }
  const ToolResult ours = runTool(builtTool("md5sum.exe"), files);
  EXPECT_EQ(ours.code, 0) << ours.err.toStdString();
  EXPECT_EQ(ours.out, expected);

  // It goes on past what it cannot read, and refuses a FIFO at once: reading one might wait for ever.
  const ToolResult bad = ToolRun(builtTool("md5sum.exe"), {"missing.wad", "a b.wad", "folder.wad", "fifo.wad", "/dev/zero"}).wait(10000);
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.out, coreutils("a b.wad"));
  EXPECT_EQ(bad.err, "md5sum.exe: missing.wad: No such file or directory\nmd5sum.exe: folder.wad: Is a directory\n"
                     "md5sum.exe: fifo.wad: not a regular file\nmd5sum.exe: /dev/zero: not a regular file\n");
  EXPECT_EQ(runTool(builtTool("md5sum.exe"), {}).code, 2);
}

}  // namespace
