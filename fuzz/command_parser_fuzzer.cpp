// The command interpreter's reading of its line: whatever the line, it either refuses it with a
// message or yields a program to run, and it never runs anything when the line holds an operator
// it does not support.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/command_line.h"
#include "tools/command_com/command_parser.h"

namespace {

// The line's operators outside quotes, found by a scan of our own.
struct Operators {
  bool unsupported = false;  // '|', '&' or '<'
  bool appending = false;    // ">>"
  size_t redirections = 0;   // '>'
  size_t firstRedirection = std::string::npos;
};

Operators operatorsOf(const std::string& text) {
  Operators found;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') quoted = !quoted;
    if (quoted || c == '"') continue;
    if (c == '|' || c == '&' || c == '<') found.unsupported = true;
    if (c == '>') {
      if (found.redirections++ == 0) found.firstRedirection = i;
      if (i + 1 < text.size() && text[i + 1] == '>') found.appending = true;
    }
  }
  return found;
}

void checkParse(const std::string& text) {
  tools::ParsedCommand parsed = tools::parseCommand(text);
  Operators operators = operatorsOf(text);

  if (operators.unsupported || operators.appending || operators.redirections > 1)
    FUZZ_CHECK(!parsed.error.empty());
  // And a plain line with a word in it is never refused.
  if (!operators.unsupported && operators.redirections == 0 && !platform::splitCommandLine(text).empty())
    FUZZ_CHECK(parsed.error.empty());

  if (!parsed.error.empty()) {
    // Refused: nothing that could be run by mistake.
    FUZZ_CHECK(parsed.words.empty());
    FUZZ_CHECK(!parsed.outputFile);
    FUZZ_CHECK(parsed.commandLine.empty());
    return;
  }

  FUZZ_CHECK(!parsed.words.empty());
  FUZZ_CHECK(parsed.outputFile.has_value() == (operators.redirections == 1));
  if (parsed.outputFile) {
    // Exactly the one word after '>' names the file.
    FUZZ_CHECK(!parsed.outputFile->empty());
    FUZZ_CHECK(platform::splitCommandLine(text.substr(operators.firstRedirection + 1)) ==
               std::vector<std::string>{*parsed.outputFile});
  }
  for (const std::string& word : parsed.words) FUZZ_CHECK(word.find('"') == std::string::npos);

  // The program gets its own line; split again it must give exactly the words it was started
  // with, or the program reads other arguments than the interpreter meant.
  FUZZ_CHECK(platform::splitCommandLine(parsed.commandLine) == parsed.words);

  // The words are those of the line up to the redirection, split as everywhere else.
  std::string commandPart = text.substr(0, operators.firstRedirection);
  FUZZ_CHECK(platform::splitCommandLine(commandPart) == parsed.words);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);

  // The input both as what follows /c and as the interpreter's whole line.
  checkParse(text);

  std::string error;
  std::optional<std::string> after = tools::textAfterSwitch(text, &error);
  if (!after) {
    FUZZ_CHECK(!error.empty());
    return 0;
  }
  FUZZ_CHECK(error.empty());
  FUZZ_CHECK(after->size() <= text.size());
  FUZZ_CHECK(text.compare(text.size() - after->size(), after->size(), *after) == 0);
  checkParse(*after);
  return 0;
}
