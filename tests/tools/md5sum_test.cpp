#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

#include "support/scratch_folder.h"

namespace {

struct Output {
  int status;
  QByteArray out;
  QByteArray err;
};

Output run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(60000);
  return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

Output ours(const QStringList& files) { return run(builtProgramFolder() + "/md5sum.exe", files); }
Output coreutils(const QStringList& files) { return run("md5sum", QStringList{"--"} + files); }

}  // namespace

TEST(Md5sumExe, AgreesWithCoreutilsOnRealAndGeneratedFiles) {
  ScratchFolder folder;
  folder.write("empty.wad", "");
  QByteArray random(3 * 1024 * 1024 + 17, '\0');  // not a multiple of any read size
  QRandomGenerator generator(42);
  for (char& byte : random) byte = char(generator.generate());
  folder.write("random.wad", random);
  QStringList files{"empty.wad", "random.wad", "/usr/share/games/doom/freedoom1.wad",
                    "/usr/share/games/doom/freedoom2.wad"};
  Output mine = ours(files);
  EXPECT_EQ(mine.status, 0);
  EXPECT_EQ(mine.out, coreutils(files).out);
}

TEST(Md5sumExe, TheDigestStartsTheLineWhateverTheName) {
  ScratchFolder folder;
  QStringList names{"-rf.wad", "a b.wad", "line\nbreak.wad"};
  for (const QString& name : names) folder.write(name, name.toUtf8());
  for (const QString& name : names) {
    QByteArray expected = coreutils({name}).out;
    if (expected.startsWith('\\')) expected.remove(0, 1);  // coreutils marks an escaped name; we never do
    EXPECT_EQ(ours({name}).out.left(32), expected.left(32)) << name.toStdString();
  }
}

TEST(Md5sumExe, ReadsWindowsStylePaths) {
  ScratchFolder folder;
  QDir().mkdir("patches");
  folder.write("patches/d1", "patch");
  Output mine = ours({"patches\\d1"});
  EXPECT_EQ(mine.out, coreutils({"patches/d1"}).out.left(32) + "  patches\\d1\n");
}

TEST(Md5sumExe, SaysWhichFilesItCouldNotRead) {
  ScratchFolder folder;
  folder.write("good.wad", "good");
  QDir().mkdir("folder.wad");
  Output mine = ours({"missing.wad", "good.wad", "folder.wad"});
  EXPECT_EQ(mine.status, 1);
  EXPECT_EQ(mine.out, coreutils({"good.wad"}).out);
  EXPECT_EQ(mine.err,
            "md5sum.exe: missing.wad: No such file or directory\nmd5sum.exe: folder.wad: Is a directory\n");
  EXPECT_NE(ours({}).status, 0);
}
