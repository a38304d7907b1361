#include "standard_streams.h"

#include <io.h>

#include <cstdio>

namespace platform {

// A program started without one of its streams (a window program's child, or one started with
// the handle closed) gets the null device there, as on POSIX; writing it then still fails.
void guardStandardStreams() {
  if (_get_osfhandle(0) == -1) std::freopen("NUL", "rb", stdin);
  if (_get_osfhandle(1) == -1) std::freopen("NUL", "rb", stdout);
  if (_get_osfhandle(2) == -1) std::freopen("NUL", "wb", stderr);
}

// Windows always has its desktop to open a window on.
bool hasDisplay() { return true; }

}  // namespace platform
