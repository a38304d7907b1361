#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "application.h"
#include "form1.h"
#include "identify_command.h"
#include "frmsplash.h"
#include "start_up.h"

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
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  if (arguments.contains("--help")) return std::fputs(kUsage, stdout) < 0;
  if (arguments.contains("--version")) return std::printf("Wadwright %s\n", kProgramVersion) < 0;

  if (arguments.value(0) == "--identify") {
    QCoreApplication application(argc, argv);  // no display needed
    return identifyFromCommandLine(arguments, QCoreApplication::applicationDirPath());
  }

  QApplication application(argc, argv);
  prepareApplication(application);
  QApplication::setWindowIcon(QIcon(":/icons/wadwright.png"));

  Form1 form(QCoreApplication::applicationDirPath());
  frmSplash disclaimer;
  startUp(form, disclaimer, arguments);
  return application.exec();
}
