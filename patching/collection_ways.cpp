#include "collection_ways.h"

#include <QStringList>

#include "identify/collection_releases.h"
#include "patching/collection_files.h"

namespace {

bool hasLabel(const CatalogueRow& row, const QString& label) {
  return row.collectionLabels && QString(row.collectionLabels).split(' ').contains(label);
}

// The one row of `folder` with `label`, or the row named `name` where one is given.
const CatalogueRow* rowOf(const QString& folder, const QString& label, const char* name = nullptr) {
  const CatalogueRow* found = nullptr;
  for (const CatalogueRow* row : everyRow()) {
    if (!row->collectionFolder || folder != QLatin1String(row->collectionFolder)) continue;
    if (name ? qstrcmp(row->releaseName, name) == 0 : hasLabel(*row, label)) {
      if (found) return nullptr;  // two rows would fit: the table must say which
      found = row;
    }
  }
  return found;
}

std::vector<CollectionWay> resolve() {
  std::vector<CollectionWay> ways;
  for (const CollectionFile& file : collectionFiles()) {
    if (file.excluded) continue;
    const QString path = file.path;
    const QString folder = path.section('/', 0, 0), name = path.section('/', 1).chopped(qstrlen(".vcdiff"));
    // extras.wad's files say "_to_".
    const QString separator = name.contains("-to-") ? "-to-" : "_to_";
    const QString from = name.section(separator, 0, 0), to = name.section(separator, 1);
    ways.push_back({path, rowOf(folder, from), rowOf(folder, to, file.made),
                    " patches\\" + QString(path).replace('/', '\\').toUtf8()});
  }
  return ways;
}

std::vector<ExcludedPatch> excluded() {
  std::vector<ExcludedPatch> patches;
  for (const CollectionFile& file : collectionFiles())
    if (file.excluded) patches.push_back({file.path, file.excluded});
  return patches;
}

}  // namespace

const std::vector<CollectionWay>& collectionWays() {
  static const std::vector<CollectionWay> ways = resolve();
  return ways;
}

const std::vector<ExcludedPatch>& excludedPatches() {
  static const std::vector<ExcludedPatch> patches = excluded();
  return patches;
}

QString collectionFileName(const CatalogueRow& release) {
  if (release.madeName) return release.madeName;
  const QString folder = QString(release.collectionFolder).remove(".wad").remove('-');
  return folder + "_" + QString(release.collectionLabels).section(' ', 0, 0) + ".wad";
}
