// The ways' files against the collection's pinned files (which the collection's tests hold against
// the list measured from it); where a fetch comes from.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>

#include "identify/catalogue.h"
#include "identify/known_releases.h"
#include "patching/patch_fetch.h"

// A step whose releases share a folder of the collection can be fetched: the first of its names
// that is the collection's (the current labels') is pinned. The TNT yellow-key pair alone has
// no counterpart there.
TEST(CollectionFiles, EveryFileAWayNamesIsPinned) {
  int named = 0;
  for (const CatalogueRow* from : everyRow())
    for (const MadeFile& made : madeFrom(*from)) {
      QStringList files = patchFilesFor(*from, *made.release, made.patchFile);
      files.removeIf([](const QString& file) { return !file.startsWith(" patches\\") || file.count('\\') != 2; });
      if (files.isEmpty()) continue;  // the design's own file alone
      ++named;
      const CollectionFile* pin = pinnedAmong(files);
      ASSERT_NE(pin, nullptr) << from->releaseName << " -> " << made.release->releaseName;
      EXPECT_EQ(patchArgument(*pin), files.front()) << from->releaseName << " -> " << made.release->releaseName;
    }
  EXPECT_GT(named, 30);
}

// Where no other is named, the collection at the pinned commit; a folder named relative to where
// Wadwright started. The command line's tests fetch from an address; the plan's refuse ftp://.
TEST(PatchSource, TheDefaultOrTheFolderNamed) {
  const CollectionFile& file = *lookUpCollectionFile("doom.wad/kex-to-ud.vcdiff");
  QProcessEnvironment environment;
  EXPECT_EQ(patchSource(environment).address(file), "https://raw.githubusercontent.com/Doom-Utils/iwad-patches/"
                                                    "28730242573408932ad2a37838409a2bc1e547a0/doom.wad/kex-to-ud.vcdiff");
  EXPECT_EQ(patchSource(environment).shown(), "the public patch collection on GitHub");
  environment.insert("WADWRIGHT_PATCH_SOURCE", "clone");
  EXPECT_EQ(patchSource(environment).address(file), QDir::current().filePath("clone/doom.wad/kex-to-ud.vcdiff"));
}
