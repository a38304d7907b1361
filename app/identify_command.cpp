#include "identify_command.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "identify/identification.h"
#include "platform/folder_lock.h"

namespace {

QJsonValue offerOf(const CatalogueRow& row) {
  switch (row.offer) {
    case Offer::Update: return "update";
    case Offer::DoomBackdateSet: return "doom-backdate";
    case Offer::Doom2BackdateSet: return "doom2-backdate";
    case Offer::None: break;
  }
  return QJsonValue::Null;
}

// Identifies one file in its own folder, under the lock every Wadwright there takes.
Identification identifyOne(const QString& path, const QString& programFolder) {
  QFileInfo file(path);
  Identification found;
  if (!QDir::setCurrent(file.absolutePath())) {
    found.failure = "I cannot find '" + path + "': there is no such folder.";
    return found;
  }
  platform::FolderLock folder(".");
  folder.lock();
  return identifyFile(file.fileName(), [&](const QString& line) { return platform::runAndWait(line, programFolder); });
}

// Every object has every field, null where it does not apply: one shape for scripts to read.
QJsonObject asJson(const QString& path, const Identification& found) {
  bool failed = found.outcome == Identification::Outcome::Failed;
  bool update = found.row && found.row->offer == Offer::Update;
  return {{"file", path},
          {"md5", failed ? QJsonValue::Null : QJsonValue(found.fileHash)},
          {"known", found.row != nullptr},
          {"release", found.row ? QJsonValue(found.row->releaseName) : QJsonValue::Null},
          {"remark", found.row ? QJsonValue(found.row->remark) : QJsonValue::Null},
          {"offer", found.row ? offerOf(*found.row) : QJsonValue::Null},
          {"target", update ? QJsonValue(found.row->update.targetFile) : QJsonValue::Null},
          {"patch", update ? QJsonValue(QString(found.row->update.patchFile).trimmed()) : QJsonValue::Null},
          {"error", failed ? QJsonValue(found.failure) : QJsonValue::Null}};
}

QString asLine(const QString& path, const Identification& found) {
  if (found.row) return path + "\t" + found.row->releaseName + "\t" + found.row->remark;
  if (found.outcome == Identification::Outcome::Unknown) return path + "\tunknown\t" + found.fileHash;
  return path + "\terror\t" + QString(found.failure).replace('\n', ' ');
}

}  // namespace

int identifyFromCommandLine(const QStringList& arguments, const QString& programFolder) {
  bool json = arguments.contains("--json");
  QStringList files = arguments;
  files.removeAll("--identify");
  files.removeAll("--json");
  if (files.isEmpty()) {
    std::fputs("wadwright: --identify needs the files to identify: wadwright --identify [--json] FILE...\n", stderr);
    return 2;
  }
  QString start = QDir::currentPath();
  QJsonArray results;
  int status = 0;
  for (const QString& path : files) {
    QDir::setCurrent(start);  // every path as it was given
    Identification found = identifyOne(path, programFolder);
    if (found.outcome == Identification::Outcome::Failed) status = 2;
    else if (!found.row) status = std::max(status, 1);
    if (json) results.append(asJson(path, found));
    else std::printf("%s\n", qPrintable(asLine(path, found)));
  }
  if (json) std::fputs(QJsonDocument(results).toJson().constData(), stdout);
  return status;
}
