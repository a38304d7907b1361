// explorer FOLDER: shows FOLDER in the desktop's file manager, through xdg-open.
// The main window passes the folder unquoted, so a path with blanks arrives as several
// arguments: joined with single blanks they give the path back.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/native_path.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "explorer: no folder given\nusage: explorer FOLDER\n");
    return 2;
  }
  std::string joined = argv[1];
  for (int i = 2; i < argc; ++i) joined += std::string(" ") + argv[i];
  const std::string folder = platform::nativePath(joined);

  struct stat info;
  if (stat(folder.c_str(), &info) != 0) {
    std::fprintf(stderr, "explorer: %s: %s\n", folder.c_str(), std::strerror(errno));
    return 1;
  }
  if (!S_ISDIR(info.st_mode)) {
    std::fprintf(stderr, "explorer: %s: not a folder\n", folder.c_str());
    return 1;
  }

  // A folder handed over by a handle of ours (its name is not valid text) is named to the file
  // manager, another process, by its real path. xdg-open would take a path starting with '-' for
  // an option.
  std::string argument = folder[0] == '-' ? "./" + folder : folder;
  if (argument.rfind("/proc/self/fd/", 0) == 0) {
    char* real = realpath(argument.c_str(), nullptr);
    if (real) argument = real;
    free(real);
  }
  char* const command[] = {const_cast<char*>("xdg-open"), const_cast<char*>(argument.c_str()),
                           nullptr};
  execvp(command[0], command);
  std::fprintf(stderr, "explorer: cannot start xdg-open: %s\n", std::strerror(errno));
  return 127;
}
