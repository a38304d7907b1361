// The collection's pinned files, held against the list measured from the collection itself, and
// the ways' files against them; where a fetch comes from.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>

#include "identify/catalogue.h"
#include "identify/known_releases.h"
#include "patching/patch_fetch.h"

TEST(CollectionFiles, AreEveryFileOfTheMeasuredList) {
  QFile list(COLLECTION_FILES_TSV);
  if (!list.open(QIODevice::ReadOnly)) GTEST_SKIP() << "no shared list beside the sources: " << COLLECTION_FILES_TSV;
  std::size_t rows = 0;
  for (const QByteArray& line : list.readAll().split('\n')) {
    if (line.isEmpty() || line.startsWith('#')) continue;
    const QList<QByteArray> fields = line.split('\t');
    ASSERT_EQ(fields.size(), 3) << line.toStdString();
    const CollectionFile* file = lookUpCollectionFile(QString::fromUtf8(fields[0]));
    ASSERT_NE(file, nullptr) << line.toStdString();
    EXPECT_EQ(file->size, fields[1] == "-" ? -1 : fields[1].toLongLong()) << line.toStdString();
    EXPECT_EQ(QByteArray(file->sha256), fields[2] == "-" ? QByteArray() : fields[2]) << line.toStdString();
    ++rows;
  }
  EXPECT_EQ(rows, collectionFiles().size());
}

// A step whose releases share a folder of the collection can be fetched: the first of its names
// that is the collection's (the current labels') is pinned. The TNT yellow-key pair alone has
// no counterpart there.
TEST(CollectionFiles, EveryFileAWayNamesIsPinned) {
  int named = 0;
  const auto check = [&](const CatalogueRow& from) {
    for (const MadeFile& made : madeFrom(from)) {
      QStringList files = patchFilesFor(from, *made.release, made.patchFile);
      files.removeIf([](const QString& file) { return !file.startsWith(" patches\\") || file.count('\\') != 2; });
      if (files.isEmpty()) continue;  // the design's own file alone
      ++named;
      const CollectionFile* pin = pinnedAmong(files);
      ASSERT_NE(pin, nullptr) << from.releaseName << " -> " << made.release->releaseName;
      EXPECT_EQ(patchArgument(*pin), files.front()) << from.releaseName << " -> " << made.release->releaseName;
    }
  };
  for (const CatalogueRow& row : catalogueRows()) check(row);
  for (const CatalogueRow& row : knownReleases()) check(row);
  EXPECT_GT(named, 30);
}

// Where no other is named, the collection at the pinned commit; a folder named relative to where
// Wadwright started. The command line's tests fetch from an address and refuse ftp://.
TEST(PatchSource, TheDefaultOrTheFolderNamed) {
  const CollectionFile& file = *lookUpCollectionFile("doom.wad/kex-to-ud.vcdiff");
  QProcessEnvironment environment;
  EXPECT_EQ(patchSource(environment).address(file), "https://raw.githubusercontent.com/Doom-Utils/iwad-patches/"
                                                    "28730242573408932ad2a37838409a2bc1e547a0/doom.wad/kex-to-ud.vcdiff");
  EXPECT_EQ(patchSource(environment).shown(), "the public patch collection on GitHub");
  environment.insert("WADWRIGHT_PATCH_SOURCE", "clone");
  EXPECT_EQ(patchSource(environment).address(file), QDir::current().filePath("clone/doom.wad/kex-to-ud.vcdiff"));
}
