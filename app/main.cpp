// `wadwright`: the command-line front. It answers --help, --version and --identify itself, with
// QtCore alone, and hands everything else to the window program beside it.
#include <QCoreApplication>
#include <cstdio>

#include "identify_command.h"
#include "platform/run_instead.h"
#include "version.h"

namespace {

constexpr const char* kUsage =
    "Usage: wadwright [PATH]\n"
    "       wadwright --identify [--json] FILE...\n"
    "Tells which release of DOOM, DOOM2 or Final Doom an IWAD is, and makes its other releases.\n"
    "\n"
    "  PATH        a folder to work in, or an IWAD to identify in its folder\n"
    "              (without it: the folder Wadwright was started in)\n"
    "  --identify  name the release of each FILE without a window, one line each:\n"
    "              FILE<TAB>release<TAB>remark, FILE<TAB>unknown<TAB>MD5 or FILE<TAB>error<TAB>reason;\n"
    "              exit status 0: all known, 1: one unknown, 2: one could not be identified\n"
    "  --json      with --identify: one JSON array instead\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n";

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);  // no display needed here
  QStringList arguments = QCoreApplication::arguments().mid(1);
  if (arguments.contains("--help")) return std::fputs(kUsage, stdout) < 0;
  if (arguments.contains("--version")) return std::printf("Wadwright %s\n", kProgramVersion) < 0;
  QString folder = QCoreApplication::applicationDirPath();
  if (arguments.value(0) == "--identify") return identifyFromCommandLine(arguments, folder);

  QString window = folder + "/wadwright-window";
  QString why = platform::runInstead(window, argv);
  std::fprintf(stderr, "wadwright: cannot start %s: %s\n", qPrintable(window), qPrintable(why));
  return 127;
}
