#include <QApplication>

#include "application.h"
#include "form1.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  prepareApplication(application);
  Form1 form(QCoreApplication::applicationDirPath());
  form.show();
  return application.exec();
}
