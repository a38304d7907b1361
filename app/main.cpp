#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "application.h"
#include "form1.h"
#include "frmsplash.h"
#include "start_up.h"

namespace {

constexpr const char* kUsage =
    "Usage: wadwright [PATH]\n"
    "Tells which release of DOOM, DOOM2 or Final Doom an IWAD is, and makes its other releases.\n"
    "\n"
    "  PATH        a folder to work in, or an IWAD to identify in its folder\n"
    "              (without it: the folder Wadwright was started in)\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n";

}  // namespace

int main(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  if (arguments.contains("--help")) return std::fputs(kUsage, stdout) < 0;
  if (arguments.contains("--version")) return std::printf("Wadwright %s\n", kProgramVersion) < 0;

  QApplication application(argc, argv);
  prepareApplication(application);
  QApplication::setWindowIcon(QIcon(":/icons/wadwright.png"));

  Form1 form(QCoreApplication::applicationDirPath());
  frmSplash disclaimer;
  startUp(form, disclaimer, arguments);
  return application.exec();
}
