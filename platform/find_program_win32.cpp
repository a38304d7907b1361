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

bool isOwnHelper(const std::string& name) {
  std::string lower = lowered(name);
  for (const char* helper : {"command.com", "md5sum.exe", "bspatch.exe", "fetch.exe"})
    if (lower == helper) return true;
  return false;
}

// Windows' own file manager, from the Windows folder: not ours, and never one found beside the user's files.
bool isExplorer(const std::string& name) {
  std::string lower = lowered(name);
  return lower == "explorer" || lower == "explorer.exe";
}

std::string windowsFolder() {
  wchar_t folder[MAX_PATH];
  UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? narrowText(std::wstring(folder, length)) : std::string();
}

// A relative entry of PATH ("." or "bin") would lead into the working folder, where the user's
// files are: only absolute ones count.
bool isAbsoluteFolder(const std::string& folder) {
  return folder.size() > 2 && ((folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/')) ||
                               (folder[0] == '\\' && folder[1] == '\\'));
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
  if (isOwnHelper(name) || isExplorer(name)) {
    const std::string folder = isExplorer(name) ? windowsFolder() : programFolder;
    if (!folder.empty())
      if (std::optional<std::string> found = programIn(folder, name, &reason)) return found;
    if (why) *why = reason;
    return std::nullopt;
  }
  // Never the working folder: it holds the user's downloads, not programs to run.
  std::string folders = programFolder + ";";
  if (const char* path = std::getenv("PATH")) folders += path;
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(';', start);
    if (end == std::string::npos) end = folders.size();
    std::string folder = folders.substr(start, end - start);
    if (isAbsoluteFolder(folder))
      if (std::optional<std::string> found = programIn(folder, name, &reason)) return found;
    start = end + 1;
  }
  if (why) *why = reason;
  return std::nullopt;
}

}  // namespace platform
