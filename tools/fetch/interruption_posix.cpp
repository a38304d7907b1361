#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "tools/common/pending_file.h"
#include "tools/fetch/interruption.h"

namespace fetch {

namespace {

// The handler may use nothing that allocates or locks: the folders' names wait here.
constexpr int kMostFolders = 16;
char gFolders[kMostFolders][PATH_MAX];
volatile sig_atomic_t gFolderCount = 0;

void removeAndEnd(int signal) {
  tools::removePendingFileNow();
  for (int i = gFolderCount - 1; i >= 0; --i) rmdir(gFolders[i]);
  _exit(128 + signal);
}

}  // namespace

void endCleanlyOnSignals(const std::vector<std::string>& madeFolders) {
  // A progress line the caller no longer reads, or a limit on file sizes, is no reason to end
  // uncleanly: the write fails, and says so.
  signal(SIGPIPE, SIG_IGN);
  signal(SIGXFSZ, SIG_IGN);
  struct sigaction action {};
  action.sa_handler = removeAndEnd;
  sigfillset(&action.sa_mask);
  gFolderCount = 0;
  for (const std::string& folder : madeFolders) {
    if (gFolderCount == kMostFolders || folder.size() >= PATH_MAX) break;
    std::memcpy(gFolders[gFolderCount], folder.c_str(), folder.size() + 1);
    gFolderCount = gFolderCount + 1;
  }
  for (int number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    struct sigaction previous {};
    sigaction(number, nullptr, &previous);
    // A signal our starter chose to ignore (nohup) stays ignored.
    if (previous.sa_handler != SIG_IGN) sigaction(number, &action, nullptr);
  }
}

}  // namespace fetch
