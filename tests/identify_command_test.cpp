// `wadwright --identify`: the real program and tools, without a display.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtCore/qtestsupport_core.h>

#include "support/scratch_folder.h"
#include "support/tool_folder.h"
#include "support/tool_run.h"
#include "support/unknown_files.h"

namespace {

// With no display to open a window on: none must be asked for.
ToolResult identify(const QString& program, const QStringList& arguments) {
  return runTool(program, QStringList{"--identify"} + arguments, {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="});
}

QStringList linesOf(const ToolResult& run) { return QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts); }

// For what only a shell can give: names that are not valid text, a full or closed output.
ToolResult shell(const QString& script) {
  return runTool("sh", {"-c", script}, {"W=" + builtTool("wadwright"), "DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="});
}

const QString kFreedoom = "/usr/share/games/doom/";
// What is told of a file holding "hello", after its checksum.
const QByteArray kHelloIsAPage = "\tIt is a web page, not a game file: the download failed.";

}  // namespace

TEST(IdentifyCommand, OneLinePerFileAndAStatusThatSaysTheWorst) {
  ScratchFolder work;
  QString program = builtTool("wadwright");
  work.write("hello.wad", "hello");
  QDir().mkpath("elsewhere/sub");  // linkdir/.. is elsewhere, where the system opens the file
  QFile::link("elsewhere/sub", "linkdir");
  work.write("elsewhere/doom.wad", "hello");
  QString freedoom1 = kFreedoom + "freedoom1.wad", freedoom2 = kFreedoom + "freedoom2.wad";
  const QString remark = "\tThis is Freedoom, a free game that takes DOOM's place. I cannot patch it -sorry!";
  const QString hello = "\tunknown\t5d41402abc4b2a76b9719d911017c592" + QString(kHelloIsAPage);
  const std::tuple<QStringList, QStringList, int> cases[] = {  // the files named, the lines, the status
      {{freedoom1, freedoom2}, {freedoom1 + "\tFreedoom: Phase 1 0.12.1" + remark, freedoom2 + "\tFreedoom: Phase 2 0.12.1" + remark}, 0},
      {{"missing.wad", "/dev/null", "hello.wad"},
       {"missing.wad\terror\tI cannot find 'missing.wad': there is no such file.",
        "/dev/null\terror\t'/dev/null' is not an ordinary file (it is a folder, a device or a pipe), so it cannot be an IWAD.",
        "hello.wad" + hello}, 2},
      // A folder is said to be one.
      {{"linkdir/../doom.wad", "elsewhere/"}, {"linkdir/../doom.wad" + hello,
        "elsewhere/\terror\t'elsewhere/' is a folder, not an IWAD: please name the IWAD file in it."}, 2},
  };
  for (const auto& [files, lines, status] : cases) {
    const ToolResult run = identify(program, files);
    EXPECT_EQ(linesOf(run), lines);
    EXPECT_EQ(run.code, status);
  }
  EXPECT_EQ(work.entries(), (QStringList{"elsewhere", "hello.wad", "linkdir"}));  // nothing run, nothing left

  // Names byte for byte, even those that are not text; a tab cannot split a line, and is written
  // alike in every field.
  work.write("tab\there.wad", "hello");
  ToolResult odd = shell("cp hello.wad \"$(printf 'bad\\377.wad')\"; \"$W\" --identify -- \"$(printf 'bad\\377.wad')\" 'tab\there.wad' "
                         "\"$(printf 'esc\\033[2J.wad')\"");
  EXPECT_EQ(odd.out.split('\n').value(0), "bad\xff.wad\tunknown\t5d41402abc4b2a76b9719d911017c592" + kHelloIsAPage);
  EXPECT_TRUE(odd.out.split('\n').value(1).startsWith("tab\\there.wad\terror\tThe name 'tab\\there.wad' cannot be")) << odd.out.toStdString();
  EXPECT_TRUE(odd.out.split('\n').value(2).startsWith("esc\\x1b[2J.wad\terror\tI cannot find 'esc\\x1b[2J.wad'")) << odd.out.toStdString();
}

// The program's own folder by its bytes: a name that is not valid text never leads to a sibling
// whose name only reads the same, which must supply neither the helpers nor the window.
TEST(IdentifyCommand, HelpersComeFromTheProgramsOwnFolderWhateverItsName) {
  ScratchFolder work;
  work.write("x.wad", "hello");
  ToolResult run = shell(R"(own=$(printf 'n\377u'); other=$(printf 'n\357\277\275u'); mkdir "$own" "$other"; cd "$own"
for tool in wadwright command.com md5sum.exe sha1sum.exe; do cp "$(dirname "$W")/$tool" .; done; cd ..
printf '#!/bin/sh\necho sibling >> evil.log\n' | tee "$other/command.com" > "$other/wadwright-window"
printf '#!/bin/sh\necho "window $*"\n' > "$own/wadwright-window"; chmod +x "$other"/* "$own"/*
"$own/wadwright" --identify x.wad; QT_QPA_PLATFORM=offscreen "$own/wadwright" x.wad)");
  EXPECT_EQ(run.out, "x.wad\tunknown\t5d41402abc4b2a76b9719d911017c592" + kHelloIsAPage + "\nwindow " + QFile::encodeName(work.path("x.wad")) + "\n")
      << run.err.toStdString();
  EXPECT_FALSE(work.exists("evil.log"));
}

// A file with a row's SHA-1 and another MD5 is said to half match it; --json names every field of
// each file. (The rows' own names and remarks are said as Freedoom's are, above.)
TEST(IdentifyCommand, AHalfMatchIsSaidAndJsonNamesEveryField) {
  ScratchFolder work;
  ToolFolder tools;  // the program beside a checksum tool that reaches the catalogue's rows
  tools.installReal({"wadwright"});
  tools.installFakeChecksum();
  const char* kHereticV13 = "Heretic: Shadow of the Serpent Riders V1.3";
  // Heretic V1.3's SHA-1: the MD5 keeps its column, and what it half matches follows, then what
  // the file is (this one text).
  work.write("x.wad", fakeRelease("f489d479371df32f6d280a0cb23b59a35ba2b833"));
  const ToolResult half = identify(tools.path() + "/wadwright", {"x.wad"});
  EXPECT_EQ(half.out, "x.wad\tunknown\tf489d479371df32f6d280a0cb23b59a3\tThis file has the SHA-1 of " + QByteArray(kHereticV13) +
                          ", but not its MD5: it is not that release, or it is damaged. I cannot patch this -sorry! It is a web "
                          "page, not a game file: the download failed.\n");
  EXPECT_EQ(half.code, 1);
  work.write("v12.wad", fakeRelease("792fd1fea023d61210857089a7c1e351"));
  work.write("ultimate.wad", fakeRelease("c4fe9fd920207691a9f493668e0a2083"));
  // x.wad holds the half match.
  ToolResult run = identify(tools.path() + "/wadwright", {"--json", "v12.wad", "ultimate.wad", "gone.wad", "x.wad"});
  EXPECT_EQ(run.code, 2);
  QJsonArray files = QJsonDocument::fromJson(run.out).array();
  ASSERT_EQ(files.size(), 4) << run.out.toStdString();
  EXPECT_EQ(files[3].toObject()["half_match"], kHereticV13);
  EXPECT_EQ(files[3].toObject()["known"], false);
  EXPECT_EQ(files[0].toObject(), (QJsonObject{{"file", "v12.wad"}, {"md5", "792fd1fea023d61210857089a7c1e351"}, {"sha1", QJsonValue::Null}, {"known", true},
                                              {"release", "DOOM V1.2"}, {"remark", "You should update this Version to 'ULTIMATE DOOM'"},
                                              {"offer", "update"}, {"target", "udoom.wad"}, {"patch", "patches/d1_12_ud"},
                                              {"half_match", QJsonValue::Null}, {"error", QJsonValue::Null}, {"kind", QJsonValue::Null},
                                              {"game", QJsonValue::Null}, {"lumps", QJsonValue::Null}, {"maps", QJsonValue::Null},
                                              {"nearest", QJsonValue::Null}}));
  EXPECT_EQ(files[1].toObject()["offer"], "doom-backdate");
  EXPECT_TRUE(files[2].toObject()["error"].toString().startsWith("I cannot find 'gone.wad'"));
}

// A file in no row is told apart by its own bytes, in the line's fourth field and in --json.
TEST(IdentifyCommand, AFileInNoRowIsToldWhatItIs) {
  ScratchFolder work;
  ToolFolder tools;
  tools.installReal({"wadwright", "command.com"});
  tools.install("md5sum.exe", kNoRowMd5);
  tools.install("sha1sum.exe", kNoRowSha1);
  const std::vector<UnknownFile> files = writeUnknownFiles(work);
  ASSERT_FALSE(files.empty());
  QStringList names;
  for (const UnknownFile& file : files) names << file.name;
  const ToolResult lines = identify(tools.path() + "/wadwright", names);
  const QJsonArray objects = QJsonDocument::fromJson(identify(tools.path() + "/wadwright", QStringList{"--json"} + names).out).array();
  EXPECT_EQ(lines.code, 1);
  ASSERT_EQ(linesOf(lines).size(), qsizetype(files.size())) << lines.out.toStdString();
  ASSERT_EQ(objects.size(), qsizetype(files.size()));
  for (std::size_t i = 0; i < files.size(); ++i) {
    const UnknownFile& file = files[i];
    const QStringList fields = linesOf(lines)[i].split('\t');
    ASSERT_EQ(fields.size(), 4) << fields.join('|').toStdString();
    EXPECT_EQ(fields.mid(0, 3), (QStringList{file.name, "unknown", "00112233445566778899aabbccddeeff"}));
    EXPECT_TRUE(file.told.endsWith(' ') ? fields[3].startsWith(file.told) : fields[3] == file.told) << fields[3].toStdString();
    const QJsonObject object = objects[i].toObject();
    EXPECT_EQ(object["kind"], file.kind) << file.name.toStdString();
    EXPECT_EQ(object["game"], file.game.isEmpty() ? QJsonValue() : QJsonValue(file.game)) << file.name.toStdString();
    // Lumps and maps where its directory was read whole; none for what is no WAD, cut short or damaged.
    EXPECT_EQ(object["maps"].isArray(), object["lumps"].isDouble()) << file.name.toStdString();
    EXPECT_EQ(object["maps"].isArray(), QStringList({"damaged-copy", "pwad", "iwad"}).contains(file.kind)) << file.name.toStdString();
  }
  const QJsonObject hexen = objects[names.indexOf("hexen.wad")].toObject();
  EXPECT_EQ(hexen["lumps"], 7);
  EXPECT_EQ(hexen["maps"], (QJsonArray{"MAP01", "MAP02"}));
  EXPECT_EQ(hexen["nearest"], (QJsonObject{{"release", "Hexen demo"}, {"size", 10644136}, {"bytes_off", QFileInfo("hexen.wad").size() - 10644136}}));
}

// Ended by SIGKILL (logout, the out-of-memory killer), it can tidy nothing: its tool must still end.
TEST(IdentifyCommand, ItsToolEndsWithIt) {
  ScratchFolder work;
  ToolFolder tools;
  tools.installReal({"command.com", "wadwright"});
  tools.install("md5sum.exe", "#!/bin/sh\necho $$ > pid.part\nmv pid.part pid\nexec sleep 60\n");
  work.write("x.wad", "x");
  ToolRun program(tools.path() + "/wadwright", {"--identify", "x.wad"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return work.exists("pid"); }, 20000));
  const pid_t tool = work.read("pid").toInt();
  ASSERT_GT(tool, 0);
  kill(pid_t(program.pid()), SIGKILL);
  program.wait();
  EXPECT_TRUE(waitUntilGone(tool));
}

// Options in any order and `--` before names, as a Unix command reads them; what is wrong is said.
TEST(IdentifyCommand, TheCommandLineIsReadAsAUnixCommandsIs) {
  ScratchFolder work;
  work.write("-x.wad", "hello");
  // The command, the exit status, the start of what is printed and of what is said.
  const std::tuple<QString, int, QByteArray, QByteArray> cases[] = {
      {"\"$W\" --json --identify -- -x.wad", 1, "[\n    {\n        \"error\": null,\n        \"file\": \"-x.wad\"", ""},
      {"\"$W\" --identify x.wad --help", 0, "Usage: wadwright [PATH]\n", ""},
      {"\"$W\" -- --help", 2, "", "wadwright: there is no display to open the window on;"},
      {"DISPLAY=:99 QT_QPA_PLATFORM=xcb \"$W\" /", 2, "", "wadwright: cannot open a window: could not connect to display :99\n"},
      {"\"$W\" x.wad -q --help", 2, "", "wadwright: I do not know the option '-q' (see wadwright --help)\n"},
      {"\"$W\" --identify=x.wad", 2, "", "wadwright: I do not know the option '--identify=x.wad' (see wadwright --help)\n"},
      {"\"$W\" \"$(printf '%s\\n%s' --a b)\"", 2, "", "wadwright: I do not know the option '--a\\nb' (see wadwright --help)\n"},
      {"\"$W\" \"$(printf -- '--a\\033[2J\\v\\f\\177b')\"", 2, "",  // no control reaches the terminal
       "wadwright: I do not know the option '--a\\x1b[2J\\x0b\\x0c\\x7fb' (see wadwright --help)\n"},
      // Started from a folder whose path the system will not name: said once, nothing run.
      {"top=$PWD; d=$(printf '%0200d' 0); for i in $(seq 21); do mkdir $d; cd -P $d; done; cp \"$W\" .; ./wadwright --identify x.wad; s=$?; "
       "cd \"$top\"; rm -rf 0*; exit $s", 2, "", "wadwright: I cannot tell which folder I was started from"},
      {"\"$W\" --identify - -- --frobnicate", 2, "-\terror\tI cannot find '-'", ""},  // `-` and what follows `--` are names
      {"\"$W\" --identify --find", 2, "", "wadwright: choose one of --identify, --make, --find and --demo (see wadwright --help)\n"},
      {"\"$W\" a b", 2, "", "wadwright: give one folder or IWAD to open, not 2 (see wadwright --help)\n"},
      {"\"$W\" --make --list --download x.wad", 2, "", "wadwright: --download goes with --make TARGET FILE (see wadwright --help)\n"},
      {"\"$W\" --demo --json", 2, "", "wadwright: --demo needs the demo to read: wadwright --demo [--json] DEMO [IWAD...] (see wadwright --help)\n"},
      {"\"$W\" --identify -- -x.wad >/dev/full", 2, "", "wadwright: cannot write the output: No space left on device\n"},
      {"\"$W\" --help >&-", 2, "", "wadwright: cannot write the output: Bad file descriptor\n"},
  };
  for (const auto& [words, status, printed, said] : cases) {
    ToolResult run = shell(words);
    // The sanitizers' own warnings (the folder case makes them fail to name the program) are not ours.
    QByteArrayList lines = run.err.split('\n');
    lines.removeIf([](const QByteArray& line) { return line.startsWith("=="); });
    run.err = lines.join('\n');
    EXPECT_EQ(run.code, status) << words.toStdString();
    // Empty is nothing printed; else what is printed begins so, and what is said is one line.
    EXPECT_TRUE(printed.isEmpty() ? run.out.isEmpty() : run.out.startsWith(printed)) << words.toStdString() << ": " << run.out.toStdString();
    EXPECT_TRUE(said.isEmpty() ? run.err.isEmpty() : run.err.startsWith(said) && run.err.count('\n') == 1)
        << words.toStdString() << ": " << run.err.toStdString();
  }
}
