// Every file and every label of the public patch collection: the rows and ways against the
// collection's own word (its file list and its READMEs, in ../shared), and the new ways taken with
// the real interpreter and patch tool, the stand-in checksum tools naming each file by what it holds.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include "identify/collection_releases.h"
#include "identify/identification.h"
#include "patching/collection_files.h"
#include "patching/collection_ways.h"
#include "patching/way_make.h"
#include "support/bsdiff_patch.h"
#include "support/scratch_folder.h"
#include "support/tool_folder.h"
#include "support/tool_run.h"

namespace {

QString shared(const QString& name) { return QStringLiteral(WADWRIGHT_SHARED_DIR "/") + name; }

// Each file of the collection's own list is pinned by the size and SHA-256 measured there; the way
// through each reaches a row of its folder at both ends, and each file no way takes says why.
TEST(Collection, EveryFileIsPinnedAndOnAWayOrExcludedWithItsReason) {
  QFile list(shared("collection-files.tsv"));
  ASSERT_TRUE(list.open(QIODevice::ReadOnly)) << "the collection's file list belongs beside the source: " << list.fileName().toStdString();
  for (const CollectionWay& way : collectionWays()) EXPECT_TRUE(way.from && way.to) << way.path.toStdString();
  for (const ExcludedPatch& patch : excludedPatches()) EXPECT_GT(qstrlen(patch.reason), 40u) << patch.path;
  int files = 0;
  while (!list.atEnd()) {
    const QStringList fields = QString::fromUtf8(list.readLine()).trimmed().split('\t');
    if (fields.first().startsWith('#')) continue;
    ++files;
    const CollectionFile* pin = lookUpCollectionFile(fields.first());
    ASSERT_TRUE(pin && fields.size() == 3) << fields.join(' ').toStdString();
    EXPECT_EQ(pin->size, fields[1] == "-" ? -1 : fields[1].toLongLong()) << pin->path;  // one could not be measured
    EXPECT_EQ(QString(pin->sha256), fields[2] == "-" ? "" : fields[2]) << pin->path;
  }
  EXPECT_EQ(files, int(collectionFiles().size()));
}

// Each folder's README lists the SHA-1 of every file its patches read or make, as
// "SHA1  STEM_LABEL.wad": each is a row of that folder with that label.
TEST(Collection, EveryLabelTheReadmesNameIsARowOfItsFolder) {
  const QStringList folders = QDir(shared("collection-sample")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  ASSERT_EQ(folders.size(), 13);
  int labels = 0;
  for (const QString& folder : folders) {
    QFile readme(shared("collection-sample/" + folder + "/README.txt"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    for (const QString& line : QString::fromUtf8(readme.readAll()).split('\n')) {
      const auto match = QRegularExpression("^([0-9a-f]{40})  [A-Za-z0-9]+?_(.+)\\.wad$").match(line);
      if (!match.hasMatch()) continue;
      ++labels;
      const CatalogueRow* row = lookUpSha1(match.captured(1));
      ASSERT_TRUE(row) << line.toStdString();
      EXPECT_EQ(QString(row->collectionFolder), folder) << line.toStdString();
      // The READMEs call the 2024 re-release kex_1.0 and kex_1.1; SVE's Switch release switch-1.0.
      EXPECT_TRUE(QString(row->collectionLabels).split(' ').contains(match.captured(2))) << line.toStdString();
    }
  }
  EXPECT_EQ(labels, 80);
  // The labels no README gives a SHA-1 for are the PWADs, made from the hub and named so.
  for (const CatalogueRow* row : everyRow()) {
    if (!row->collectionFolder || row->sha1) continue;
    EXPECT_STREQ(row->collectionLabels, "pwad");
    EXPECT_TRUE(QString(row->releaseName).endsWith("PWAD") && QString(row->remark).startsWith("This is a PWAD")) << row->releaseName;
  }
  const std::vector<const CatalogueRow*> rows = everyRow();
  for (const CollectionFolder& folder : collectionFolders())
    for (const QString& label : QString(folder.labels).split(' '))
      EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [&](const CatalogueRow* row) {
        return row->collectionFolder == QString(folder.folder) && QString(row->collectionLabels).split(' ').contains(label);
      })) << folder.folder << " " << label.toStdString();
}

// Each row says where its checksum comes from, and what it says fits what it has.
TEST(Collection, EveryChecksumIsADistinctLowercaseDigestOfASourceThatGivesSuch) {
  QSet<QString> seen;
  for (const CatalogueRow* row : everyRow()) {
    const ChecksumSource expected = row->checksum ? row->source : row->sha1 ? ChecksumSource::CollectionReadme : ChecksumSource::None;
    EXPECT_TRUE(row->source == expected && (!row->checksum || (row->source != ChecksumSource::CollectionReadme &&
                                                               row->source != ChecksumSource::None))) << row->releaseName;
    for (const auto& [digest, length] : {std::pair(row->checksum, 32), std::pair(row->sha1, 40)}) {
      if (!digest) continue;
      EXPECT_TRUE(QRegularExpression(QString("^[0-9a-f]{%1}$").arg(length)).match(digest).hasMatch()) << digest;
      EXPECT_FALSE(seen.contains(digest)) << digest;
      seen.insert(digest);
    }
  }
}

class CollectionWays : public ::testing::Test {
 protected:
  void SetUp() override {
    tools.installFakeChecksum();
    tools.installReal({"bspatch.exe"});
  }
  platform::RunCommand run() {
    return [this](const QString& line) { return platform::runAndWait(line, QFile::encodeName(tools.path())); };
  }
  // A stand-in release: what the fake tools print for it, and bytes enough for a patch.
  static QByteArray release(const char* checksum, char filler) { return fakeRelease(checksum) + QByteArray(30000, filler); }
  // Makes `target` from the file `source` along the shortest way, as --make does.
  PatchResult make(const QString& source, const QString& target) {
    const Identification found = identifyFile(source, run());
    EXPECT_EQ(found.outcome, Identification::Outcome::Known) << source.toStdString();
    if (!found.row) return {};
    const MakePlan plan = planMaking({found.row, target});
    EXPECT_TRUE(plan.ready()) << target.toStdString() << ": " << plan.why.toStdString();
    return makeAlongPlan(plan, {source, found.fileHash, true}, run());
  }

  ScratchFolder work;
  ToolFolder tools;
};

// Each way the collection adds makes its release, checked by what the collection gives: No Rest
// for the Living's BFG Edition file (known by its MD5) made into its neighbours, checked by the
// README's SHA-1 (the 2024 re-release's by its MD5), and made again from the one known by its SHA-1
// alone; Heretic's levels PWAD, which has no published checksum and is said to be unchecked; Strife
// V1.1, known by the collection's SHA-1 alone. (Heretic V1.3 and V1.0 made from each other are
// checked in the window's test of the other releases.)
TEST_F(CollectionWays, EachNewWayMakesItsReleaseCheckedByWhatTheCollectionGives) {
  const char* kStrife11 = "eb0f3e157b35c34d5a598701f775e789ec85b4ae";
  const QByteArray bfg = release("967d5ae23daf45196212ae1b605da3b0", 'b'), kex = release("23422eb42833ac7b0dd59c0c7ae18a6f", 'k');
  const QByteArray unity = release("7bb0734f85b045dd41482c5e95b0ecbe1700fbcb", 'u'), v11 = release(kStrife11, '1');
  const QByteArray v12 = release("2fed2031a5b03892106e0f117f17901f", '2');
  using Outcome = PatchResult::Outcome;
  // The file made from, its patch file, what that makes, the target, the outcome and how what is said begins.
  const std::tuple<QByteArray, QString, QByteArray, QString, Outcome, QString> cases[] = {
      {bfg, "nerve.wad/bfg-to-kex", kex, "nerve_kex.wad", Outcome::Created, "nerve_kex.wad was sucessully created!"},
      {bfg, "nerve.wad/bfg-to-unity_1.4", unity, "nerve_unity_1.4.wad", Outcome::Created, ""},
      {unity, "nerve.wad/unity_1.4-to-bfg", bfg, "nerve_bfg.wad", Outcome::Created, ""},
      {release("66d686b1ed6d35ff103f15dbd30e0341", '3'), "heretic.wad/1.3-to-pwad", "PWAD levels", "heretic_pwad.wad",
       Outcome::Unchecked, "heretic_pwad.wad was created. No checksum of Heretic levels PWAD is published, so nothing but the "
                           "patch file's own checks vouches for it. I have kept it."},
      {v12, "strife1.wad/1.2-to-1.1", v11, "strife1_1.1.wad", Outcome::Created, ""},
      // Its MD5 in no row and a SHA-1 that is not V1.1's: not kept.
      {v12, "strife1.wad/1.2-to-1.1", release("0123456789abcdef0123456789abcdef01234567", 'x'), "strife1_1.1.wad",
       Outcome::NotCreated, "'strife1_1.1.wad' should have been Strife V1.1, but it is not"},
  };
  for (const auto& [from, patch, made, target, outcome, said] : cases) {
    SCOPED_TRACE(patch.toStdString());
    work.write("from.wad", from);
    work.write("patches/" + patch + ".vcdiff", bsdiffPatch(from, made));
    const PatchResult result = make("from.wad", target);
    EXPECT_EQ(result.outcome, outcome);
    EXPECT_TRUE(result.message.startsWith(said)) << result.message.toStdString();
    EXPECT_EQ(work.exists(target), outcome != Outcome::NotCreated);
    if (outcome != Outcome::NotCreated) EXPECT_EQ(work.read(target), made);
    QFile::remove(target);
  }
}

}  // namespace
