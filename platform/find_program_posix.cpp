#include "find_program.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <initializer_list>

namespace platform {

static bool isExecutableFile(const std::string& path, std::string* why) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  if (!S_ISREG(info.st_mode)) {
    if (why) *why = path + " is not a program file";
    return false;
  }
  if (access(path.c_str(), X_OK) != 0) {
    if (why) *why = path + " is not executable";
    return false;
  }
  return true;
}

// Compared as Windows compares names: MD5SUM.EXE is md5sum.exe too.
static bool isOwnHelper(const std::string& name) {
  std::string lower = name;
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  for (const char* helper : {"command.com", "md5sum.exe", "bspatch.exe", "fetch.exe", "explorer"})
    if (lower == helper) return true;
  return false;
}

std::optional<std::string> findProgram(const std::string& name, const std::string& programFolder,
                                       std::string* why) {
  std::string reason = name + " was not found";
  if (name.empty()) {
    if (why) *why = "no program was named";
    return std::nullopt;
  }
  if (name.find('/') != std::string::npos) {
    if (isExecutableFile(name, &reason)) return name;
    if (why) *why = reason;
    return std::nullopt;
  }
  if (isOwnHelper(name)) {
    if (!programFolder.empty() && isExecutableFile(programFolder + "/" + name, &reason)) return programFolder + "/" + name;
    if (why) *why = reason;
    return std::nullopt;
  }
  std::string folders[] = {programFolder, "."};
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    std::string candidate = folder + "/" + name;
    if (isExecutableFile(candidate, &reason)) return candidate;
  }
  const char* path = std::getenv("PATH");
  std::string searchPath = path ? path : "";
  size_t start = 0;
  while (start <= searchPath.size()) {
    size_t end = searchPath.find(':', start);
    if (end == std::string::npos) end = searchPath.size();
    std::string folder = searchPath.substr(start, end - start);
    // An empty PATH entry means the working folder, which has been searched already.
    if (!folder.empty() && isExecutableFile(folder + "/" + name, &reason)) return folder + "/" + name;
    start = end + 1;
  }
  if (why) *why = reason;
  return std::nullopt;
}

}  // namespace platform
