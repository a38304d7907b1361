// md5sum.exe and sha1sum.exe against coreutils' md5sum and sha1sum, on generated files and the
// freedoom IWADs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>

#include "support/scratch_folder.h"
#include "support/tool_run.h"

TEST(DigestExe, AgreesWithCoreutilsAndSaysWhatItCouldNotRead) {
  for (const auto& [ours, coreutils, length] : {std::tuple{"md5sum.exe", "md5sum", 32}, {"sha1sum.exe", "sha1sum", 40}}) {
    SCOPED_TRACE(ours);
    const auto theirs = [&](const QString& file) { return runTool(coreutils, {"--", file}).out; };
    ScratchFolder folder;
    for (const char* name : {"patches", "folder.wad"}) QDir().mkdir(name);
    ASSERT_EQ(mkfifo("fifo.wad", 0644), 0);
    // Whatever the name, the digest starts the line: coreutils marks a name it escapes; we never do.
    // The IWADs take many reads, and are no multiple of one.
    const QStringList files{"empty.wad", "-rf.wad", "a b.wad", "line\nbreak.wad", "patches\\d1",
                            "/usr/share/games/doom/freedoom1.wad", "/usr/share/games/doom/freedoom2.wad"};
    QByteArray expected;
    for (const QString& file : files) {
      const QString path = QString(file).replace('\\', '/');
      if (!file.startsWith('/')) folder.write(path, file == "empty.wad" ? "" : file.toUtf8());
      const QByteArray digest = theirs(path);
      expected += digest.mid(digest.startsWith('\\') ? 1 : 0, length) + "  " + file.toUtf8() + "\n";
    }
    const ToolResult result = runTool(builtTool(ours), files);
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, expected);

    // It goes on past what it cannot read, and refuses a FIFO at once: reading one might wait for ever.
    const auto bad = ToolRun(builtTool(ours), {"missing.wad", "a b.wad", "folder.wad", "fifo.wad", "/dev/zero"}).wait(10000);
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.out, theirs("a b.wad"));
    EXPECT_EQ(bad.err, QString("%1: missing.wad: No such file or directory\n%1: folder.wad: Is a directory\n"
                               "%1: fifo.wad: not a regular file\n%1: /dev/zero: not a regular file\n").arg(ours).toUtf8());
    EXPECT_EQ(runTool(builtTool(ours), {}).code, 2);
  }
}
