#pragma once

#include <QJsonArray>
#include <QString>

#include "patching/make_plan.h"

/// How the command line shows a plan: the files named by the paths the user would type, after the
/// folder they typed (`shownFolder`, "games/").

/// The patch file a step uses, or the one there that cannot be read, or, when none is there, every
/// name it was looked for under.
QString stepPatch(const WayStep& step, const QString& shownFolder);

/// Whether a step's patch file is there: "present", "unreadable", "missing", or "missing, can be
/// fetched (40 KB)".
QString stepState(const WayStep& step);

/// For JSON: the patch file a step uses, or the first name it was looked for under.
QString stepPatchFile(const WayStep& step, const QString& shownFolder);

/// The way as JSON, one object a step: its release, its patch file, whether that is there, every
/// name looked for, and what --download would fetch for it.
QJsonArray wayObject(const Way& way, const QString& shownFolder);

/// What a list's line says beyond its patch files: what stands in the way of a way whose files are
/// there or can be fetched. The files' own states say the rest.
QString holdBeyondFiles(const MakePlan& plan);
