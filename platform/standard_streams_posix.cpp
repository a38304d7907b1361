#include "standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <initializer_list>

namespace platform {

void guardStandardStreams() {
  for (int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (fcntl(stream, F_GETFD) != -1) continue;
    int opened = open("/dev/null", stream == STDERR_FILENO ? O_WRONLY : O_RDONLY);
    if (opened >= 0 && opened != stream) {
      dup2(opened, stream);
      close(opened);
    }
  }
}

bool standardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

bool hasDisplay() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return true;
  }
  return false;
}

}  // namespace platform
