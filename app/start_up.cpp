#include "start_up.h"

#include <QTimer>

#include "form1.h"
#include "frmsplash.h"
#include "start_place.h"

void startUp(Form1& form, frmSplash& disclaimer, const QStringList& arguments) {
  QString path = arguments.value(0);
  QObject::connect(&disclaimer, &frmSplash::accepted, &form, [&form, path] {
    form.show();
    if (!path.isEmpty()) QTimer::singleShot(0, &form, [&form, path] { form.openPlace(placeOf(path)); });
  });
  disclaimer.show();
}
