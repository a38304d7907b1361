#pragma once

#include <string>

namespace platform {

/// Our tools take paths as Windows programs do: `patches\d1_ud_11` is the file `d1_ud_11` in the
/// folder `patches`. This turns such a path into the one this system reads, and users type.
std::string nativePath(const std::string& windowsPath);

}  // namespace platform
