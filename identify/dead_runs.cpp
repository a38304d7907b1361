#include "dead_runs.h"

#include <QDir>
#include <QRegularExpression>
#include <QThread>

#include "platform/run_names.h"

QString privateFolderTemplate(const QString& base) { return base + "/wadwright-" + platform::thisRunName() + "-XXXXXX"; }

void PrivateFolderRemoval::operator()(QTemporaryDir* folder) const {
  // Two seconds at most: what is still left then, the next start removes.
  for (int tries = 0; folder->isValid() && !folder->remove() && tries < 40; ++tries) QThread::msleep(50);
  delete folder;
}

void removeDeadRunsFolders() {
  // QTemporaryDir puts six letters or digits for the Xs.
  static const QRegularExpression ours("^wadwright-([0-9]+(?:-[0-9]+)+)-[A-Za-z0-9]{6}$");
  for (const QString& base : {qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath()}) {
    if (base.isEmpty()) continue;
    // Only folders: a link named so is not ours to follow.
    const QDir folder(base);
    for (const QString& name : folder.entryList({"wadwright-*"}, QDir::Dirs | QDir::NoSymLinks | QDir::Hidden)) {
      const QRegularExpressionMatch match = ours.match(name);
      if (match.hasMatch() && platform::runHasEnded(match.captured(1))) QDir(folder.filePath(name)).removeRecursively();
    }
  }
}
