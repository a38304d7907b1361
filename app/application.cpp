#include "application.h"

#include <QApplication>
#include <QFont>

void prepareApplication(QApplication& application) {
  application.setApplicationName("Wadwright");
  application.setApplicationVersion(kProgramVersion);
  // The windows ask for the fonts their design names; these metric-compatible faces stand in
  // for them, so that every caption fits the box it was measured for.
  QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
  QFont::insertSubstitution("Times New Roman", "Liberation Serif");
  QFont::insertSubstitution("Courier New", "Liberation Mono");
}
