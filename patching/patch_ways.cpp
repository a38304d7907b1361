#include "patch_ways.h"

#include <QDir>
#include <algorithm>
#include <QFileInfo>

#include <map>

#include "collection_ways.h"
#include "patch_fetch.h"
#include "identify/collection_releases.h"
#include "platform/native_names.h"
#include "platform/regular_file.h"

namespace {

// A missing patch file weighs more than any number of steps whose files are there.
constexpr int kMissingWeight = 1000;

// The file each release is made as: the design's name where one of its offers makes it, else the
// collection's. Kept for the program's life, as the offers' names are.
const char* madeFileName(const CatalogueRow& release) {
  static const std::map<const CatalogueRow*, QByteArray> names = [] {
    std::map<const CatalogueRow*, QByteArray> named;
    // The known releases' updates first: TNT V1.9 is tnt_19.wad, as the re-releases make it, not
    // tnt_noyk.wad, as undoing the Yellow Key does.
    const std::vector<const CatalogueRow*> rows = everyRow();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
      for (const MadeFile& made : madeFrom(**row)) named.emplace(made.release, made.targetFile);
    for (const CatalogueRow* row : everyRow())
      if (row->collectionFolder) named.emplace(row, collectionFileName(*row).toUtf8());
    return named;
  }();
  return names.at(&release).constData();
}

constexpr const char* kNoSuchFile = "there is no such file";

// Why the patch argument `file` cannot be read in the working folder, in the words of
// platform::RegularFile: kNoSuchFile where nothing is there. Empty when it can: only then is it
// there for the patch tool, which would otherwise fail after every step before it had run.
QString whyUnreadable(const QString& file) {
  const QString path = platform::shownPath(file.trimmed());
  if (!QFileInfo(path).exists()) {
    // A link that leads nowhere holds the name: no fetch could store the file there.
    return platform::nativePathExists(QFile::encodeName(path)) ? "it is a link to nothing" : kNoSuchFile;
  }
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

std::vector<MadeFile> madeFromAll(const CatalogueRow& from) {
  std::vector<MadeFile> made = madeFrom(from);
  const auto already = [&](const CatalogueRow* release) {
    for (const MadeFile& each : made)
      if (each.release == release) return true;
    return false;
  };
  // The design's offers first, as the window shows them; then each patch file of the collection.
  for (const CollectionWay& way : collectionWays())
    if (way.from == &from && !already(way.to)) made.push_back({madeFileName(*way.to), way.patchFile.constData(), way.to});
  return made;
}

std::vector<MadeFile> collectionOffers(const CatalogueRow& from) {
  std::vector<MadeFile> offers = madeFromAll(from);
  offers.erase(offers.begin(), offers.begin() + qsizetype(madeFrom(from).size()));
  const CollectionFolder* folder = from.collectionFolder ? collectionFolder(from.collectionFolder) : nullptr;
  if (!folder) return offers;
  const QStringList labels = QString(folder->labels).split(' ');
  const qsizetype hub = labels.indexOf(folder->hub);
  const auto rank = [&](const MadeFile& made) {
    const qsizetype age = labels.indexOf(QString(made.release->collectionLabels).section(' ', 0, 0));
    return std::pair(age == hub ? 0 : age < hub ? 1 : 2, age);
  };
  std::stable_sort(offers.begin(), offers.end(), [&](const MadeFile& a, const MadeFile& b) { return rank(a) < rank(b); });
  return offers;
}

void WayStep::look() {
  present = firstPresent(patchFiles);
  unreadable = present.isEmpty() ? firstUnreadable(patchFiles) : QString();
  // One that is there but cannot be read is the user's to mend: a download would not replace it.
  pin = present.isEmpty() && unreadable.isEmpty() ? pinnedAmong(patchFiles) : nullptr;
  state = !present.isEmpty() ? PatchState::Present : !unreadable.isEmpty() ? PatchState::Unreadable
                                                   : pin ? PatchState::Fetchable : PatchState::Missing;
}

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
  // The cheapest way first, as Dijkstra's search goes; a graph of some hundred releases needs no heap.
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
    for (const MadeFile& made : madeFromAll(*reach.row)) {
      if (isSettled(made.release)) continue;
      WayStep step{reach.row, made, patchFilesFor(*reach.row, *made.release, made.patchFile)};
      step.look();
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
  for (const CatalogueRow* row : everyRow())
    for (const MadeFile& made : madeFromAll(*row)) {
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
