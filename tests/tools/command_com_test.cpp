// command.com run as Wadwright runs it, on real files.
#include <gtest/gtest.h>

#include <QFile>

#include "support/scratch_folder.h"
#include "support/tool_run.h"

// Each line runs in one folder, which holds in the end exactly the files its lines made: what is
// not supported is refused before any program runs or any file is made.
TEST(CommandCom, RunsOneProgramAndNothingElse) {
  ScratchFolder folder;
  folder.write("my doom.wad", QByteArray(100000, 'x'));
  folder.write("a > b.wad", "data");
  folder.write("md5tmp.txt", "stale content that is longer than the new output will be, much longer\n");
  QFile::link("my doom.wad", "link.txt");
  // The line as Wadwright hands it over (none when started by hand), the words, the exit status and
  // what it says.
  const std::tuple<const char*, QStringList, int, const char*> cases[] = {
      {"command.com /c md5sum.exe \"my doom.wad\" > md5tmp.txt", {"/c", "md5sum.exe", "my doom.wad", ">", "md5tmp.txt"}, 0, ""},
      {nullptr, {"/c", "md5sum.exe \"a > b.wad\">\"out file.txt\""}, 0, ""},
      {"command.com /c md5sum.exe \"my doom.wad ", {"/c", "md5sum.exe", "my doom.wad "}, 1,  // a quote left open
       "md5sum.exe: my doom.wad : No such file or directory\n"},
      {"command.com touch made", {"touch", "made"}, 2, "command.com: only 'command.com /c COMMAND [> FILE]' is supported\n"},
      {"\"command.com\"  /C  sh -c \"exit 7\"", {"/C", "sh", "-c", "exit 7"}, 7, ""},
      {"command.com /c nothing.exe x > made", {"/c", "nothing.exe", "x", ">", "made"}, 127, "command.com: nothing.exe was not found\n"},
      {"command.com /c md5sum.exe a.wad > link.txt", {"/c", "md5sum.exe", "a.wad", ">", "link.txt"}, 2,
       "command.com: cannot write link.txt: Too many levels of symbolic links\n"},  // never through a link
      {nullptr, {"/c", "touch made | touch piped"}, 2, "command.com: pipes ('|') are not supported\n"},
      {nullptr, {"/c", "touch made >> out"}, 2, "command.com: appending ('>>') is not supported\n"},
      {nullptr, {"/c", "touch made > one > two"}, 2, "command.com: only one output redirection is supported\n"},
      {nullptr, {"/c", "touch made > out extra"}, 2, "command.com: '> FILE' must end the command line\n"},
      {nullptr, {"/c", "touch made >"}, 2, "command.com: '>' must be followed by the name of a file\n"},
      {nullptr, {"/c", "> out"}, 2, "command.com: no command to run\n"}};
  for (const auto& [line, words, status, err] : cases) {
    const QStringList given = line ? QStringList{QString("WADWRIGHT_COMMAND_LINE=") + line} : QStringList{};
    const ToolResult result = runTool(builtTool("command.com"), words, given);
    EXPECT_EQ(result.code, status) << words.join(' ').toStdString();
    EXPECT_EQ(result.err, err) << words.join(' ').toStdString();
  }
  EXPECT_EQ(folder.read("md5tmp.txt") + folder.read("out file.txt"), runTool("md5sum", {"my doom.wad", "a > b.wad"}).out);
  EXPECT_EQ(folder.entries(), (QStringList{"a > b.wad", "link.txt", "md5tmp.txt", "my doom.wad", "out file.txt"}));
  EXPECT_EQ(folder.read("my doom.wad"), QByteArray(100000, 'x'));
}
