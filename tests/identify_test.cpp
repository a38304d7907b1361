// The catalogue and the identification of a file, without a window: the real interpreter, and the
// real checksum tool or a stand-in for it, in a scratch working folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <map>

#include "identify/identification.h"
#include "identify/known_releases.h"
#include "support/scratch_folder.h"
#include "support/tool_folder.h"
#include "support/tool_run.h"

TEST(Catalogue, ChecksumsAreDistinctLowercaseDigestsAcrossBothTables) {
  QSet<QString> seen;
  std::vector<CatalogueRow> rows(catalogueRows().begin(), catalogueRows().end());
  rows.insert(rows.end(), knownReleases().begin(), knownReleases().end());
  for (const CatalogueRow& row : rows) {
    EXPECT_TRUE(QRegularExpression("^[0-9a-f]{32}$").match(row.checksum).hasMatch()) << row.checksum;
    EXPECT_FALSE(seen.contains(row.checksum)) << row.checksum;
    seen.insert(row.checksum);
  }
  for (const CatalogueRow& row : knownReleases())  // found after the catalogue, with at most an update to offer
    EXPECT_TRUE((row.offer == Offer::None || row.offer == Offer::Update) && row.note == Note::None) << row.releaseName;
  for (const CatalogueRow& row : rows)  // only a release nothing can be made from says so
    EXPECT_TRUE(madeFrom(row).empty() || !QString(row.remark).contains("I cannot patch it")) << row.releaseName;
}

// Each store release and the patch of the public collection (commit 2873024) that makes its hub
// release, as the collection's READMEs and their checksums pair them.
TEST(Catalogue, EveryStoreReleaseTheCollectionReachesIsUpdatedToItsHubByItsPatch) {
  const std::pair<const char*, const char*> releases[] = {
      {"fb35c4a5a9fd49ec29ab6e900572c524", "doom.wad\\bfg-to-ud"}, {"232a79f7121b22d7401905ee0ee1e487", "doom.wad\\unity_1.0-to-ud"},
      {"21b200688d0fa7c1b6f63703d2bdd455", "doom.wad\\unity_1.1-to-ud"}, {"8517c4e8f0eef90b82852667d345eb86", "doom.wad\\unity_1.3-to-ud"},
      {"4461d4511386518e784c647e3128e7bc", "doom.wad\\kex-to-ud"}, {"3b37188f6337f15718b617c16e6e7a9c", "doom.wad\\kex-update1-to-ud"},
      {"0c8758f102ccafe26a3040bee8ba5021", "doom.wad\\xbox-to-ud"}, {"72286ddc680d47b9138053dd944b2a3d", "doom.wad\\xbla-to-ud"},
      {"e4f120eab6fb410a5b6e11c947832357", "doom.wad\\psn-to-ud"}, {"c3bea40570c23e511a7ed3ebcd9865f7", "doom2.wad\\bfg-to-1.9"},
      {"f617591a6c5d07037eb716dc4863e26b", "doom2.wad\\xbox360bfg-to-1.9"}, {"e7395bd5e838d58627bd028871efbc14", "doom2.wad\\unity_1.0-to-1.9"},
      {"7895d10c281305c45a7e5f01b3f7b1d8", "doom2.wad\\unity_1.1-to-1.9"}, {"8ab6d0527a29efdc1ef200e5687b5cae", "doom2.wad\\unity_1.3-to-1.9"},
      {"9aa3cbf65b961d0bdac98ec403b832e1", "doom2.wad\\kex-to-1.9"}, {"64a4c88a871da67492aaa2020a068cd8", "doom2.wad\\kex-update1-to-1.9"},
      {"a793ebcdd790afad4a1f39cc39a893bd", "doom2.wad\\xbox-to-1.9"}, {"43c2df32dc6c740cb11f34dc5ab693fa", "doom2.wad\\xbla-to-1.9"},
      {"4c3db5f23b145fccd24c9b84aba3b7dd", "doom2.wad\\psn_usa-to-1.9"}, {"97573aaf26957099ed45e61d81a0a1a3", "doom2.wad\\psn_eur-to-1.9"},
      {"3cb02349b3df649c86290907eed64e7b", "doom2.wad\\1.8f-to-1.9"}, {"1d39e405bf6ee3df69a8d2646c8d5c49", "tnt.wad\\anthology-to-1.9"},
      {"a6685de59ddf2c07f45deeec95296d98", "tnt.wad\\unity_1.0-to-1.9"}, {"f5528f6fd55cf9629141d79eda169630", "tnt.wad\\unity_1.3-to-1.9"},
      {"8974e3117ed4a1839c752d5e11ab1b7b", "tnt.wad\\kex-to-1.9"}, {"ad7885c17a6b9b79b09d7a7634dd7e2c", "tnt.wad\\kex-update1-to-1.9"},
      {"be626c12b7c9d94b1dfb9c327566b4ff", "tnt.wad\\psn_usa-to-1.9"}, {"3493be7e1e2588bc9c8b31eab2587a04", "plutonia.wad\\anthology-to-1.9"},
      {"0b381ff7bae93bde6496f9547463619d", "plutonia.wad\\unity_1.0-to-1.9"}, {"ae76c20366ff685d3bb9fab11b148b84", "plutonia.wad\\unity_1.3-to-1.9"},
      {"24037397056e919961005e08611623f4", "plutonia.wad\\kex-to-1.9"}, {"e47cf6d82a0ccedf8c1c16a284bb5937", "plutonia.wad\\kex-update1-to-1.9"},
      {"b77ca6a809c4fae086162dad8e7a1335", "plutonia.wad\\psn_usa-to-1.9"},
  };
  // The hub of each folder, by its checksum: Ultimate Doom, DOOM2, TNT and Plutonia V1.9.
  const std::map<QString, const char*> hubs{{"doom.wad", "c4fe9fd920207691a9f493668e0a2083"}, {"doom2.wad", "25e1459ca71d321525f84628f45ca8cd"},
                                            {"tnt.wad", "4e158d9953c79ccf97bd0663244cc6b6"}, {"plutonia.wad", "75c8cf89566741fa9d22447604053bd7"}};
  int updated = 0;
  for (const CatalogueRow& row : knownReleases()) updated += row.offer == Offer::Update;
  EXPECT_EQ(updated, int(std::size(releases)));  // and no other
  for (const auto& [checksum, patch] : releases) {
    const CatalogueRow* row = lookUpKnownRelease(checksum);
    ASSERT_TRUE(row && row->offer == Offer::Update) << checksum;
    EXPECT_EQ(QString(row->update.patchFile), QString(" patches\\") + patch + ".vcdiff") << row->releaseName;
    EXPECT_STREQ(catalogueRows()[row->update.targetRow].checksum, hubs.at(QString(patch).section('\\', 0, 0))) << row->releaseName;
    EXPECT_EQ(madeRelease(row->update.targetFile), &catalogueRows()[row->update.targetRow]) << row->releaseName;
  }
}

TEST(Catalogue, BackdateNotesNameEachButtonsFileWithTheSignsLinedUp) {
  for (auto [note, set, column] : {std::tuple{Note::DoomBackdate, Offer::DoomBackdateSet, 20},
                                   std::tuple{Note::Doom2Backdate, Offer::Doom2BackdateSet, 28}}) {
    QStringList lines = noteText(note).split("\r\n");
    ASSERT_EQ(lines.size(), 8);  // the introduction, an empty line, five buttons, nothing after the last break
    EXPECT_TRUE(lines[1].isEmpty() && lines[7].isEmpty());
    int line = 2;
    for (const BackdateButton& button : backdateButtons()) {
      if (button.set != set) continue;
      EXPECT_EQ(lines[line].indexOf('='), column) << lines[line].toStdString();
      EXPECT_TRUE(lines[line++].endsWith(QString("= ") + button.targetFile));
    }
  }
  EXPECT_EQ(noteText(Note::Doom2Backdate).split("\r\n")[3], " DOOM2 Version 1.666 german = d2_16ger.wad");
}

class Identify : public ::testing::Test {
 protected:
  Identification identify(const QString& name) {
    return identifyFile(name, [this](const QString& line) { return platform::runAndWait(line, QFile::encodeName(tools.path())); });
  }
  ScratchFolder work;
  ToolFolder tools;
};

TEST_F(Identify, WhatTheToolSaysOrTheFileIsDecidesAndNoOutputFileIsLeft) {
  tools.installFakeChecksum();
  work.write("say \"hi\".wad", "x");
  QDir().mkdir("folder.wad");
  using Outcome = Identification::Outcome;
  // The file's name and content, the checksum tool (none: it prints what the file holds), the outcome,
  // and the release or the start of the failure.
  const std::tuple<QString, QByteArray, QByteArray, Outcome, QString> cases[] = {
      {"x.wad", fakeRelease("54978d12de87f162b9bcc011676cb3c0"), "", Outcome::Known, "DOOM V1.666"},
      {"x.wad", fakeRelease("7912931e44c7d56e021084a256659800"), "", Outcome::Known, "DOOM BFG Edition (Xbox 360)"},
      {"x.wad", fakeRelease("C4FE9FD920207691A9F493668E0A2083"), "", Outcome::Unknown, ""},
      {"x.wad", " " + fakeRelease("c4fe9fd920207691a9f493668e0a2083"), "", Outcome::Unknown, ""},
      {"x.wad", "c4fe9fd9", "", Outcome::Failed, "I could not find out the checksum of 'x.wad'.\nThe checksum tool gave no checksum."},
      {"x.wad", "", "#!/bin/sh\nkill -SEGV $$\n", Outcome::Failed, "I could not find out the checksum of 'x.wad'.\nThe checksum tool ended abnormally."},
      {"x.wad", "", "#!/bin/sh\necho 'no such luck' >&2\nexit 4\n", Outcome::Failed, "I could not find out the checksum of 'x.wad'.\nno such luck"},
      {"say \"hi\".wad", "", "", Outcome::Failed, "The name 'say \"hi\".wad' cannot be handed to the checksum tool safely."},
      {"gone.wad", "", "", Outcome::Failed, "I cannot find 'gone.wad' in this folder any more"},
      {"folder.wad", "", "", Outcome::Failed, "'folder.wad' is not an ordinary file"},
  };
  for (const auto& [name, content, script, outcome, expected] : cases) {
    if (script.isEmpty()) tools.installFakeChecksum();
    else tools.install("md5sum.exe", script);
    if (name == "x.wad") work.write("x.wad", content);
    Identification found = identify(name);
    EXPECT_EQ(found.outcome, outcome) << name.toStdString() << " " << content.toStdString();
    QString said = found.row ? QString(found.row->releaseName) : found.failure;
    EXPECT_TRUE(expected.isEmpty() || said.startsWith(expected)) << said.toStdString();
    EXPECT_FALSE(work.exists("md5tmp.txt"));
  }
}

TEST_F(Identify, TheRealToolsReadEveryNameAsItStandsAndWriteNothingElse) {
  tools.installReal();
  QStringList names{"my doom.wad", "a>b.wad", "x & y;z|w.wad", "$(touch pwned).wad", "`touch pwned`.wad", "-rf.wad",
                    "d\xc3\xa9mo.wad"};
  for (const QString& name : names) work.write(name, name.toUtf8() + " payload");
  work.write("elsewhere", "the file a link leads to");
  QFile::link(work.path("elsewhere"), "linked.wad");
  for (const QString& name : names + QStringList{"linked.wad"}) {
    Identification found = identify(name);
    EXPECT_EQ(found.outcome, Identification::Outcome::Unknown) << found.failure.toStdString();
    EXPECT_EQ(found.fileHash, QString::fromLatin1(runTool("md5sum", {"--", name}).out.left(32))) << name.toStdString();
  }
  EXPECT_EQ(identify("d\xc3\xa9mo.wad").hashCommand, "md5sum.exe \"d\xc3\xa9mo.wad\" > md5tmp.txt");
  EXPECT_EQ(work.entries().size(), names.size() + 2);  // nothing else was written
  QFile::remove(tools.path() + "/command.com");
  EXPECT_EQ(identify("-rf.wad").failure, "I could not start the command interpreter 'command.com', so I cannot identify "
                                         "'-rf.wad':\ncommand.com was not found");
}

// A md5tmp.txt already there is the user's: never read, never removed; the checksum goes to a
// private file of the user's, as it does where the folder is read-only.
TEST_F(Identify, AnOldOutputFileIsNeverReadAsTheChecksum) {
  const QByteArray theirs = fakeRelease("c4fe9fd920207691a9f493668e0a2083");
  tools.installReal({"command.com"});  // and no checksum tool: nothing writes the output file
  work.write("x.wad", "hello");
  work.write("md5tmp.txt", theirs);
  EXPECT_EQ(identify("x.wad").outcome, Identification::Outcome::Failed);
  tools.installReal();
  Identification found = identify("x.wad");
  EXPECT_EQ(found.fileHash, "5d41402abc4b2a76b9719d911017c592") << found.failure.toStdString();
  EXPECT_TRUE(found.hashCommand.startsWith("md5sum.exe x.wad > \"/")) << found.hashCommand.toStdString();
  EXPECT_FALSE(QFileInfo::exists(found.hashCommand.section('"', 1, 1)));  // removed as usual
  EXPECT_EQ(work.read("md5tmp.txt"), theirs);

  if (!work.mountSmall()) GTEST_SKIP() << "mounting needs root";
  work.write("x.wad", "hello");
  work.makeReadOnly();
  EXPECT_TRUE(identify("x.wad").hashCommand.startsWith("md5sum.exe x.wad > \"/"));
  EXPECT_EQ(work.entries(), QStringList{"x.wad"});
}
