#include <QApplication>
#include <QIcon>

#include "application.h"
#include "form1.h"
#include "frmsplash.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  prepareApplication(application);
  QApplication::setWindowIcon(QIcon(":/icons/wadwright.png"));

  // The disclaimer comes first; the main window, ready and hidden, only once it is accepted.
  Form1 form(QCoreApplication::applicationDirPath());
  frmSplash disclaimer;
  QObject::connect(&disclaimer, &frmSplash::accepted, &form, [&form] { form.show(); });
  disclaimer.show();
  return application.exec();
}
