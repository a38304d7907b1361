// The window program, which the command-line front `wadwright` starts in its place.
#include <QApplication>
#include <QIcon>

#include "application.h"
#include "form1.h"
#include "frmsplash.h"
#include "platform/program_folder.h"
#include "platform/termination_signals.h"
#include "start_up.h"

int main(int argc, char* argv[]) {
  explainUnreachableDisplay();
  QApplication application(argc, argv);
  prepareApplication(application);
  QApplication::setWindowIcon(QIcon(":/icons/wadwright.png"));
  QStringList arguments = QCoreApplication::arguments().mid(1);

  Form1 form(platform::programFolder());
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
