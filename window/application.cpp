#include "application.h"

#include <QApplication>
#include <QFont>
#include <cstdio>
#include <unistd.h>

namespace {

QString gFirstWarning;  // the platform's own words on what failed first: "could not connect to display :1"

void startUpMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    if (gFirstWarning.isEmpty()) gFirstWarning = message;
    return;
  }
  std::fprintf(stderr, "wadwright: cannot open a window: %s\n",
               qPrintable(gFirstWarning.isEmpty() ? message.section('\n', 0, 0) : gFirstWarning));
  _exit(2);
}

}  // namespace

void explainUnreachableDisplay() { qInstallMessageHandler(startUpMessage); }

void prepareApplication(QApplication& application) {
  qInstallMessageHandler(nullptr);
  application.setApplicationName("Wadwright");
  application.setApplicationVersion(kProgramVersion);
  // The windows ask for the fonts their design names; these metric-compatible faces stand in
  // for them, so that every caption fits the box it was measured for.
  QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
  QFont::insertSubstitution("Times New Roman", "Liberation Serif");
  QFont::insertSubstitution("Courier New", "Liberation Mono");
  // And the message boxes too: left to fontconfig, a machine with no other fonts than these may
  // pick the fixed-pitch one for every text.
  application.setFont(QFont("MS Sans Serif", 8));
}
