#include "identify_command.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include "command_output.h"
#include "identify/identification.h"
#include "path_identification.h"
#include "platform/native_names.h"
#include "platform/termination_signals.h"

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

// Every object has every field, null where it does not apply: one shape for scripts to read.
QJsonObject asJson(const QByteArray& path, const Identification& found) {
  bool failed = found.outcome == Identification::Outcome::Failed;
  bool stopped = found.outcome == Identification::Outcome::Abandoned;
  // A checksum only where one was read: a file not finished never looks identified.
  bool read = !failed && !stopped;
  bool update = found.row && found.row->offer == Offer::Update;
  QJsonObject object{{"file", QFile::decodeName(path)},
                     {"md5", read ? QJsonValue(found.fileHash) : QJsonValue::Null},
                     {"sha1", read && !found.sha1Hash.isEmpty() ? QJsonValue(found.sha1Hash) : QJsonValue::Null},
                     {"known", found.row != nullptr},
                     {"release", found.row ? QJsonValue(found.row->releaseName) : QJsonValue::Null},
                     {"remark", found.row ? QJsonValue(found.row->remark) : QJsonValue::Null},
                     {"offer", found.row ? offerOf(*found.row) : QJsonValue::Null},
                     {"target", update ? QJsonValue(found.row->update.targetFile) : QJsonValue::Null},
                     {"patch", update ? QJsonValue(platform::shownPath(QString(found.row->update.patchFile).trimmed())) : QJsonValue::Null},
                     {"half_match", found.halfMatch ? QJsonValue(found.halfMatch->releaseName) : QJsonValue::Null},
                     {"error", read ? QJsonValue::Null : QJsonValue(stopped ? kStoppedMessage : found.failure)}};
  const QJsonObject unknown = unknownFields(found.wad);
  for (auto field = unknown.begin(); field != unknown.end(); ++field) object.insert(field.key(), field.value());
  return object;
}

QStringList asFields(const QByteArray& path, const Identification& found) {
  if (found.row) return {found.row->releaseName, found.row->remark};
  if (found.outcome == Identification::Outcome::Unknown) {
    // The MD5 keeps its own column, for `cut -f3`; what more there is to say follows it.
    const QString more = unknownExplanation(found);
    return more.isEmpty() ? QStringList{"unknown", found.fileHash} : QStringList{"unknown", found.fileHash, more};
  }
  if (found.outcome == Identification::Outcome::Abandoned) return {"error", kStoppedMessage};
  return {"error", oneLine(found.failure, path)};
}

}  // namespace

QJsonObject unknownFields(const WadVerdict& verdict) {
  const wad::Structure& structure = verdict.structure;
  const bool told = verdict.kind != WadVerdict::Kind::None;
  const bool read = structure.kind == wad::Structure::Kind::Iwad || structure.kind == wad::Structure::Kind::Pwad;
  QJsonArray maps;
  for (const std::string& map : structure.maps) maps.append(QString::fromStdString(map));
  QJsonValue nearest = QJsonValue::Null;
  if (verdict.nearest)
    nearest = QJsonObject{{"release", verdict.nearest->releaseName}, {"size", verdict.nearest->size}, {"bytes_off", verdict.bytesOff}};
  return {{"kind", told ? QJsonValue(kindName(verdict.kind)) : QJsonValue::Null},
          {"game", structure.game.empty() ? QJsonValue::Null : QJsonValue(QString::fromStdString(structure.game))},
          {"lumps", read ? QJsonValue(qint64(structure.lumps)) : QJsonValue::Null},
          {"maps", read ? QJsonValue(maps) : QJsonValue::Null},
          {"nearest", nearest}};
}

int reportIdentification(CommandOutput& output, const QByteArray& path, const Identification& found) {
  output.add(path, asFields(path, found), asJson(path, found));
  if (found.outcome == Identification::Outcome::Failed) return 2;
  return found.row ? 0 : 1;
}

int identifyFromCommandLine(const QList<QByteArray>& files, bool json, const QByteArray& programFolder) {
  CommandOutput output(json);
  int status = 0;
  for (const QByteArray& path : files) {
    if (platform::terminationSignal()) break;  // asked to end: nothing more is started
    status = std::max(status, reportIdentification(output, path, identifyPath(path, programFolder)));
  }
  return output.finish() ? status : 2;
}
