#include "collection_ways.h"

#include <QStringList>

#include "identify/collection_releases.h"

namespace {

struct WayPatch {
  const char* path;
  const char* to = nullptr;  ///< The release made, where its label alone does not say which.
};

// Every patch file of the collection at the commit the README names, but those excludedPatches()
// gives reasons for. A file goes from the release of its first label to that of its second,
// in its folder.
const WayPatch kWayPatches[] = {
    {"SVE.wad/1.0-to-1.3.vcdiff"},
    {"SVE.wad/1.1-to-1.3.vcdiff"},
    {"SVE.wad/1.2-to-1.3.vcdiff"},
    {"SVE.wad/1.3-to-1.0.vcdiff"},
    {"SVE.wad/1.3-to-1.1.vcdiff"},
    {"SVE.wad/1.3-to-1.2.vcdiff"},
    {"SVE.wad/1.3-to-switch-1.0.vcdiff"},
    {"SVE.wad/switch-1.0-to-1.3.vcdiff"},
    {"doom.wad/1.1-to-ud.vcdiff"},
    {"doom.wad/1.2-to-ud.vcdiff"},
    {"doom.wad/1.666-to-ud.vcdiff"},
    {"doom.wad/1.8-to-ud.vcdiff"},
    {"doom.wad/1.9-to-ud.vcdiff"},
    {"doom.wad/bfg-to-ud.vcdiff"},
    {"doom.wad/kex-to-ud.vcdiff"},
    {"doom.wad/kex-update1-to-ud.vcdiff"},
    {"doom.wad/ppc-to-ud.vcdiff"},
    {"doom.wad/psn-to-ud.vcdiff"},
    {"doom.wad/ud-to-1.1.vcdiff"},
    {"doom.wad/ud-to-1.2.vcdiff"},
    {"doom.wad/ud-to-1.666.vcdiff"},
    {"doom.wad/ud-to-1.8.vcdiff"},
    {"doom.wad/ud-to-1.9.vcdiff"},
    {"doom.wad/ud-to-bfg.vcdiff"},
    {"doom.wad/ud-to-kex-update1.vcdiff"},
    {"doom.wad/ud-to-kex.vcdiff"},
    {"doom.wad/ud-to-ppc.vcdiff"},
    {"doom.wad/ud-to-psn.vcdiff"},
    {"doom.wad/ud-to-pwad.vcdiff"},
    {"doom.wad/ud-to-unity_1.0.vcdiff"},
    {"doom.wad/ud-to-unity_1.1.vcdiff"},
    {"doom.wad/ud-to-unity_1.3.vcdiff"},
    {"doom.wad/ud-to-xbla.vcdiff"},
    {"doom.wad/ud-to-xbox.vcdiff"},
    {"doom.wad/unity_1.0-to-ud.vcdiff"},
    {"doom.wad/unity_1.1-to-ud.vcdiff"},
    {"doom.wad/unity_1.3-to-ud.vcdiff"},
    {"doom.wad/xbla-to-ud.vcdiff"},
    {"doom.wad/xbox-to-ud.vcdiff"},
    {"doom2.wad/1.666-to-1.9.vcdiff"},
    {"doom2.wad/1.666g-to-1.9.vcdiff"},
    {"doom2.wad/1.7-to-1.9.vcdiff"},
    {"doom2.wad/1.7a-to-1.9.vcdiff"},
    {"doom2.wad/1.8-to-1.9.vcdiff"},
    {"doom2.wad/1.8f-to-1.9.vcdiff"},
    {"doom2.wad/1.9-to-1.666.vcdiff"},
    {"doom2.wad/1.9-to-1.666g.vcdiff"},
    {"doom2.wad/1.9-to-1.7.vcdiff"},
    {"doom2.wad/1.9-to-1.7a.vcdiff"},
    {"doom2.wad/1.9-to-1.8.vcdiff"},
    {"doom2.wad/1.9-to-1.8f.vcdiff"},
    {"doom2.wad/1.9-to-bfg.vcdiff"},
    {"doom2.wad/1.9-to-kex-update1.vcdiff"},
    {"doom2.wad/1.9-to-kex.vcdiff"},
    {"doom2.wad/1.9-to-psn_eur.vcdiff"},
    {"doom2.wad/1.9-to-psn_usa.vcdiff"},
    {"doom2.wad/1.9-to-pwad.vcdiff"},
    {"doom2.wad/1.9-to-unity_1.0.vcdiff"},
    {"doom2.wad/1.9-to-unity_1.1.vcdiff"},
    {"doom2.wad/1.9-to-unity_1.3.vcdiff"},
    {"doom2.wad/1.9-to-xbla.vcdiff"},
    {"doom2.wad/1.9-to-xbox.vcdiff"},
    {"doom2.wad/1.9-to-xbox360bfg.vcdiff"},
    {"doom2.wad/1.9-to-zodiac.vcdiff"},
    {"doom2.wad/bfg-to-1.9.vcdiff"},
    {"doom2.wad/kex-to-1.9.vcdiff"},
    {"doom2.wad/kex-update1-to-1.9.vcdiff"},
    {"doom2.wad/psn_eur-to-1.9.vcdiff"},
    {"doom2.wad/psn_usa-to-1.9.vcdiff"},
    {"doom2.wad/unity_1.0-to-1.9.vcdiff"},
    {"doom2.wad/unity_1.1-to-1.9.vcdiff"},
    {"doom2.wad/unity_1.3-to-1.9.vcdiff"},
    {"doom2.wad/xbla-to-1.9.vcdiff"},
    {"doom2.wad/xbox-to-1.9.vcdiff"},
    {"doom2.wad/xbox360bfg-to-1.9.vcdiff"},
    {"doom2.wad/zodiac-to-1.9.vcdiff"},
    {"doom64.wad/1.0-to-1.1.vcdiff"},
    {"doom64.wad/1.1-to-1.0.vcdiff"},
    {"extras.wad/1.0_to_1.1.vcdiff"},
    {"extras.wad/1.1_to_1.0.vcdiff"},
    {"heretic.wad/1.0-to-1.3.vcdiff"},
    {"heretic.wad/1.2-to-1.3.vcdiff"},
    {"heretic.wad/1.3-to-1.0.vcdiff"},
    {"heretic.wad/1.3-to-1.2.vcdiff"},
    {"heretic.wad/1.3-to-pwad.vcdiff"},
    {"hexdd.wad/1.0-to-1.1.vcdiff"},
    {"hexdd.wad/1.1-to-1.0.vcdiff"},
    {"hexen.wad/1.0-to-1.1.vcdiff"},
    {"hexen.wad/1.1-to-1.0.vcdiff"},
    {"hexen.wad/1.1-to-beta.vcdiff"},
    {"hexen.wad/1.1-to-mac.vcdiff"},
    {"hexen.wad/mac-to-1.1.vcdiff"},
    {"master-levels/console-to-kex-update1.vcdiff"},
    {"master-levels/console-to-kex.vcdiff"},
    {"master-levels/kex-to-console.vcdiff"},
    {"master-levels/kex-update1-to-console.vcdiff"},
    {"nerve.wad/bfg-to-kex.vcdiff"},
    {"nerve.wad/bfg-to-unity_1.1.vcdiff"},
    {"nerve.wad/bfg-to-unity_1.2.vcdiff"},
    {"nerve.wad/bfg-to-unity_1.3.vcdiff"},
    {"nerve.wad/bfg-to-unity_1.4.vcdiff"},
    {"nerve.wad/kex-to-bfg.vcdiff"},
    {"nerve.wad/unity_1.1-to-bfg.vcdiff"},
    {"nerve.wad/unity_1.2-to-bfg.vcdiff"},
    {"nerve.wad/unity_1.3-to-bfg.vcdiff"},
    {"nerve.wad/unity_1.4-to-bfg.vcdiff"},
    {"plutonia.wad/1.9-to-anthology.vcdiff"},
    {"plutonia.wad/1.9-to-kex-update1.vcdiff"},
    {"plutonia.wad/1.9-to-kex.vcdiff"},
    {"plutonia.wad/1.9-to-psn_eur.vcdiff"},
    {"plutonia.wad/1.9-to-psn_usa.vcdiff"},
    {"plutonia.wad/1.9-to-pwad.vcdiff", "Final Doom - Plutonia Experiment V1.9 levels PWAD"},
    {"plutonia.wad/1.9-to-unity_1.0.vcdiff"},
    {"plutonia.wad/1.9-to-unity_1.3.vcdiff"},
    {"plutonia.wad/anthology-to-1.9.vcdiff"},
    {"plutonia.wad/anthology-to-pwad.vcdiff", "Final Doom - Plutonia Experiment id Anthology levels PWAD"},
    {"plutonia.wad/kex-to-1.9.vcdiff"},
    {"plutonia.wad/kex-update1-to-1.9.vcdiff"},
    {"plutonia.wad/psn_eur-to-1.9.vcdiff"},
    {"plutonia.wad/psn_usa-to-1.9.vcdiff"},
    {"plutonia.wad/unity_1.0-to-1.9.vcdiff"},
    {"plutonia.wad/unity_1.3-to-1.9.vcdiff"},
    {"strife1.wad/1.1-to-1.2.vcdiff"},
    {"strife1.wad/1.2-to-1.1.vcdiff"},
    {"tnt.wad/1.9-to-anthology.vcdiff"},
    {"tnt.wad/1.9-to-kex-update1.vcdiff"},
    {"tnt.wad/1.9-to-kex.vcdiff"},
    {"tnt.wad/1.9-to-psn_eur.vcdiff"},
    {"tnt.wad/1.9-to-psn_usa.vcdiff"},
    {"tnt.wad/1.9-to-pwad.vcdiff", "Final Doom - TNT:Evilution V1.9 levels PWAD"},
    {"tnt.wad/1.9-to-unity_1.0.vcdiff"},
    {"tnt.wad/1.9-to-unity_1.3.vcdiff"},
    {"tnt.wad/anthology-to-1.9.vcdiff"},
    {"tnt.wad/anthology-to-pwad.vcdiff", "Final Doom - TNT:Evilution id Anthology levels PWAD"},
    {"tnt.wad/kex-to-1.9.vcdiff"},
    {"tnt.wad/kex-update1-to-1.9.vcdiff"},
    {"tnt.wad/psn_eur-to-1.9.vcdiff"},
    {"tnt.wad/psn_usa-to-1.9.vcdiff"},
    {"tnt.wad/unity_1.0-to-1.9.vcdiff"},
    {"tnt.wad/unity_1.3-to-1.9.vcdiff"},};

const std::vector<ExcludedPatch> kExcluded{
    {"master-levels/console_bfg-to-tar.vcdiff",
     "It makes a tar of the 20 PC Master Levels PWADs, for which no checksum is published: what it made could not be "
     "checked, and the PWADs would still have to be taken out of the tar."},
    {"master-levels/tar-to-console_bfg.vcdiff",
     "It reads that tar, which only the collection's script makes from the 20 PC PWADs with GNU tar's exact layout; no "
     "checksum of the tar is published, so neither it nor a tar made otherwise can be told right."},
};

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
  for (const WayPatch& patch : kWayPatches) {
    const QString path = patch.path;
    const QString folder = path.section('/', 0, 0), name = path.section('/', 1).chopped(qstrlen(".vcdiff"));
    // extras.wad's files say "_to_".
    const QString separator = name.contains("-to-") ? "-to-" : "_to_";
    const QString from = name.section(separator, 0, 0), to = name.section(separator, 1);
    ways.push_back({path, rowOf(folder, from), rowOf(folder, to, patch.to),
                    " patches\\" + QString(path).replace('/', '\\').toUtf8()});
  }
  return ways;
}

}  // namespace

const std::vector<CollectionWay>& collectionWays() {
  static const std::vector<CollectionWay> ways = resolve();
  return ways;
}

const std::vector<ExcludedPatch>& excludedPatches() { return kExcluded; }

QString collectionFileName(const CatalogueRow& release) {
  if (release.madeName) return release.madeName;
  const QString folder = QString(release.collectionFolder).remove(".wad").remove('-');
  return folder + "_" + QString(release.collectionLabels).section(' ', 0, 0) + ".wad";
}
