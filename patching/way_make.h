#pragma once

#include <QString>

#include "make_plan.h"
#include "patch_action.h"

/// The selected file a plan is made from, as it was identified.
struct PlannedSource {
  QString name;
  QString checksum;
  bool identifiedUnderLock = false;
};

/// Walks a ready plan: makes its target in the working folder from `source` along its way. Each
/// file made on the way goes into a private folder and is checked as the release it should be
/// before the next step reads it; only the last one appears beside the selected file, checked.
/// Whatever ends it, nothing else is left. (The window's buttons take a way one step at a time.)
PatchResult makeAlongPlan(const MakePlan& plan, const PlannedSource& source, const platform::RunCommand& run);

/// The way in one sentence: "by way of Ultimate Doom (patches/doom.wad/kex-to-ud.vcdiff, then
/// patches/doom.wad/ud-to-1.9.vcdiff)", the patch files named after `shownFolder`.
QString wayText(const Way& way, const QString& shownFolder);
