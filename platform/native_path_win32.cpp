#include "native_path.h"

namespace platform {

// Windows reads `patches\d1_ud_11` as it stands.
std::string nativePath(const std::string& windowsPath) { return windowsPath; }

}  // namespace platform
