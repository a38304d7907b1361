#include "command_parser.h"

#include "platform/command_line.h"

namespace tools {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Where the word that starts at `from` ends, by the splitter's quoting rules.
size_t endOfWord(const std::string& text, size_t from) {
  bool quoted = false;
  size_t i = from;
  for (; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    else if (isBlank(text[i]) && !quoted) break;
  }
  return i;
}

size_t skipBlanks(const std::string& text, size_t from) {
  while (from < text.size() && isBlank(text[from])) ++from;
  return from;
}

std::string unsupported(char c) {
  switch (c) {
    case '|': return "pipes ('|') are not supported";
    case '&': return "'&' is not supported";
    default: return "input redirection ('<') is not supported";
  }
}

}  // namespace

ParsedCommand parseCommand(const std::string& text) {
  ParsedCommand parsed;
  size_t redirect = std::string::npos;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (quoted) {
      continue;
    } else if (c == '|' || c == '&' || c == '<') {
      parsed.error = unsupported(c);
      return parsed;
    } else if (c == '>') {
      if (redirect != std::string::npos) {
        parsed.error = "only one output redirection is supported";
        return parsed;
      }
      if (i + 1 < text.size() && text[i + 1] == '>') {
        parsed.error = "appending ('>>') is not supported";
        return parsed;
      }
      redirect = i;
    }
  }

  std::string commandPart = text.substr(0, redirect == std::string::npos ? text.size() : redirect);
  std::optional<std::string> outputFile;
  if (redirect != std::string::npos) {
    size_t start = skipBlanks(text, redirect + 1);
    size_t end = endOfWord(text, start);
    std::vector<std::string> target = platform::splitCommandLine(text.substr(start, end - start));
    if (target.size() != 1 || target.front().empty()) {
      parsed.error = "'>' must be followed by the name of a file";
      return parsed;
    }
    if (skipBlanks(text, end) != text.size()) {
      parsed.error = "'> FILE' must end the command line";
      return parsed;
    }
    outputFile = target.front();
  }

  std::vector<std::string> words = platform::splitCommandLine(commandPart);
  if (words.empty()) {
    parsed.error = "no command to run";
    return parsed;
  }
  parsed.words = words;
  parsed.outputFile = outputFile;
  size_t start = skipBlanks(commandPart, 0);
  size_t end = commandPart.find_last_not_of(" \t");
  // Blanks inside a quote the line leaves open belong to its last word.
  if (quoted && redirect == std::string::npos) end = commandPart.size() - 1;
  parsed.commandLine = commandPart.substr(start, end + 1 - start);
  return parsed;
}

std::optional<std::string> textAfterSwitch(const std::string& commandLine, std::string* error) {
  size_t nameEnd = endOfWord(commandLine, skipBlanks(commandLine, 0));
  size_t switchStart = skipBlanks(commandLine, nameEnd);
  size_t switchEnd = endOfWord(commandLine, switchStart);
  std::string word = commandLine.substr(switchStart, switchEnd - switchStart);
  if (word != "/c" && word != "/C") {
    *error = "only 'command.com /c COMMAND [> FILE]' is supported";
    return std::nullopt;
  }
  return commandLine.substr(switchEnd);
}

}  // namespace tools
