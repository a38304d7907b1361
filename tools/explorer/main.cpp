// explorer FOLDER: shows FOLDER in the desktop's file manager, through xdg-open.
// The main window passes the folder unquoted, so a path with blanks arrives as several
// arguments: joined with single blanks they give the path back.
// xdg-open that fails does so at once ("no method available" on a desktop without a file
// manager): it is given a moment, and its complaint is passed on in one line, naming the folder.
// One still running then has started the file manager, and is left to it.

#include <sys/stat.h>
#include <sys/wait.h>
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
  // Its complaints go to a file, not a pipe: a file manager that outlives us may still write.
  FILE* said = std::tmpfile();
  const pid_t child = fork();
  if (child < 0) {
    std::fprintf(stderr, "explorer: cannot start xdg-open: %s\n", std::strerror(errno));
    return 127;
  }
  if (child == 0) {
    if (said) dup2(fileno(said), STDERR_FILENO);
    execvp(command[0], command);
    std::fprintf(stderr, "cannot start xdg-open: %s\n", std::strerror(errno));
    _exit(127);
  }
  int status = 0;
  pid_t ended = 0;
  for (int waited = 0; waited < 2000 && (ended = waitpid(child, &status, WNOHANG)) == 0; waited += 20) usleep(20 * 1000);
  if (ended != child || (WIFEXITED(status) && WEXITSTATUS(status) == 0)) return 0;

  // Its last line says most ("xdg-open: no method available").
  std::string text;
  if (said) {
    std::rewind(said);
    char buffer[4096];
    for (size_t length; (length = std::fread(buffer, 1, sizeof buffer, said)) > 0;) text.append(buffer, length);
  }
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  text = text.substr(text.find_last_of('\n') == std::string::npos ? 0 : text.find_last_of('\n') + 1);
  if (text.empty())
    text = WIFEXITED(status) ? "xdg-open ended with status " + std::to_string(WEXITSTATUS(status)) : "xdg-open ended abnormally";
  std::fprintf(stderr, "explorer: the file manager did not open %s: %s\n", folder.c_str(), text.c_str());
  return 1;
}
