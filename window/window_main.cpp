// The window program, which the command-line front `wadwright` starts in its place.
#include <QApplication>
#include <QIcon>

#include "application.h"
#include "form1.h"
#include "frmsplash.h"
#include "identify/dead_runs.h"
#include "message_box.h"
#include "platform/program_folder.h"
#include "platform/termination_signals.h"
#include "start_up.h"

int main(int argc, char* argv[]) {
  explainUnreachableDisplay();
  QApplication application(argc, argv);
  prepareApplication(application);
  QApplication::setWindowIcon(QIcon(":/icons/wadwright.png"));
  QStringList arguments = QCoreApplication::arguments().mid(1);

  const QByteArray folder = platform::programFolder();
  if (folder.isEmpty()) {  // said once, not as every helper "not found"
    showMessage(nullptr, "I cannot tell which folder I was started from (the system names no path of 4096 bytes or more), "
                         "so I cannot find my helpers.");
    return 2;
  }
  removeDeadRunsFolders();
  Form1 form(folder);
  frmSplash disclaimer;
  // Logout or Ctrl+C ends the program as closing the window does: a tool is stopped, and what it
  // began is removed, before the program goes.
  platform::handleTerminationSignals(&form, [&form](int number) {
    form.close();
    QCoreApplication::exit(128 + number);
  });
  startUp(form, disclaimer, arguments);
  return application.exec();
}
