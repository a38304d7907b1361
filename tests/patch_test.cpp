// The update and backdate action without a window: the real patch tool on patches made by
// Debian's bsdiff, in a scratch working folder; the checksums the stand-in checksum tool reads.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "identify/known_releases.h"
#include "patching/patch_action.h"
#include "patching/patch_ways.h"
#include "support/bsdiff_patch.h"
#include "support/scratch_folder.h"
#include "support/tool_folder.h"
#include "support/tool_run.h"

class Patch : public ::testing::Test {
 protected:
  void SetUp() override {
    tools.installFakeChecksum();
    tools.installReal({"bspatch.exe"});
    work.write("mine.wad", source);
    work.write("patches/d1_ud_11", bsdiffPatch(source, fakeRelease("981b03e6d1dc033301aa3095acc437ce")));  // DOOM V1.1
  }
  PatchResult create(const QString& target = "d1_11.wad", const QString& patch = " patches\\d1_ud_11") {
    return createRelease({"mine.wad", "c4fe9fd920207691a9f493668e0a2083", target, patch, *madeRelease(target)},
                         [this](const QString& line) { return platform::runAndWait(line, QFile::encodeName(tools.path())); });
  }

  ScratchFolder work;
  ToolFolder tools;
  QByteArray source = fakeRelease("c4fe9fd920207691a9f493668e0a2083") + randomBytes(200000, 1);  // Ultimate Doom
};

// Refused or failed: said, and nothing of the user's touched; what is under the target's name is
// never written over, not even when it appears after the check.
TEST_F(Patch, WhatCannotBeMadeIsSaidAndNothingIsWrittenOver) {
  QFile::rename(tools.path() + "/bspatch.exe", tools.path() + "/real-bspatch");
  QFile::link("nowhere.wad", "udoom.wad");  // a link that leads nowhere counts too
  const QByteArray real = "exec \"$(dirname \"$0\")/real-bspatch\" \"$@\"\n";
  // The patch tool's script (empty: none at all), the target, the patch argument, what is said.
  const std::tuple<QByteArray, QString, QString, QString> cases[] = {
      {"touch ran\n", "udoom.wad", " patches\\d1_ud_11", "Can't continue. The file that I was going to create -'udoom.wad'- already exists!"},
      {real, "d1_11.wad", " patches\\missing", "I could not create 'd1_11.wad'.\nbspatch.exe: "},
      {"exit 0\n", "d1_11.wad", " patches\\d1_ud_11", "I could not create 'd1_11.wad'.\nThe patch tool ended without writing it."},
      {"kill -SEGV $$\n", "d1_11.wad", " patches\\d1_ud_11", "I could not create 'd1_11.wad'.\nThe patch tool ended abnormally."},
      {"", "d1_11.wad", " patches\\d1_ud_11", "I could not start the patch tool 'bspatch.exe', so 'd1_11.wad' was not created:\nbspatch.exe was not found"},
      {"echo theirs > \"$2\"\n" + real, "d1_18.wad", " patches\\d1_ud_11", "Can't continue. The file that I was going to create -'d1_18.wad'- already exists!"},
  };
  for (const auto& [tool, target, patch, said] : cases) {
    QFile::remove(tools.path() + "/bspatch.exe");
    if (!tool.isEmpty()) tools.install("bspatch.exe", "#!/bin/sh\n" + tool);
    PatchResult result = create(target, patch);
    EXPECT_EQ(result.outcome, said.startsWith("Can't") ? PatchResult::Outcome::Refused : PatchResult::Outcome::NotCreated);
    EXPECT_TRUE(result.message.startsWith(said)) << result.message.toStdString();
  }
  // Nothing was written over, the selected file is as it was, and the tool never ran.
  EXPECT_EQ(work.read("d1_18.wad"), "theirs\n");
  EXPECT_EQ(work.read("mine.wad"), source);
  EXPECT_EQ(work.entries(), (QStringList{"d1_18.wad", "mine.wad", "patches", "udoom.wad"}));
}

// A full or read-only folder is said, with no half-written file; a new file that fills the disk to
// the last byte is checked all the same, its checksum going to a private file.
TEST_F(Patch, AFullOrReadOnlyFolderIsSaidWithNoHalfWrittenFile) {
  if (!work.mountSmall()) GTEST_SKIP() << "mounting needs root";
  SetUp();
  tools.install("bspatch.exe", "#!/bin/sh\necho 981b03e6d1dc033301aa3095acc437ce > \"$2\"\nhead -c 2m /dev/zero > filler\nexit 0\n");
  PatchResult made = create();
  EXPECT_EQ(made.outcome, PatchResult::Outcome::Created) << made.message.toStdString();
  EXPECT_EQ(work.entries(), (QStringList{"d1_11.wad", "filler", "mine.wad", "patches"}));
  for (const char* file : {"d1_11.wad", "filler"}) QFile::remove(file);
  tools.installReal({"bspatch.exe"});
  work.write("patches/big", bsdiffPatch(source, source + QByteArray(3 << 20, 'x')));  // 3 MB won't fit
  PatchResult full = create("d1_11.wad", " patches\\big");
  work.makeReadOnly();
  PatchResult readOnly = create();
  EXPECT_TRUE(full.message.contains("but its folder has only")) << full.message.toStdString();
  EXPECT_EQ(readOnly.message, "I cannot create 'd1_11.wad' here: this folder is read-only. Copy the IWAD into a folder of "
                              "your own and open it there.");
  EXPECT_EQ(readOnly.patchCommand, "");
  tools.installReal({"wadwright"});  // and --make --list says that nothing can be made there
  ToolResult list = tools.wadwright({"--make", "--list", "mine.wad"});
  EXPECT_EQ(list.code, 1);
  EXPECT_TRUE(list.out.startsWith("mine.wad\tnothing\tI cannot make anything from 'mine.wad' here: this folder is read-only."));
  EXPECT_EQ(work.entries(), (QStringList{"mine.wad", "patches"}));
}

// The collection renamed its labels in every folder: a copy from before or after the renames holds a
// store release's patch to its hub under the names the collection's history gives it.
TEST(PatchFiles, EveryCopyOfTheCollectionIsReadUnderTheNamesItsHistoryGives) {
  const std::pair<const char*, const char*> earlier[] = {  // the release, a patch file it had
      {"3b37188f6337f15718b617c16e6e7a9c", "doom.wad\\kex_1.1-to-ud"},  // DOOM re-release 2024, Update 1: its newer name
      {"232a79f7121b22d7401905ee0ee1e487", "doom.wad\\unity1.0-to-ud"}, {"232a79f7121b22d7401905ee0ee1e487", "doom.wad\\switch-to-ud"},
      {"21b200688d0fa7c1b6f63703d2bdd455", "doom.wad\\unity1.1-to-ud"}, {"e7395bd5e838d58627bd028871efbc14", "doom2.wad\\switch-to-1.9"},
      {"a6685de59ddf2c07f45deeec95296d98", "tnt.wad\\unity1.0-to-1.9"}, {"be626c12b7c9d94b1dfb9c327566b4ff", "tnt.wad\\psn-to-1.9"},
      {"0b381ff7bae93bde6496f9547463619d", "plutonia.wad\\unity1.0-to-1.9"}, {"b77ca6a809c4fae086162dad8e7a1335", "plutonia.wad\\psn-to-1.9"},
  };
  for (const auto& [checksum, file] : earlier) {
    const CatalogueRow& from = *lookUpKnownRelease(checksum);
    const MadeFile hub = madeFrom(from).front();
    EXPECT_TRUE(patchFilesFor(from, *hub.release, hub.patchFile).contains(QString(" patches\\") + file + ".vcdiff")) << file;
  }
}
