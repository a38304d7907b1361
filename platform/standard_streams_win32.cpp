#include "standard_streams.h"

#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

UINT gConsoleCodePage = 0;

void restoreConsoleCodePage() { SetConsoleOutputCP(gConsoleCodePage); }

bool isConsole(DWORD stream) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(stream), &mode);
}

}  // namespace

// A program started without one of its streams (a window program's child, or one started with
// the handle closed) gets the null device there, as on POSIX; writing it then still fails.
// A console shows what is written to it in its own code page, while all we write is UTF-8 (the
// manifest's code page): the console is told so while we write, and gets its own back as we end.
// A pipe or a file gets the same UTF-8 bytes as on Linux.
void guardStandardStreams() {
  if (_get_osfhandle(0) == -1) std::freopen("NUL", "rb", stdin);
  if (_get_osfhandle(1) == -1) std::freopen("NUL", "rb", stdout);
  if (_get_osfhandle(2) == -1) std::freopen("NUL", "wb", stderr);
  if ((isConsole(STD_OUTPUT_HANDLE) || isConsole(STD_ERROR_HANDLE)) && GetConsoleOutputCP() != CP_UTF8) {
    gConsoleCodePage = GetConsoleOutputCP();
    if (SetConsoleOutputCP(CP_UTF8)) std::atexit(restoreConsoleCodePage);
  }
}

bool standardErrorIsTerminal() { return isConsole(STD_ERROR_HANDLE); }

// Windows always has its desktop to open a window on.
bool hasDisplay() { return true; }

}  // namespace platform
