#pragma once

#include <QString>
#include <vector>

#include "patch_fetch.h"
#include "patch_source.h"
#include "patch_ways.h"

/// Whether a making can go, and how, decided once before anything runs: the way from the
/// identified release to the file asked for, each step's patch file and its state, what fetching
/// would bring, and the first thing that stands in the way. The window, --make, --list and --demo
/// only show a plan; the making walks one that is ready, and fetching fills one's missing files.

/// Where the files made on the way to the target lie: in a private folder that goes with the run,
/// when one command makes the whole way; or beside the selected file, each left there by its own
/// button in the window.
enum class OnTheWay { PrivateFolder, BesideIt };

/// What a plan is made from.
struct PlanRequest {
  const CatalogueRow* from;  ///< The release the selected file was identified as.
  QString targetFile{};      ///< The file to make in the working folder.
  QString shownFolder{};     ///< The working folder as the user typed it ("games/"), for what is said.
  QString shownSource{};     ///< The selected file as the user named it, for what is said.
  PatchSource source{};      ///< Where missing files are fetched from.
  OnTheWay onTheWay = OnTheWay::PrivateFolder;
};

/// What stands in a making's way, in the order it is looked for: a plan holds the first that
/// applies. An existing target comes first, as the window always had it, whatever else is wrong.
enum class Hold {
  None,         ///< Ready: every patch file is there, the names are free, and there is room.
  NoWay,        ///< Nothing makes the target from this release.
  TargetThere,  ///< Something is already under the target's name.
  ReadOnly,     ///< The working folder is read-only.
  MadeThere,    ///< Beside it: a file made before the target is already under its name.
  PatchFiles,   ///< A patch file cannot be read, or is missing and no fetch brings it.
  NoRoom,       ///< No room here for the target, or none in a private folder for what comes before it.
  SourceBroken, ///< Files must be fetched, and the named patch source cannot be fetched from.
  Fetch,        ///< Only missing files stand in the way, and fetching brings every one of them.
};

struct MakePlan {
  PlanRequest request;
  Way way;              ///< Empty when there is none.
  FetchList toFetch;    ///< What fetching would bring, and whether that completes the way.
  Hold hold = Hold::None;
  QString why;          ///< What is said of the hold; for Fetch, which files are missing.

  bool ready() const { return hold == Hold::None; }
  const CatalogueRow* release() const { return way.empty() ? nullptr : way.last().release; }
  QString shownTarget() const { return request.shownFolder + request.targetFile; }
};

/// The plan for making `request.targetFile` along the shortest way there (see waysFrom).
MakePlan planMaking(const PlanRequest& request);

/// The plan for one patch: `made` from `request.from`, its own patch file or the collection's.
/// `request.targetFile` is taken from `made`.
MakePlan planStep(PlanRequest request, const MadeFile& made);

/// A plan for every file that can be made from `request.from`, in the order of waysFrom.
std::vector<MakePlan> plansFrom(const PlanRequest& request);

/// The same way decided again, its patch files looked for anew: after a fetch stored some.
MakePlan planAgain(const MakePlan& plan);

/// That the working folder has no room for the way's last file, which is `shownTarget`; empty
/// where it has, or where the size of either is not known.
QString noRoomHere(const Way& way, const QString& shownTarget);

/// What the files made on the way before the last take, all together.
qint64 roomOnTheWay(const Way& way);

/// That no private folder of the user's has room for what is made on the way.
QString noRoomOnTheWay(const Way& way, const QString& shownTarget);
