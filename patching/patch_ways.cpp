#include "patch_ways.h"

#include <QDir>
#include <algorithm>
#include <QFileInfo>

#include "identify/known_releases.h"
#include "platform/native_names.h"
#include "platform/regular_file.h"

namespace {

// A missing patch file weighs more than any number of steps whose files are there.
constexpr int kMissingWeight = 1000;

std::vector<const CatalogueRow*> allRows() {
  std::vector<const CatalogueRow*> rows;
  for (const CatalogueRow& row : catalogueRows()) rows.push_back(&row);
  for (const CatalogueRow& row : knownReleases()) rows.push_back(&row);
  return rows;
}

constexpr const char* kNoSuchFile = "there is no such file";

// Why the patch argument `file` cannot be read in the working folder, in the words of
// platform::RegularFile: kNoSuchFile where nothing is there. Empty when it can: only then is it
// there for the patch tool, which would otherwise fail after every step before it had run.
QString whyUnreadable(const QString& file) {
  const QString path = platform::shownPath(file.trimmed());
  if (!QFileInfo(path).exists()) return kNoSuchFile;  // a link that leads nowhere is missing too
  return platform::RegularFile(QFile::encodeName(path)).problem();
}

// The collection's labels of a release, current first, then the names it had before.
QStringList labelsOf(const CatalogueRow& row) {
  return row.collectionLabels ? QString(row.collectionLabels).split(' ', Qt::SkipEmptyParts) : QStringList();
}

struct Reach {
  const CatalogueRow* row;
  int cost;
  Way way;
  int found = 0;  // when it was first seen: the order the offers are listed in
};

}  // namespace

bool Way::complete() const {
  for (const WayStep& step : steps)
    if (step.present.isEmpty()) return false;
  return true;
}

QStringList patchFilesFor(const CatalogueRow& from, const CatalogueRow& to, const QString& designPatch) {
  QStringList files{designPatch};
  if (!from.collectionFolder || !to.collectionFolder || qstrcmp(from.collectionFolder, to.collectionFolder) != 0) return files;
  // Both current labels first: an earlier name is only a file left from an older copy.
  const QStringList fromLabels = labelsOf(from), toLabels = labelsOf(to);
  for (qsizetype sum = 0; sum <= fromLabels.size() + toLabels.size() - 2; ++sum)
    for (qsizetype f = 0; f < fromLabels.size(); ++f) {
      const qsizetype t = sum - f;
      if (t < 0 || t >= toLabels.size()) continue;
      const QString file = QString(" patches\\%1\\%2-to-%3.vcdiff").arg(from.collectionFolder, fromLabels[f], toLabels[t]);
      if (!files.contains(file)) files << file;
    }
  return files;
}

QString firstPresent(const QStringList& patchFiles) {
  for (const QString& file : patchFiles)
    if (whyUnreadable(file).isEmpty()) return file;
  return {};
}

QString firstUnreadable(const QStringList& patchFiles) {
  for (const QString& file : patchFiles) {
    const QString why = whyUnreadable(file);
    if (!why.isEmpty() && why != kNoSuchFile) return file;
  }
  return {};
}

QString missingPatchText(const QStringList& patchFiles, const QString& shownFolder) {
  const auto shown = [&](const QString& file) { return "'" + shownFolder + platform::shownPath(file.trimmed()) + "'"; };
  // One that is there but cannot be read is named with the reason: "missing" would send the user
  // looking for a file they have.
  const QString unreadable = firstUnreadable(patchFiles);
  if (!unreadable.isEmpty()) return "I cannot read the patch file " + shown(unreadable) + ": " + whyUnreadable(unreadable) + ".";
  QString also;
  for (const QString& file : patchFiles.mid(1)) also += ", and for " + shown(file);
  return "The patch file " + shown(patchFiles.first()) + " is missing: I looked for it" + (also.isEmpty() ? "" : also + ",") + " in " +
         QDir::toNativeSeparators(QDir::current().filePath("patches")) + ".";
}

std::vector<Way> waysFrom(const CatalogueRow& from) {
  // The cheapest way first, as Dijkstra's search goes; a graph of some seventy releases needs no heap.
  std::vector<Reach> open{{&from, 0, {}}}, settled;
  int found = 0;
  const auto isSettled = [&](const CatalogueRow* row) {
    for (const Reach& reach : settled)
      if (reach.row == row) return true;
    return false;
  };
  while (!open.empty()) {
    auto next = open.begin();
    for (auto each = open.begin(); each != open.end(); ++each)
      if (each->cost < next->cost) next = each;
    Reach reach = std::move(*next);
    open.erase(next);
    if (isSettled(reach.row)) continue;
    for (const MadeFile& made : madeFrom(*reach.row)) {
      if (isSettled(made.release)) continue;
      WayStep step{reach.row, made, patchFilesFor(*reach.row, *made.release, made.patchFile), {}};
      step.present = firstPresent(step.patchFiles);
      Way way = reach.way;
      way.steps.push_back(step);
      open.push_back({made.release, reach.cost + 1 + (step.present.isEmpty() ? kMissingWeight : 0), std::move(way), ++found});
    }
    settled.push_back(std::move(reach));
  }
  // Listed as the window offers them: what one step makes, in button order, then what two make.
  std::stable_sort(settled.begin(), settled.end(), [](const Reach& a, const Reach& b) {
    return a.way.steps.size() != b.way.steps.size() ? a.way.steps.size() < b.way.steps.size() : a.found < b.found;
  });
  std::vector<Way> ways;
  for (Reach& reach : settled)
    if (!reach.way.empty()) ways.push_back(std::move(reach.way));
  return ways;
}

Way wayTo(const CatalogueRow& from, const QString& targetFile) {
  // A release may be made under more than one name (TNT V1.9 as tnt_noyk.wad or tnt_19.wad): the
  // way leads to the release, and its last file takes the name asked for.
  for (const CatalogueRow* row : allRows())
    for (const MadeFile& made : madeFrom(*row)) {
      if (targetFile != QLatin1String(made.targetFile)) continue;
      for (Way& way : waysFrom(from))
        if (way.last().release == made.release) {
          way.steps.back().made.targetFile = made.targetFile;
          return way;
        }
      return {};
    }
  return {};
}
