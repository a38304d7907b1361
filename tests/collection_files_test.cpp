// The collection's pinned files, held against the list measured from the collection itself, and
// the ways' files against them; where a fetch comes from.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>

#include "identify/catalogue.h"
#include "identify/known_releases.h"
#include "patching/patch_fetch.h"
#include "support/tool_run.h"

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

TEST(PatchSource, TheDefaultTheNamedAddressOrFolderAndWhatCannotBeFetchedFrom) {
  const CollectionFile& file = *lookUpCollectionFile("doom.wad/kex-to-ud.vcdiff");
  // WADWRIGHT_PATCH_SOURCE, the address the fetch tool is handed, how the source is named, the problem.
  const std::tuple<QString, QString, QString, QString> cases[] = {
      {"", "https://raw.githubusercontent.com/Doom-Utils/iwad-patches/28730242573408932ad2a37838409a2bc1e547a0/doom.wad/kex-to-ud.vcdiff",
       "the public patch collection on GitHub", ""},
      {"http://127.0.0.1:8080/mirror", "http://127.0.0.1:8080/mirror/doom.wad/kex-to-ud.vcdiff", "http://127.0.0.1:8080/mirror/", ""},
      {"https://lan/iwad-patches/", "https://lan/iwad-patches/doom.wad/kex-to-ud.vcdiff", "https://lan/iwad-patches/", ""},
      {"clone", QDir::current().filePath("clone/doom.wad/kex-to-ud.vcdiff"), QDir::current().filePath("clone/"), ""},
      {"/srv/patches/", "/srv/patches/doom.wad/kex-to-ud.vcdiff", "/srv/patches/", ""},
      {"ftp://lan/", "ftp://lan/doom.wad/kex-to-ud.vcdiff", "ftp://lan/",
       "WADWRIGHT_PATCH_SOURCE names 'ftp://lan/', which I cannot fetch from: name an https:// or http:// address or a folder."},
  };
  for (const auto& [named, address, shown, problem] : cases) {
    QProcessEnvironment environment;
    if (!named.isEmpty()) environment.insert("WADWRIGHT_PATCH_SOURCE", named);
    const PatchSource source = patchSource(environment);
    EXPECT_EQ(source.address(file), address);
    EXPECT_EQ(source.shown(), shown);
    EXPECT_EQ(source.problem, problem);
  }
  EXPECT_EQ(sizeText(121), "121 bytes");
  EXPECT_EQ(sizeText(file.size), "40 KB");
  EXPECT_EQ(sizeText(1114688), "1.1 MB");
}
