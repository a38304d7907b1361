// A demo dropped on the main window: which release recorded it, and which IWAD of the working
// folder plays it or is made into one that does by one of its buttons.
#include <QFile>
#include <QFileInfo>

#include "file_list_box.h"
#include "form1.h"
#include "identify/demo.h"
#include "identify/identification.h"
#include "message_box.h"

namespace {

// What the button that makes `release` from `row` is called, or an empty text.
QString buttonMaking(const CatalogueRow& row, const CatalogueRow* release) {
  if (row.offer == Offer::Update && release == &catalogueRows()[row.update.targetRow]) return "Update it!";
  for (const BackdateButton& button : backdateButtons())
    if (button.set == row.offer && release == &catalogueRows()[button.releaseRow]) return button.caption;
  return {};
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

// The first IWAD of the folder that plays the demo, or else the first whose buttons make one that
// does, or else the first that a source port may play it with; `verdict` says which it is. They are identified one by one, the list locked meanwhile as
// for a patch, and the folder's lock let go before the chosen one is identified again.
QString Form1::fittingIwad(const Demo& demo, QString& verdict) {
  setLockedForPatch(true);
  platform::FolderLock folder(".");
  QString makes, mayPlay, mayPlayVerdict;
  if (waitForFolder(folder)) {
    for (const QString& name : File1->names()) {
      Identification found = identifyFile(name, [this](const QString& line) { return RunAndWait(line); });
      if (closing_ || found.outcome == Identification::Outcome::Abandoned) break;
      if (!found.row) continue;
      if (demo.plays(found.row)) {
        verdict = "'" + name + "' here is " + found.row->releaseName + ", which plays it.";
        setLockedForPatch(false);
        return name;
      }
      if (mayPlay.isEmpty() && demo.mayPlay(found.row)) {
        mayPlay = name;
        mayPlayVerdict = "'" + name + "' here is " + found.row->releaseName +
                         ": a source port may play it with these files, if the demo was recorded on them.";
      }
      for (const MadeFile& made : madeFrom(*found.row))
        if (makes.isEmpty() && demo.plays(made.release)) {
          makes = name;
          verdict = "'" + name + "' here is " + found.row->releaseName + ": its button \"" + buttonMaking(*found.row, made.release) +
                    "\" makes " + made.release->releaseName + " (" + made.targetFile + "), which plays it.";
        }
    }
  }
  setLockedForPatch(false);
  if (!makes.isEmpty() || mayPlay.isEmpty()) return makes;
  verdict = mayPlayVerdict;
  return mayPlay;
}
