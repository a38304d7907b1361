// `wadwright --demo`: demos written byte by byte, read by the real program; the IWADs named as
// catalogue releases by the stand-in checksum tool.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "support/demo_bytes.h"
#include "support/scratch_folder.h"
#include "support/tool_folder.h"
#include "support/tool_run.h"

// What is said of a demo: its version, map, skill and players, and the releases that play it (for
// each version, those the user's guide names); or, with exit status 2, why it is no demo, or no
// ordinary file.
TEST(DemoCommand, TheHeaderNamesTheVersionMapSkillPlayersAndTheReleasesThatPlayItOrWhyItIsNoDemo) {
  ScratchFolder work;
  const QByteArray shareware = "DOOM Shareware 1.0, DOOM Shareware 1.1, DOOM Shareware 1.2";
  const auto no = [](const QByteArray& why) { return "error\tThis is no demo I can read: " + why + "."; };
  QByteArray markerInsideATic = newDemo(109, 3, 1, 1, 2);
  markerInsideATic.insert(13 + 4, char(0x80)); // in the second player's move, then one tic short
  markerInsideATic.chop(5);
  // The demo, and the fields after the file name and "demo" of what is said of it, or the error.
  const std::pair<QByteArray, QByteArray> cases[] = {
      {demo({2, 1, 3, 1, 0, 0, 0}), "V1.0-V1.2\tE1M3\tskill 3 (Hurt me plenty)\t1 player\tDOOM V1.1, DOOM V1.2, " + shareware},
      {demo({4, 3, 9, 1, 1, 0, 0}, 35, 8), "V1.0-V1.2\tE3M9\tskill 5 (Nightmare!)\t2 players\tDOOM V1.1, DOOM V1.2"},
      {newDemo(106, 3, 1, 7), "V1.666\tE1M7 or MAP07\tskill 4 (Ultra-Violence)\t1 player\tDOOM V1.666, DOOM2 V1.666, "
                              "DOOM2 V1.666 German (No-Nazi), DOOM Shareware 1.6 Beta, DOOM Shareware 1.666"},
      {newDemo(107, 3, 1, 1), "V1.7\tMAP01\tskill 4 (Ultra-Violence)\t1 player\tDOOM2 V1.7, DOOM2 V1.7a"},  // DOOM2's alone
      {newDemo(109, 3, 4, 2), "V1.9\tE4M2\tskill 4 (Ultra-Violence)\t1 player\tUltimate Doom"},
      {newDemo(109, 4, 1, 32), "V1.9\tMAP32\tskill 5 (Nightmare!)\t1 player\tDoom2 V1.9, Final Doom - Plutonia Experiment V1.9, "
                               "Final Doom - TNT:Evilution V1.9, Final Doom - TNT:Evilution V1.9 Yellow Key :-)"},
      {newDemo(111, 3, 2, 9, 2, 5), "V1.91\tE2M9\tskill 4 (Ultra-Violence)\t2 players\tDOOM V1.9, Ultimate Doom"},
      {newDemo(203, 3, 1, 1), "MBF\tThis demo was recorded with MBF (demo version 203): it needs such a source port, and no "
                              "release of the game plays it."},
      {"", no("it is empty")},
      {demo({109, 3, 1}, 0).left(3), no("it is too short for a demo's header (3 of 13 bytes)")},
      {demo({3, 1}, 0).left(2), no("it is too short for a demo's header (2 of 7 bytes)")},
      {newDemo(110, 3, 1, 1), no("its first byte, 110, is no version of DOOM or of a source port")},
      {newDemo(109, 3, 1, 1).chopped(1), no("it has no end marker: it stops in the middle of its moves (cut short?)")},
      {markerInsideATic, no("it has no end marker: it stops in the middle of its moves (cut short?)")},
      {newDemo(109, 7, 1, 1), no("its header is no demo's (skill byte 7, episode 1, map 1, players 1)")},
      {newDemo(109, 3, 1, 1, 0), no("its header is no demo's (skill byte 3, episode 1, map 1, players 0)")},
      {newDemo(109, 3, 5, 1), no("its header names episode 5, map 1, and no release that writes V1.9 demos has that map")},
      {newDemo(109, 3, 1, 33), no("its header names episode 1, map 33, and no release that writes V1.9 demos has that map")},
      {newDemo(106, 3, 4, 1), no("its header names episode 4, map 1, and no release that writes V1.666 demos has that map")},
      {newDemo(107, 3, 2, 1), no("its header names episode 2, map 1, and no release that writes V1.7 demos has that map")},
      {demo({3, 1, 12, 1, 0, 0, 0}),
       no("its header names episode 1, map 12, and no release that writes V1.0-V1.2 demos has that map")},
      {demo({3, 1, 2, 1, 0, 0, 0}, 35, 6), no("its end marker lies where a Heretic demo's 6-byte tics put it, not where DOOM's "
                                              "4-byte tics do (it may be Heretic's; it is not DOOM's)")},
  };
  for (const auto& [bytes, said] : cases) {
    work.write("d.lmp", bytes);
    ToolResult run = runTool(builtTool("wadwright"), {"--demo", "d.lmp"}, homeAt(work));
    const bool error = said.startsWith("error\t");
    EXPECT_EQ(run.out.split('\n').value(0), "d.lmp\t" + (error ? said : "demo\t" + said)) << run.err.toStdString();
    EXPECT_EQ(run.code, error ? 2 : 1);  // no IWAD here plays a demo
  }

  // Which releases play each version's demos, as the user's guide's table states it: a demo of
  // E1M1, which is MAP01 for DOOM2's releases, is played by all of them.
  QFile guide(WADWRIGHT_DEMO_GUIDE);
  ASSERT_TRUE(guide.open(QIODevice::ReadOnly));
  int versions = 0;
  for (const QByteArray& line : guide.readAll().split('\n')) {
    const QList<QByteArray> cells = line.split('|');  // "", first byte, recorded with, played by, ""
    const int first = cells.value(1).trimmed().toInt();
    if (cells.size() != 5 || (!first && !cells[1].startsWith(" 0-4 ")) || cells[3].startsWith(" a source port")) continue;
    work.write("d.lmp", first ? newDemo(first, 2, 1, 1) : demo({2, 1, 1, 1, 0, 0, 0}));
    ToolResult run = runTool(builtTool("wadwright"), {"--demo", "d.lmp"}, homeAt(work));
    const QByteArray releases = run.out.split('\n').value(0).split('\t').last().replace(" ,", ",");  // a name may end in a blank
    EXPECT_EQ(releases.trimmed(), cells[3].trimmed()) << line.toStdString();
    ++versions;
  }
  EXPECT_EQ(versions, 7);  // the old header, 104 to 109

  // What is no ordinary file is not opened to be read, nor a huge one read past the bound: it is
  // said at once.
  const std::pair<QString, QByteArray> files[] = {{"pipe.lmp", no("it is not an ordinary file (it is a device or a pipe)")},
      {"folder.lmp", no("it is a folder")}, {"gone.lmp", no("there is no such file")},
      {"huge.lmp", no("it has no end marker in its first 64 MB, and no demo is that long")}};
  ASSERT_EQ(mkfifo("pipe.lmp", 0600), 0);
  QDir().mkdir("folder.lmp");
  work.write("huge.lmp", newDemo(109, 3, 1, 1, 1).left(13));
  ASSERT_TRUE(QFile::resize("huge.lmp", qint64(3) << 30));
  for (const auto& [file, said] : files) {
    ToolResult run = runTool(builtTool("wadwright"), {"--demo", file, "none.wad"}, homeAt(work));
    EXPECT_EQ(run.out, file.toUtf8() + "\t" + said + "\n");
    EXPECT_EQ(run.code, 2);
  }
}

class DemoIwads : public ::testing::Test {
 protected:
  void SetUp() override {
    tools.installReal({"wadwright", "command.com"});
    // The files begin as IWADs do, so that they are found; what follows is their checksum.
    tools.install("md5sum.exe", "#!/bin/sh\nexec tail -c +5 -- \"$1\"\n");
    tools.install("sha1sum.exe", "#!/bin/sh\nexec sha1sum -- \"$1\"\n");
    work.write("games/doom2.wad", "IWAD" + fakeRelease("25e1459ca71d321525f84628f45ca8cd"));  // Doom2 V1.9
    work.write("games/udoom.wad", "IWAD" + fakeRelease("c4fe9fd920207691a9f493668e0a2083"));  // Ultimate Doom
    work.write("games/hello.wad", "IWADhello, I am no IWAD of any release");
    work.write("games/freedoom2.wad", "IWAD" + fakeRelease("7b247eeb6a15ce9deeb652b82eb73f7b"));  // Freedoom: Phase 2
    work.write("games/map20.lmp", newDemo(106, 3, 1, 20));
    for (const char* patch : {"d2_19_1666", "doom.wad/kex-to-ud.vcdiff", "d1_ud_19"}) work.write(QString("games/patches/") + patch, "");
  }
  ToolResult demo(const QStringList& words) { return tools.wadwright(QStringList{"--demo"} + words, homeAt(work)); }
  ScratchFolder work;
  ToolFolder tools;
};

// Each IWAD is such a release, or is made into one by the line given, in as many steps as it takes,
// or would be but for what is said, or is not for this demo.
TEST_F(DemoIwads, EachIwadPlaysItOrIsMadeIntoOneThatDoesByTheLinesGiven) {
  ToolResult run = demo({"games/map20.lmp", "games/doom2.wad", "games/udoom.wad", "games/hello.wad", "games/freedoom2.wad"});
  // The German one's patch file is missing, but the collection has it: the line fetches it.
  EXPECT_EQ(QString::fromUtf8(run.out).split('\n').mid(1), (QStringList{
      "games/doom2.wad\tcan be made into\tDOOM2 V1.666\twadwright --make d2_1666.wad games/doom2.wad",
      "games/doom2.wad\tcan be made into\tDOOM2 V1.666 German (No-Nazi)\twadwright --make --download d2_16ger.wad games/doom2.wad",
      "games/udoom.wad\tcannot play it\tUltimate Doom",
      // Told what it is, as --identify tells it: its header claims a directory far past its end.
      "games/hello.wad\tcannot play it\tunknown version hello, I am no IWAD of any relea\tIt is cut short or damaged: it has 38 "
      "bytes, and its own directory says it should have 30331536111.",
      "games/freedoom2.wad\tcannot play it\tFreedoom: Phase 2 0.12.1",  // no V1.666 demo is played with it
      ""})) << run.err.toStdString();
  EXPECT_EQ(run.code, 1);

  // A source port plays V1.9 demos with Freedoom's files, its own among them, and with a re-release's:
  // whether it plays this one, which may be DOOM's with the same map numbers, only playing it tells.
  // The re-release is made into a release that does, in one step or two, where the file is not
  // there already.
  work.write("games/map01.lmp", newDemo(109, 3, 1, 1));
  work.write("games/kex.wad", "IWAD" + fakeRelease("4461d4511386518e784c647e3128e7bc"));  // DOOM re-release 2024
  run = demo({"games/map01.lmp", "games/freedoom2.wad", "games/kex.wad"});
  const QString mayPlay = "a source port may play it with these files, if the demo was recorded on them";
  EXPECT_EQ(QString::fromUtf8(run.out).split('\n').mid(1), (QStringList{
      "games/freedoom2.wad\tmay play it\tFreedoom: Phase 2 0.12.1\t" + mayPlay,
      "games/kex.wad\tmay play it\tDOOM re-release 2024\t" + mayPlay,
      "games/kex.wad\tcould be made into\tUltimate Doom\tCan't continue. The file that I was going to create -'games/udoom.wad'- "
      "already exists!",
      "games/kex.wad\tcan be made into\tDOOM V1.9\twadwright --make d1_19.wad games/kex.wad", ""})) << run.err.toStdString();
  EXPECT_EQ(run.code, 1);  // not for certain

  // Without IWADs named: those beside the demo; one that plays it as it is makes the status 0.
  work.write("games/my doom2.wad", "IWAD" + fakeRelease("30e3c2d0350b67bfbf47271970b74b2f"));  // DOOM2 V1.666
  QFile::rename("games/hello.wad", "games/other.txt");
  run = demo({"--json", "games/map20.lmp"});
  EXPECT_EQ(run.code, 0) << run.err.toStdString();
  QJsonArray said = QJsonDocument::fromJson(run.out).array();
  ASSERT_FALSE(said.isEmpty()) << run.out.toStdString();
  EXPECT_EQ(said[0].toObject(), (QJsonObject{{"file", "games/map20.lmp"}, {"kind", "demo"}, {"version", "V1.666"}, {"versionByte", 106},
                                             {"port", QJsonValue::Null}, {"game", "DOOM2"}, {"map", "MAP20"}, {"skill", 4}, {"players", 1},
                                             {"releases", QJsonArray{"DOOM2 V1.666", "DOOM2 V1.666 German (No-Nazi)"}}, {"error", QJsonValue::Null}}));
  QStringList playing;
  for (const QJsonValue& iwad : said)
    if (iwad.toObject()["plays"].toBool()) playing << QFileInfo(iwad.toObject()["file"].toString()).fileName() + " " + iwad.toObject()["release"].toString();
  EXPECT_EQ(playing, QStringList{"my doom2.wad DOOM2 V1.666"});
  EXPECT_EQ(QDir("games").entryList(QDir::Files).size(), 8);  // nothing written beside them

}

// A --make line runs as printed in sh and names the IWAD, whatever its name; a name --make refuses
// gets no line, but --make's reason, and where a folder's name cannot be one word of a text line,
// the line says so and the command in --json runs instead.
TEST_F(DemoIwads, EachMakeLineRunsAsPrintedInShWhereMakeTakesTheName) {
  // The name, as the line's first field shows it, and what --make says of it where it refuses it.
  const std::tuple<QByteArray, QByteArray, QString> names[] = {
      {"-doom2.wad", "-doom2.wad", ""},
      {"it's.wad", "it's.wad", ""},
      {"\xff\xfe.wad", "\xff\xfe.wad", "' is not valid text, so I cannot hand it to the patch tool. Please rename the file."},
      {"new\nline.wad", "new\\nline.wad", "' cannot be handed to the checksum tool safely. Please rename the file"},
  };
  work.write("odd/map20.lmp", newDemo(106, 3, 1, 20));
  work.write("odd/patches/d2_19_1666", "");
  const QByteArray iwad = "IWAD" + fakeRelease("25e1459ca71d321525f84628f45ca8cd");  // Doom2 V1.9
  for (const auto& [name, shown, refused] : names)  // by its bytes: the name need not be text
    std::ofstream(("odd/" + name).toStdString(), std::ios::binary) << iwad.toStdString();
  // Stands in for wadwright: it succeeds where it is given the file meant; a word that begins with '-'
  // is an option, as for the real one.
  work.write("bin/wadwright", "#!/bin/sh\ncase $3 in -*) exit 2; esac\nexec test \"$3\" -ef \"$MEANT\"\n", true);
  const QStringList environment = homeAt(work) << "W=" + tools.path() + "/wadwright"
                                               << "PATH=" + work.path("bin") + ":" + qEnvironmentVariable("PATH");
  // Runs `command` in `folder` as sh reads it, and tells whether it named the file `meant` there.
  const auto namesFile = [&](const QByteArray& command, const QByteArray& folder, const QString& meant) {
    work.write("line.sh", "cd '" + folder + "' || exit 9\n" + command + "\n");
    return !command.isEmpty() && runTool("sh", {"line.sh"}, QStringList(environment) << "MEANT=" + work.path(meant)).code == 0;
  };
  const ToolResult text = runTool("sh", {"-c", "cd odd && exec \"$W\" --demo -- map20.lmp *.wad"}, environment);
  const QJsonArray objects = QJsonDocument::fromJson(runTool("sh", {"-c", "cd odd && exec \"$W\" --demo --json -- map20.lmp *.wad"},
                                                             environment).out).array();
  for (const auto& [name, shown, refused] : names) {
    QByteArray line;
    for (const QByteArray& each : text.out.split('\n'))
      if (each.startsWith(shown + "\t") && each.contains("\tDOOM2 V1.666\t")) line = each;
    QJsonObject object;
    for (const QJsonValue& each : objects)
      if (each.toObject()["file"] == QFile::decodeName(name) && each.toObject()["makes"] == "DOOM2 V1.666") object = each.toObject();
    EXPECT_EQ(object["command"].isString(), refused.isEmpty()) << name.toStdString();
    EXPECT_TRUE(object["refused"].toString().contains(refused)) << name.toStdString();
    if (refused.isEmpty())  // the line's command
      EXPECT_TRUE(namesFile(line.split('\t').value(3), "odd", "odd/" + QString::fromUtf8(name))) << line.toStdString();
    else  // a name that is text shown alike in both fields
      EXPECT_TRUE(line.startsWith(shown + "\tcould be made into\tDOOM2 V1.666\tThe name '" +
                                  (QString::fromUtf8(name).toUtf8() == name ? shown + "'" : "")) &&
                  QString::fromUtf8(line).contains(refused)) << line.toStdString();
  }

  work.write("new\nfolder/doom2.wad", iwad);
  work.write("new\nfolder/patches/d2_19_1666", "");
  const auto inFolder = [&](bool json) {
    return tools.wadwright({"--demo", json ? "--json" : "--", "odd/map20.lmp", "new\nfolder/doom2.wad"}, homeAt(work)).out;
  };
  EXPECT_TRUE(inFolder(false).contains("\tcan be made into\tDOOM2 V1.666\tI cannot write its name as one shell word on this line "
                                       "(it holds a control character or a backslash): --json gives the command\n"));
  const QByteArray command = QJsonDocument::fromJson(inFolder(true)).array()[1].toObject()["command"].toString().toUtf8();
  EXPECT_TRUE(namesFile(command, ".", "new\nfolder/doom2.wad")) << command.toStdString();
}
