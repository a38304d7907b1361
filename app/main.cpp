#include <QApplication>
#include <QIcon>

#include "application.h"
#include "form1.h"
#include "frmsplash.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  prepareApplication(application);
  QApplication::setWindowIcon(QIcon(":/icons/wadwright.png"));
  // The main window's load step hides it and puts the disclaimer up; the disclaimer shows it.
  frmSplash::shownAtStart = true;
  Form1 form(QCoreApplication::applicationDirPath());
  return application.exec();
}
