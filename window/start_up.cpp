#include "start_up.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <memory>

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

// The search may have a million places to look at: the window answers meanwhile, and its IWADs
// are named when it is done. Closing the window stops it.
void nameFoundIwads(Form1& form) {
  auto found = std::make_shared<QStringList>();
  QPointer<QThread> search = QThread::create([found] {
    *found = textPaths(findIwads(iwadPlaces(QProcessEnvironment::systemEnvironment())));
  });
  QObject::connect(search, &QThread::finished, &form, [&form, found] { form.File1->setFoundIwads(*found); });
  QObject::connect(search, &QThread::finished, search, &QObject::deleteLater);
  QObject::connect(&form, &QObject::destroyed, search, [search] {
    search->requestInterruption();
    search->wait();
  });
  QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, search, [search] {
    search->requestInterruption();
    search->wait();
  });
  search->start();
}

}  // namespace

void startUp(Form1& form, frmSplash& disclaimer, const QStringList& arguments) {
  QString path = arguments.value(0);
  QObject::connect(&disclaimer, &frmSplash::accepted, &form, [&form, path] {
    form.show();
    if (path.isEmpty()) nameFoundIwads(form);
    else QTimer::singleShot(0, &form, [&form, path] { form.openPlace(placeOf(path)); });
  });
  disclaimer.show();
}
