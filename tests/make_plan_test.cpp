// The plan every face shows: what stands in a making's way, and which comes first when several
// do, in a scratch working folder holding the patch files of the 2024 re-release's way to
// Ultimate Doom and then DOOM V1.9.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <cstdio>

#include "identify/known_releases.h"
#include "patching/make_plan.h"
#include "support/scratch_folder.h"

namespace {

PatchSource sourceNamed(const QString& named) {
  QProcessEnvironment environment;
  if (!named.isEmpty()) environment.insert("WADWRIGHT_PATCH_SOURCE", named);
  return patchSource(environment);
}

// The working folder: on the scratch disk, or a 1 MB file system of its own, read-only or not.
enum class Folder { Roomy, Small, ReadOnly };

}  // namespace

TEST(MakePlan, WhatStandsInTheWayIsFoundInOneOrder) {
  const CatalogueRow* kex = lookUpKnownRelease("4461d4511386518e784c647e3128e7bc");
  ASSERT_NE(kex, nullptr);
  const QString first = "patches/doom.wad/kex-to-ud.vcdiff", second = "patches/doom.wad/ud-to-1.9.vcdiff";
  const QString missingFirst = "The patch file 'games/" + first + "' is missing";
  const QString unreadableFirst = "I cannot read the patch file 'games/" + first + "': ";
  struct Case {
    const char* what;
    QStringList files;  // made in the working folder; a name ending in '/' is a folder, in '@' a link to nothing
    QString target;
    OnTheWay onTheWay;
    QString source;  // WADWRIGHT_PATCH_SOURCE, or empty for the collection itself
    Folder folder;
    Hold hold;
    QString why;     // how what is said begins; every missing file's text follows the one before
  };
  const Case cases[] = {
      {"nothing leads there", {}, "nothing.wad", OnTheWay::PrivateFolder, {}, Folder::Roomy, Hold::NoWay,
       "'games/kex.wad' is " + QString(kex->releaseName) + ", which makes udoom.wad, "},
      {"every file there", {first, second}, "d1_19.wad", OnTheWay::PrivateFolder, {}, Folder::Roomy, Hold::None, {}},
      {"only a fetch missing", {second}, "d1_19.wad", OnTheWay::PrivateFolder, {}, Folder::Roomy, Hold::Fetch, missingFirst},
      {"the target first, whatever else", {first + "/", "d1_19.wad"}, "d1_19.wad", OnTheWay::PrivateFolder, "ftp://x/", Folder::Roomy,
       Hold::TargetThere, "Can't continue. The file that I was going to create -'games/d1_19.wad'- already exists!"},
      {"a button's file on the way, before the patch files", {first + "/", "udoom.wad"}, "d1_19.wad", OnTheWay::BesideIt, {},
       Folder::Roomy, Hold::MadeThere, "Can't continue. The file that I was going to create -'games/udoom.wad'- already exists!"},
      {"a private folder takes what is made on the way", {first, second, "udoom.wad"}, "d1_19.wad", OnTheWay::PrivateFolder, {},
       Folder::Roomy, Hold::None, {}},
      {"an unreadable file is no fetch's to mend", {first + "@"}, "d1_19.wad", OnTheWay::PrivateFolder, "ftp://x/", Folder::Roomy,
       Hold::PatchFiles, unreadableFirst + "it is a link to nothing. The patch file 'games/patches/d1_ud_19' is missing"},
      {"a broken source, once only a fetch is missing, its password unsaid", {}, "d1_19.wad", OnTheWay::PrivateFolder,
       "ftp://player:secret@x/", Folder::Roomy, Hold::SourceBroken, "WADWRIGHT_PATCH_SOURCE names 'ftp://x/', which I cannot fetch from"},
      {"no room before any fetch", {second}, "d1_19.wad", OnTheWay::PrivateFolder, "ftp://x/", Folder::Small, Hold::NoRoom,
       "There is no room for 'games/d1_19.wad' here: DOOM V1.9 takes "},
      {"a read-only folder", {first, second}, "udoom.wad", OnTheWay::PrivateFolder, {}, Folder::ReadOnly, Hold::ReadOnly,
       "I cannot create 'games/udoom.wad' here: this folder is read-only."},
  };
  for (const Case& each : cases) {
    SCOPED_TRACE(each.what);
    ScratchFolder work;
    if (each.folder != Folder::Roomy && !work.mountSmall()) {
      std::printf("skipped (mounting needs root): %s\n", each.what);
      continue;
    }
    QDir().mkpath("patches/doom.wad");
    for (const QString& file : each.files) {
      if (file.endsWith('/')) QDir().mkpath(file);
      else if (file.endsWith('@')) QFile::link("nowhere", file.chopped(1));
      else work.write(file, "patch");
    }
    if (each.folder == Folder::ReadOnly) work.makeReadOnly();
    const MakePlan plan = planMaking({kex, each.target, "games/", "games/kex.wad", sourceNamed(each.source), each.onTheWay});
    EXPECT_EQ(plan.hold, each.hold);
    EXPECT_TRUE(plan.why.startsWith(each.why)) << plan.why.toStdString();
    EXPECT_EQ(plan.ready(), each.why.isEmpty());
  }
}
