#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "platform/command_line.h"
#include "support/scratch_folder.h"
#include "tools/command_com/command_parser.h"

using tools::parseCommand;

TEST(CommandParser, ReadsTheProgramItsArgumentsAndTheRedirection) {
  tools::ParsedCommand parsed = parseCommand(" md5sum.exe \"my doom.wad\" > md5tmp.txt");
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.words, (std::vector<std::string>{"md5sum.exe", "my doom.wad"}));
  EXPECT_EQ(parsed.outputFile, "md5tmp.txt");
  EXPECT_EQ(parsed.commandLine, "md5sum.exe \"my doom.wad\"");

  parsed = parseCommand(" md5sum.exe a.wad>\"out file.txt\"");
  EXPECT_EQ(parsed.outputFile, "out file.txt");
  EXPECT_FALSE(parseCommand(" md5sum.exe a.wad").outputFile);
}

TEST(CommandParser, QuotedOperatorsAreLiteral) {
  tools::ParsedCommand parsed = parseCommand(" md5sum.exe \"a > b | c & d < e.wad\"");
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.words.back(), "a > b | c & d < e.wad");
  EXPECT_FALSE(parsed.outputFile);
}

TEST(CommandParser, BlanksInAQuoteLeftOpenStayInTheWord) {
  tools::ParsedCommand parsed = parseCommand(" md5sum.exe \"my doom.wad ");
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.words.back(), "my doom.wad ");
  EXPECT_EQ(platform::splitCommandLine(parsed.commandLine), parsed.words);
}

TEST(CommandParser, RefusesWhatItDoesNotSupport) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
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
  for (const Case& c : cases) {
    tools::ParsedCommand parsed = parseCommand(c.text);
    EXPECT_EQ(parsed.error, c.error) << c.text;
    EXPECT_TRUE(parsed.words.empty() && !parsed.outputFile) << c.text;
  }
}

TEST(CommandParser, FindsTheTextAfterTheSwitch) {
  std::string error;
  EXPECT_EQ(tools::textAfterSwitch("command.com /c md5sum.exe x", &error), " md5sum.exe x");
  EXPECT_EQ(tools::textAfterSwitch("\"command.com\"  /C  x", &error), "  x");
  EXPECT_FALSE(tools::textAfterSwitch("command.com md5sum.exe x", &error));
  EXPECT_EQ(error, "only 'command.com /c COMMAND [> FILE]' is supported");
}

namespace {

struct Result {
  int status;
  QByteArray errorOutput;
};

// Runs the real interpreter as Wadwright does: the words split, the whole line beside them.
Result interpret(const QString& commandLine, const QStringList& words) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("WADWRIGHT_COMMAND_LINE", commandLine);
  process.setProcessEnvironment(environment);
  process.start(builtProgramFolder() + "/command.com", words);
  process.waitForFinished();
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardError()};
}

QByteArray coreutilsMd5(const QString& file) {
  QProcess process;
  process.start("md5sum", {"--", file});
  process.waitForFinished();
  return process.readAllStandardOutput().left(32);
}

}  // namespace

TEST(CommandCom, RunsTheChecksumToolIntoTheFile) {
  ScratchFolder folder;
  folder.write("my doom.wad", QByteArray(100000, 'x'));
  folder.write("md5tmp.txt", "stale content that is longer than the new output will be, much longer\n");
  Result result = interpret("command.com /c md5sum.exe \"my doom.wad\" > md5tmp.txt",
                            {"/c", "md5sum.exe", "my doom.wad", ">", "md5tmp.txt"});
  EXPECT_EQ(result.status, 0) << result.errorOutput.toStdString();
  EXPECT_EQ(folder.read("md5tmp.txt"), coreutilsMd5("my doom.wad") + "  my doom.wad\n");
}

TEST(CommandCom, AQuotedRedirectionIsPartOfTheName) {
  ScratchFolder folder;
  folder.write("a > b.wad", "data");
  Result result = interpret("command.com /c md5sum.exe \"a > b.wad\"", {"/c", "md5sum.exe", "a > b.wad"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(folder.entries(), QStringList{"a > b.wad"});  // nothing named b.wad or similar was written
}

TEST(CommandCom, UnsupportedLinesRunNothing) {
  ScratchFolder folder;
  Result result = interpret("command.com /c touch made | touch piped", {"/c", "touch", "made", "|", "touch", "piped"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.errorOutput, "command.com: pipes ('|') are not supported\n");
  result = interpret("command.com touch made", {"touch", "made"});
  EXPECT_NE(result.status, 0);
  EXPECT_TRUE(folder.entries().isEmpty());
}

TEST(CommandCom, PassesOnTheExitStatusAndSaysWhenAProgramIsMissing) {
  ScratchFolder folder;
  EXPECT_EQ(interpret("command.com /c sh -c \"exit 7\"", {"/c", "sh", "-c", "exit 7"}).status, 7);
  Result missing = interpret("command.com /c nothing.exe x > out.txt", {"/c", "nothing.exe", "x", ">", "out.txt"});
  EXPECT_EQ(missing.status, 127);
  EXPECT_EQ(missing.errorOutput, "command.com: nothing.exe was not found\n");
  EXPECT_FALSE(folder.exists("out.txt"));
}

TEST(CommandCom, NeverWritesThroughALink) {
  ScratchFolder folder;
  folder.write("precious.wad", "keep me");
  QFile::link("precious.wad", "md5tmp.txt");
  Result result = interpret("command.com /c md5sum.exe precious.wad > md5tmp.txt",
                            {"/c", "md5sum.exe", "precious.wad", ">", "md5tmp.txt"});
  EXPECT_NE(result.status, 0);
  EXPECT_EQ(folder.read("precious.wad"), "keep me");
}

TEST(CommandCom, StartedByHandTheWordsAfterTheSwitchAreTheCommand) {
  ScratchFolder folder;
  folder.write("a b.wad", "data");
  QProcess process;
  process.start(builtProgramFolder() + "/command.com", {"/c", "md5sum.exe \"a b.wad\" > out.txt"});
  process.waitForFinished();
  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_EQ(folder.read("out.txt"), coreutilsMd5("a b.wad") + "  a b.wad\n");
}
