#include "dead_runs.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include "platform/owned_tree_removal.h"
#include "platform/run_names.h"

QString privateFolderTemplate(const QString& base) { return base + "/wadwright-" + platform::thisRunName() + "-XXXXXX"; }

void PrivateFolderRemoval::operator()(QTemporaryDir* folder) const {
  // Removed through handles as a dead run's is, never by path (which QTemporaryDir would do).
  folder->setAutoRemove(false);
  const QFileInfo path(folder->path());
  // Two seconds at most: what is still left then, the next start removes.
  for (int tries = 0; folder->isValid() && !platform::removeOwnedFolder(path.path(), path.fileName()) && tries < 40; ++tries)
    QThread::msleep(50);
  delete folder;
}

void removeDeadRunsFolders() {
  // QTemporaryDir puts six letters or digits for the Xs.
  static const QRegularExpression ours("^wadwright-([0-9]+(?:-[0-9]+)+)-[A-Za-z0-9]{6}$");
  for (const QString& base : {qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath()}) {
    if (base.isEmpty()) continue;
    // Anyone can put a folder so named in a shared temporary folder: only a real folder of this
    // user's goes, which the removal itself makes sure of.
    for (const QString& name : QDir(base).entryList({"wadwright-*"}, QDir::Dirs | QDir::NoSymLinks | QDir::Hidden)) {
      const QRegularExpressionMatch match = ours.match(name);
      if (match.hasMatch() && platform::runHasEnded(match.captured(1))) platform::removeOwnedFolder(base, name);
    }
  }
}
