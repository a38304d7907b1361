// wadwright.exe on what only Windows has: a file another program holds with no sharing.
#include <gtest/gtest.h>
#include <windows.h>

#include <QProcess>

#include "scratch.h"

// What the checksum tool says of a file found names that file, not the link it was handed over by.
TEST(CommandLineOnWindows, ATextOfTheChecksumToolNamesTheFileFound) {
  Scratch work;
  QDir().mkdir("dwd");
  work.write("dwd\\DOOM2.WAD", "IWAD");
  // Held with no sharing, it is refused to the checksum tool: "Permission denied".
  HANDLE held = CreateFileW(L"dwd\\DOOM2.WAD", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const QString iwad = QDir::toNativeSeparators(QFileInfo("dwd\\DOOM2.WAD").absoluteFilePath());
  QProcess program;
  startWadwright(program, programFolder(), {"--find"}, {"DOOMWADDIR=" + QFileInfo(iwad).path()});
  program.waitForFinished(60000);
  CloseHandle(held);
  EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()).section("\r\n", 0, 0),
            iwad + "\terror\tI could not find out the checksum of '" + iwad + "'. md5sum.exe: DOOM2.WAD: Permission denied");
}
