// command.com: what its parser refuses, and the interpreter run as Wadwright runs it, on real files.
#include <gtest/gtest.h>

#include <QFile>

#include "support/scratch_folder.h"
#include "support/tool_run.h"
#include "tools/command_com/command_parser.h"

using tools::parseCommand;

TEST(CommandParser, RefusesWhatItDoesNotSupport) {
  const std::pair<const char*, const char*> cases[] = {
      {" a | b", "pipes ('|') are not supported"},
      {" a & b", "'&' is not supported"},
      {" a < in", "input redirection ('<') is not supported"},
      {" a >> out", "appending ('>>') is not supported"},
      {" a > one > two", "only one output redirection is supported"},
      {" a > out extra", "'> FILE' must end the command line"},
      {" a >", "'>' must be followed by the name of a file"},
      {" a > \"\"", "'>' must be followed by the name of a file"},
      {" > out", "no command to run"},
      {"   ", "no command to run"},
  };
  for (const auto& [text, error] : cases) {
    const tools::ParsedCommand parsed = parseCommand(text);
    EXPECT_EQ(parsed.error, error) << text;
    EXPECT_TRUE(parsed.words.empty() && !parsed.outputFile) << text;
  }
}

// Each line runs in one folder, which holds in the end exactly the files its lines made.
TEST(CommandCom, RunsOneProgramAndNothingElse) {
  ScratchFolder folder;
  folder.write("my doom.wad", QByteArray(100000, 'x'));
  folder.write("a > b.wad", "data");
  folder.write("md5tmp.txt", "stale content that is longer than the new output will be, much longer\n");
  QFile::link("my doom.wad", "link.txt");
  const struct {
    const char* line;  // as Wadwright hands it over; none when started by hand
    QStringList words;
    int status;
    const char* err;
  } cases[] = {
      {"command.com /c md5sum.exe \"my doom.wad\" > md5tmp.txt", {"/c", "md5sum.exe", "my doom.wad", ">", "md5tmp.txt"}, 0, ""},
      {nullptr, {"/c", "md5sum.exe \"a > b.wad\">\"out file.txt\""}, 0, ""},
      {"command.com /c md5sum.exe \"my doom.wad ", {"/c", "md5sum.exe", "my doom.wad "}, 1,  // a quote left open
       "md5sum.exe: my doom.wad : No such file or directory\n"},
      {"command.com /c md5sum.exe \"a > b.wad\"", {"/c", "md5sum.exe", "a > b.wad"}, 0, ""},
      {"command.com /c touch made | touch piped", {"/c", "touch", "made", "|", "touch", "piped"}, 2,
       "command.com: pipes ('|') are not supported\n"},
      {"command.com touch made", {"touch", "made"}, 2, "command.com: only 'command.com /c COMMAND [> FILE]' is supported\n"},
      {"\"command.com\"  /C  sh -c \"exit 7\"", {"/C", "sh", "-c", "exit 7"}, 7, ""},
      {"command.com /c nothing.exe x > made", {"/c", "nothing.exe", "x", ">", "made"}, 127, "command.com: nothing.exe was not found\n"},
      {"command.com /c md5sum.exe a.wad > link.txt", {"/c", "md5sum.exe", "a.wad", ">", "link.txt"}, 2,
       "command.com: cannot write link.txt: Too many levels of symbolic links\n"}};  // never through a link
  for (const auto& c : cases) {
    const QStringList line = c.line ? QStringList{QString("WADWRIGHT_COMMAND_LINE=") + c.line} : QStringList{};
    const ToolResult result = runTool(builtTool("command.com"), c.words, line);
    EXPECT_EQ(result.code, c.status) << c.words.join(' ').toStdString();
    EXPECT_EQ(result.err, c.err) << c.words.join(' ').toStdString();
  }
  const QByteArray digest = runTool("md5sum", {"my doom.wad", "a > b.wad"}).out;
  EXPECT_EQ(folder.read("md5tmp.txt") + folder.read("out file.txt"), digest);
  EXPECT_EQ(folder.entries(), (QStringList{"a > b.wad", "link.txt", "md5tmp.txt", "my doom.wad", "out file.txt"}));
  EXPECT_EQ(folder.read("my doom.wad"), QByteArray(100000, 'x'));
}
