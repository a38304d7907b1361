// command.com: our stand-in for the Windows command interpreter, as far as Wadwright needs one.
// It runs `command.com /c PROGRAM ARGUMENTS [> FILE]`: one program, its standard output sent into
// FILE (created or emptied) when `> FILE` ends the line. The exit status is the program's.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "command_parser.h"
#include "platform/command_line.h"
#include "platform/find_program.h"
#include "platform/native_path.h"

namespace {

int fail(const std::string& message, int status = 2) {
  std::cerr << "command.com: " << message << "\n";
  return status;
}

std::string ownFolder() {
  char path[4096];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  std::string self(path, size_t(length));
  return self.substr(0, self.rfind('/'));
}

// The line we were started with. Wadwright hands it over whole, as Windows would, so that we can
// tell a quoted '>' from a redirection; started by hand, the words after /c are the command.
std::string ourCommandLine(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (const char* given = std::getenv(platform::kCommandLineVariable)) {
    std::vector<std::string> words = platform::splitCommandLine(given);
    if (!words.empty() && std::vector<std::string>(words.begin() + 1, words.end()) == arguments)
      return given;
  }
  std::string line = "command.com";
  for (const std::string& argument : arguments) line += " " + argument;
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  std::optional<std::string> text = tools::textAfterSwitch(ourCommandLine(argc, argv), &error);
  if (!text) return fail(error);
  tools::ParsedCommand command = tools::parseCommand(*text);
  if (!command.error.empty()) return fail(command.error);

  std::optional<std::string> program = platform::findProgram(command.words.front(), ownFolder(), &error);
  if (!program) return fail(error, 127);

  if (command.outputFile) {
    // Never write through a symbolic link: the file named is the one that gets written.
    std::string path = platform::nativePath(*command.outputFile);
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0666);
    if (fd < 0) return fail("cannot write " + *command.outputFile + ": " + std::strerror(errno));
    if (dup2(fd, STDOUT_FILENO) < 0) return fail(std::string("cannot redirect output: ") + std::strerror(errno));
    close(fd);
  }

  setenv(platform::kCommandLineVariable, command.commandLine.c_str(), 1);
  std::vector<char*> programArguments;
  for (std::string& word : command.words) programArguments.push_back(word.data());
  programArguments.push_back(nullptr);
  execv(program->c_str(), programArguments.data());
  return fail("cannot start " + command.words.front() + ": " + std::strerror(errno), 127);
}
