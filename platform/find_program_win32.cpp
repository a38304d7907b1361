#include "find_program.h"

#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <initializer_list>

#include "native_text_win32.h"

namespace platform {

namespace {

bool isProgramFile(const std::string& path, std::string* why) {
  DWORD attributes = GetFileAttributesW(wideText(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    if (why) *why = path + " is not a program file";
    return false;
  }
  return true;
}

// The name, or with .exe added as CreateProcess adds it to a name without an extension.
std::optional<std::string> programIn(const std::string& folder, const std::string& name, std::string* why) {
  std::string candidate = folder.empty() ? name : folder + "\\" + name;
  if (isProgramFile(candidate, why)) return candidate;
  if (name.find('.') == std::string::npos && isProgramFile(candidate + ".exe", why)) return candidate + ".exe";
  return std::nullopt;
}

std::string lowered(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Explorer is not ours here: Windows' own file manager is started by its bare name.
bool isOwnHelper(const std::string& name) {
  std::string lower = lowered(name);
  for (const char* helper : {"command.com", "md5sum.exe", "bspatch.exe"})
    if (lower == helper) return true;
  return false;
}

}  // namespace

std::optional<std::string> findProgram(const std::string& name, const std::string& programFolder,
                                       std::string* why) {
  std::string reason = name + " was not found";
  if (name.empty()) {
    if (why) *why = "no program was named";
    return std::nullopt;
  }
  if (name.find_first_of("\\/:") != std::string::npos) {
    if (std::optional<std::string> found = programIn("", name, &reason)) return found;
    if (why) *why = reason;
    return std::nullopt;
  }
  if (isOwnHelper(name)) {
    if (!programFolder.empty())
      if (std::optional<std::string> found = programIn(programFolder, name, &reason)) return found;
    if (why) *why = reason;
    return std::nullopt;
  }
  std::string folders = programFolder + ";.;";
  if (const char* path = std::getenv("PATH")) folders += path;
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(';', start);
    if (end == std::string::npos) end = folders.size();
    std::string folder = folders.substr(start, end - start);
    if (!folder.empty())
      if (std::optional<std::string> found = programIn(folder, name, &reason)) return found;
    start = end + 1;
  }
  if (why) *why = reason;
  return std::nullopt;
}

}  // namespace platform
