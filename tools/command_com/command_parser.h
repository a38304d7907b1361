#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tools {

/// One command as our interpreter runs it: a program with its arguments, and where its standard
/// output goes.
struct ParsedCommand {
  std::vector<std::string> words;          ///< The program, then its arguments; quotes removed.
  std::optional<std::string> outputFile;   ///< Set by a trailing `> FILE`.
  std::string commandLine;                 ///< The program's own command line, without the redirection.
  std::string error;                       ///< Set when the line cannot be run; nothing else is then.
};

/// Reads what follows `/c`. Words are split as platform::splitCommandLine splits them; outside
/// quotes `>` redirects standard output into the file named by the one word after it, which must
/// end the line. Pipes, `&`, `<`, `>>` and a second redirection are not supported and give an error.
ParsedCommand parseCommand(const std::string& text);

/// The text after the `/c` switch of a whole interpreter command line, or an error when the line
/// does not start with the interpreter's name and `/c`.
std::optional<std::string> textAfterSwitch(const std::string& commandLine, std::string* error);

}  // namespace tools
