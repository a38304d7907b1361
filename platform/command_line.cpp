#include "command_line.h"

namespace platform {

std::vector<std::string> splitCommandLine(const std::string& commandLine) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (char c : commandLine) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;  // "" is an empty word of its own
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

static bool isPlainCharacter(unsigned char c) {
  // Letters beyond ASCII are safe for the splitter but are quoted anyway: a real Windows
  // interpreter may read them in another code page, and quotes never hurt.
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '-' || c == '+';
}

std::optional<std::string> quoteForCommandLine(const std::string& word, bool backslashParts) {
  if (word.empty()) return std::nullopt;
  // A word with a backslash is quoted, and Windows' C runtime reads backslashes before the closing
  // quote as escaping it.
  if (backslashParts && word.back() == '\\') return std::nullopt;
  bool plain = true;
  for (unsigned char c : word) {
    if (c == '"' || (c == '\\' && !backslashParts) || c < 0x20 || c == 0x7f) return std::nullopt;
    plain = plain && isPlainCharacter(c);
  }
  if (plain) return word;
  return '"' + word + '"';
}

}  // namespace platform
