// Splitting and quoting of command lines: the main window quotes file names the user picked and
// our tools split them back, so a name that quoting accepts must come back exactly, whatever it
// holds.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/command_line.h"
#include "tools/command_com/command_parser.h"

namespace {

// What quoting promises to accept, written out on its own rather than borrowed from the code.
bool passable(const std::string& word) {
  if (word.empty()) return false;
  for (unsigned char c : word)
    if (c == '"' || c == '\\' || c < 0x20 || c == 0x7f) return false;
  return true;
}

using Words = std::vector<std::string>;

void checkQuoting(const std::string& word) {
  std::optional<std::string> quoted = platform::quoteForCommandLine(word);
  FUZZ_CHECK(quoted.has_value() == passable(word));
  if (!quoted) return;

  FUZZ_CHECK(platform::splitCommandLine("x " + *quoted + " y") == (Words{"x", word, "y"}));
  FUZZ_CHECK(platform::splitCommandLine(*quoted + "\t" + *quoted) == (Words{word, word}));

  // The interpreter must read it the same way: neither as an operator nor as a redirection,
  // both as an argument and as the file named after '>'.
  tools::ParsedCommand parsed = tools::parseCommand(" md5sum.exe " + *quoted + " > " + *quoted);
  FUZZ_CHECK(parsed.error.empty());
  FUZZ_CHECK(parsed.words == (Words{"md5sum.exe", word}));
  FUZZ_CHECK(parsed.outputFile == word);
  FUZZ_CHECK(platform::splitCommandLine(parsed.commandLine) == parsed.words);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);

  Words words = platform::splitCommandLine(text);
  for (const std::string& word : words) FUZZ_CHECK(word.find('"') == std::string::npos);

  checkQuoting(text);

  // Every word of the line that can be quoted survives being quoted and split again.
  Words passed;
  std::string line;
  for (const std::string& word : words) {
    std::optional<std::string> quoted = platform::quoteForCommandLine(word);
    if (!quoted) continue;
    passed.push_back(word);
    line += (line.empty() ? "" : " ") + *quoted;
  }
  FUZZ_CHECK(platform::splitCommandLine(line) == passed);
  return 0;
}
