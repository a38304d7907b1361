// A demo dropped on the main window: which release recorded it, and which IWAD of the working
// folder plays it or is made into one that does by its buttons, one step a button.
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <cstdint>

#include "file_list_box.h"
#include "form1.h"
#include "identify/demo.h"
#include "identify/identification.h"
#include "message_box.h"
#include "patching/make_plan.h"

namespace {

// What the button that makes `release` from `row` is called, or an empty text.
QString buttonMaking(const CatalogueRow& row, const CatalogueRow* release) {
  if (row.offer == Offer::Update && release == &catalogueRows()[row.update.targetRow]) return "Update it!";
  for (const BackdateButton& button : backdateButtons())
    if (button.set == row.offer && release == &catalogueRows()[button.releaseRow]) return button.caption;
  return {};
}

// The buttons to press, one step after another: "its button "Update it!" makes Ultimate Doom
// (udoom.wad), whose button "V1.9" makes DOOM V1.9 (d1_19.wad)".
QString buttonsAlong(const Way& way) {
  QString said;
  for (const WayStep& step : way.steps)
    said += QString(&step == &way.steps.front() ? ": its button \"" : ", whose button \"") + buttonMaking(*step.from, step.made.release) +
            "\" makes " + step.made.release->releaseName + " (" + step.made.targetFile + ")";
  return said;
}

// What the buttons download on the way, said after them, or an empty text.
QString downloadsAlong(const MakePlan& plan) {
  if (plan.toFetch.files.empty()) return {};
  return "\nPressed, a button first asks to download " + fetchListText(plan.toFetch, {}) + " from " + plan.request.source.shown() + ".";
}

}  // namespace

void Form1::openDemo(const QString& path) {
  // Whatever was shown is for another question: the window starts from its neutral look.
  ResetDisplay();
  identifiedName_.clear();
  File1->clearSelection();
  const Demo demo = readDemo(QFile::encodeName(path));
  if (!demo.problem.isEmpty()) {
    showMessage(this, "'" + QFileInfo(path).fileName() + "' is no demo I can read: " + demo.problem + ".");
    return;
  }
  if (!demo.port.isEmpty()) {  // a release plays every other demo that its header allows
    showMessage(this, demo.sentence());
    return;
  }
  QString verdict;
  const QString chosen = fittingIwad(demo, verdict);
  if (closing_) return;
  if (chosen.isEmpty()) verdict = "No IWAD in this folder plays it, and none of them makes one that does.";
  else File1->setSelectedName(chosen);  // identified as if it had been clicked, its offers at hand
  showMessage(this, demo.sentence() + "\n" + verdict);
}

// The first IWAD of the folder that plays the demo, or else the one whose buttons make one that
// does in the fewest steps, those that can be pressed now first, or else the first that a source
// port may play it with; `verdict` says which it is. They are identified one by one, the list
// locked meanwhile as for a patch, and the folder's lock let go before the chosen one is
// identified again.
QString Form1::fittingIwad(const Demo& demo, QString& verdict) {
  setLockedForPatch(true);
  platform::FolderLock folder(".");
  struct Choice {
    QString name, verdict;
    std::size_t steps = SIZE_MAX;
  } ready, refused, mayPlay;
  const PatchSource source = patchSource(QProcessEnvironment::systemEnvironment());
  if (waitForFolder(folder)) {
    for (const QString& name : File1->names()) {
      Identification found = identifyFile(name, [this](const QString& line) { return RunAndWait(line); });
      if (closing_ || found.outcome == Identification::Outcome::Abandoned) break;
      if (!found.row) continue;
      const QString is = "'" + name + "' here is " + found.row->releaseName;
      if (demo.plays(found.row)) {
        verdict = is + ", which plays it.";
        setLockedForPatch(false);
        return name;
      }
      if (mayPlay.name.isEmpty() && demo.mayPlay(found.row))
        mayPlay = {name, is + ": a source port may play it with these files, if the demo was recorded on them."};
      // Each file made on the way is left beside the IWAD, one button at a time. A missing patch
      // file that the collection has is no reason: its button offers to download it.
      for (const MakePlan& plan : plansFrom({found.row, {}, {}, name, source, OnTheWay::BesideIt})) {
        if (!demo.plays(plan.release())) continue;
        const QString why = plan.hold == Hold::Fetch ? QString() : plan.why;
        Choice& kind = why.isEmpty() ? ready : refused;
        if (plan.way.steps.size() < kind.steps)
          kind = {name, is + buttonsAlong(plan.way) + ", which plays it." + (why.isEmpty() ? downloadsAlong(plan) : "\n" + why),
                  plan.way.steps.size()};
      }
    }
  }
  setLockedForPatch(false);
  for (const Choice* choice : {&ready, &refused, &mayPlay})
    if (!choice->name.isEmpty()) {
      verdict = choice->verdict;
      return choice->name;
    }
  return {};
}
