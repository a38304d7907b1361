// The catalogue and the identification of a file, without a window: the real interpreter, and the
// real checksum tool or a stand-in for it, in a scratch working folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "identify/collection_releases.h"
#include "identify/identification.h"
#include "identify/known_releases.h"
#include "identify/release_sizes.h"
#include "identify/wad_verdict.h"
#include "support/scratch_folder.h"
#include "support/tool_folder.h"
#include "support/tool_run.h"

// The digests themselves are held to their form in the collection's tests, over every table.
TEST(Catalogue, OnlyAReleaseNothingCanBeMadeFromSaysSo) {
  for (const CatalogueRow* row : everyRow())
    EXPECT_TRUE(madeFrom(*row).empty() || !QString(row->remark).contains("I cannot patch it")) << row->releaseName;
}

// A size game-data-packager gives reaches its row: an MD5 mistyped there would leave a damaged copy
// of that release untold. Releases of one size are all named.
TEST(Catalogue, EveryPackagerSizeIsItsRowsAndADamagedCopyNamesEveryReleaseOfItsSize) {
  for (const ReleaseSize& known : kPackagerSizes) {
    const QString md5 = QString::fromLatin1(known.md5.data(), known.md5.size());
    const CatalogueRow* row = lookUpChecksum(md5) ? lookUpChecksum(md5) : lookUpKnownRelease(md5);
    ASSERT_TRUE(row) << md5.toStdString();
    EXPECT_EQ(row->size, known.size) << row->releaseName;
  }
  wad::Structure iwad;
  iwad.kind = wad::Structure::Kind::Iwad;
  iwad.game = "DOOM";
  const std::pair<qint64, QString> sizes[] = {
      {11159840, "DOOM V1.666, DOOM V1.8 or DOOM V1.9"},
      {12487824, "DOOM BFG Edition"},
  };
  for (const auto& [size, releases] : sizes) {
    iwad.size = quint64(size);
    EXPECT_EQ(verdictText(judgeStructure(iwad)),
              "It is a damaged or changed copy of " + releases + ": it has the size, not the checksum. I will not patch it.");
  }
}

// Each store release the public collection reaches is found after the catalogue, and updated to its
// folder's hub by the patch the collection names after the two labels, as its READMEs pair them.
TEST(Catalogue, EveryStoreReleaseTheCollectionReachesIsUpdatedToItsHubByItsPatch) {
  const auto label = [](const CatalogueRow& row) { return QString(row.collectionLabels).section(' ', 0, 0); };
  int updated = 0;
  for (const CatalogueRow& row : knownReleases()) {
    EXPECT_TRUE((row.offer == Offer::None || row.offer == Offer::Update) && row.note == Note::None) << row.releaseName;
    if (row.offer != Offer::Update) continue;
    ++updated;
    const CatalogueRow& hub = catalogueRows()[row.update.targetRow];
    EXPECT_TRUE(isCollectionHub(hub) && QString(hub.collectionFolder) == row.collectionFolder) << row.releaseName;
    EXPECT_EQ(QString(row.update.patchFile), QString(" patches\\%1\\%2-to-%3.vcdiff").arg(row.collectionFolder, label(row), label(hub)));
    EXPECT_EQ(madeRelease(row.update.targetFile), &hub) << row.releaseName;
  }
  EXPECT_EQ(updated, 33);
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
      {"x.wad", fakeRelease("23422eb42833ac7b0dd59c0c7ae18a6f"), "", Outcome::Known, "No Rest for the Living, re-release 2024"},
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
