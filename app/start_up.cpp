#include "start_up.h"

#include <QTimer>

#include "file_list_box.h"
#include "form1.h"
#include "identify/iwad_search.h"
#include "frmsplash.h"
#include "start_place.h"

void startUp(Form1& form, frmSplash& disclaimer, const QStringList& arguments) {
  QString path = arguments.value(0);
  QObject::connect(&disclaimer, &frmSplash::accepted, &form, [&form, path] {
    form.show();
    if (path.isEmpty()) form.File1->setFoundIwads(findIwads(iwadPlaces(QProcessEnvironment::systemEnvironment())));
    else QTimer::singleShot(0, &form, [&form, path] { form.openPlace(placeOf(path)); });
  });
  disclaimer.show();
}
