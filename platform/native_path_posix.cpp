#include "native_path.h"

#include <algorithm>

namespace platform {

std::string nativePath(const std::string& windowsPath) {
  std::string path = windowsPath;
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace platform
