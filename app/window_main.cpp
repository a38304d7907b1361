// The window program, which the command-line front `wadwright` starts in its place.
#include <QApplication>
#include <QIcon>

#include "application.h"
#include "form1.h"
#include "frmsplash.h"
#include "start_up.h"

int main(int argc, char* argv[]) {
  explainUnreachableDisplay();
  QApplication application(argc, argv);
  prepareApplication(application);
  QApplication::setWindowIcon(QIcon(":/icons/wadwright.png"));
  QStringList arguments = QCoreApplication::arguments().mid(1);

  Form1 form(QCoreApplication::applicationDirPath());
  frmSplash disclaimer;
  startUp(form, disclaimer, arguments);
  return application.exec();
}
