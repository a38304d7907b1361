#include "start_up.h"

#include <QFile>
#include <QTimer>

#include "file_list_box.h"
#include "form1.h"
#include "identify/iwad_search.h"
#include "frmsplash.h"
#include "platform/native_names.h"
#include "start_place.h"

namespace {

// The window lists only names that are text.
QStringList textPaths(const QList<QByteArray>& paths) {
  QStringList texts;
  for (const QByteArray& path : paths)
    if (platform::isTextPath(path)) texts << QFile::decodeName(path);
  return texts;
}

}  // namespace

void startUp(Form1& form, frmSplash& disclaimer, const QStringList& arguments) {
  QString path = arguments.value(0);
  QObject::connect(&disclaimer, &frmSplash::accepted, &form, [&form, path] {
    form.show();
    if (path.isEmpty()) form.File1->setFoundIwads(textPaths(findIwads(iwadPlaces(QProcessEnvironment::systemEnvironment()))));
    else QTimer::singleShot(0, &form, [&form, path] { form.openPlace(placeOf(path)); });
  });
  disclaimer.show();
}
