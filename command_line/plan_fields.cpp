#include "plan_fields.h"

#include <QJsonObject>
#include <QStringList>

#include "platform/native_names.h"

namespace {

QString shownPatch(const QString& patchFile, const QString& shownFolder) {
  return shownFolder + platform::shownPath(patchFile.trimmed());
}

}  // namespace

QString stepPatch(const WayStep& step, const QString& shownFolder) {
  if (step.state == PatchState::Present) return shownPatch(step.present, shownFolder);
  if (step.state == PatchState::Unreadable) return shownPatch(step.unreadable, shownFolder);
  QStringList looked;
  for (const QString& file : step.patchFiles) looked << shownPatch(file, shownFolder);
  return looked.join(" or ");
}

QString stepState(const WayStep& step) {
  switch (step.state) {
    case PatchState::Present: return "present";
    case PatchState::Unreadable: return "unreadable";
    case PatchState::Fetchable: return "missing, can be fetched (" + sizeText(step.pin->size) + ")";
    case PatchState::Missing: break;
  }
  return "missing";
}

QString stepPatchFile(const WayStep& step, const QString& shownFolder) {
  return shownPatch(step.present.isEmpty() ? step.patchFiles.first() : step.present, shownFolder);
}

QJsonArray wayObject(const Way& way, const QString& shownFolder) {
  QJsonArray steps;
  for (const WayStep& step : way.steps) {
    QJsonArray looked;
    for (const QString& file : step.patchFiles) looked.append(shownPatch(file, shownFolder));
    const QJsonValue fetch =
        step.pin ? QJsonObject{{"patch", shownPatch(patchArgument(*step.pin), shownFolder)}, {"bytes", step.pin->size}} : QJsonValue();
    steps.append(QJsonObject{{"release", step.made.release->releaseName},
                             {"patch", step.present.isEmpty() ? QJsonValue::Null : QJsonValue(shownPatch(step.present, shownFolder))},
                             {"present", !step.present.isEmpty()}, {"looked", looked}, {"fetch", fetch}});
  }
  return steps;
}

QString holdBeyondFiles(const MakePlan& plan) {
  return plan.hold == Hold::None || plan.hold == Hold::PatchFiles || plan.hold == Hold::Fetch ? QString() : plan.why;
}
