#include "windows_path.h"

#include <algorithm>

namespace tools {

std::string nativePath(const std::string& windowsPath) {
  std::string path = windowsPath;
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace tools
