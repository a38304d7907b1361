// bspatch.exe run on real files: it makes what Debian's bspatch makes, refuses malformed patches
// cleanly, and never changes or leaves behind a file it should not.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <limits>

#include "support/bsdiff_patch.h"
#include "support/patch_bytes.h"
#include "support/scratch_folder.h"
#include "support/tool_run.h"

namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

// 300000 bytes, and a few edits of it: what a patch between releases of a file looks like.
const QByteArray kBase = randomBytes(300000, 1);
const QByteArray kEdited = kBase.left(1000) + randomBytes(7, 2) + kBase.mid(1007, 122449) + randomBytes(7, 3) + kBase.mid(123463);

// Our tool is handed Windows-style paths and names that look like options, under umask 027: a new
// file gets the usual mode.
TEST(Bspatch, GivesWhatDebianBspatchGives) {
  QByteArray text, changedText;
  for (int i = 1; i <= 60000; ++i) text += QByteArray::number(i) + '\n';
  for (int i = 1; i <= 90000; i += 3) changedText += QByteArray::number(i).replace('7', "seven") + '\n';
  const QByteArray old = "0123456789abcdefghij";
  const std::pair<QByteArray, QByteArray> cases[] = {  // the old file and the patch
      {kBase, bsdiffPatch(kBase, kEdited)}, {kBase, bsdiffPatch(kBase, randomBytes(70000, 6))},
      {kBase, bsdiffPatch(kBase, kBase.mid(200000) + kBase.left(200000))},
      {text, bsdiffPatch(text, changedText)},
      // What bsdiff would not write but the format allows: empty files, old positions outside
      // the old file, entries that only seek.
      {"", patch(5, {0, 5, 0}, "", "hello")}, {old, patch(0, {}, "", "")},
      {old, patch(30, {0, 0, -5, 30, 0, 0}, QByteArray(30, '\1'), "")},
      {old, patch(12, {4, 2, 3, 0, 0, -9, 0, 0, 1, 6, 0, 0}, QByteArray(10, '\2'), "xy")}};
  const auto restoreUmask = qScopeGuard([previous = umask(027)] { umask(previous); });
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    ScratchFolder folder;
    folder.write("-sub/old", cases[i].first);
    folder.write("-sub/patch", cases[i].second);
    ASSERT_EQ(runTool("/usr/bin/bspatch", {"-sub/old", "-sub/expected", "-sub/patch"}).code, 0);
    const ToolResult ours = runTool(builtTool("bspatch.exe"), {"-sub\\old", "-sub\\new", "-sub\\patch"});
    ASSERT_EQ(ours.code, 0) << ours.err.toStdString();
    EXPECT_TRUE(folder.read("-sub/new") == folder.read("-sub/expected"));
    EXPECT_EQ(QDir("-sub").entryList(QDir::Files | QDir::Hidden), (QStringList{"expected", "new", "old", "patch"}));
    EXPECT_EQ(QFile::permissions("-sub/new"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
  }
}

// Malformed patches, bad arguments, missing or irregular inputs, an existing NEW: refused with
// exit 1 and a message, and the folder as it was, with no NEW and no temporary file. A FIFO in
// particular is refused at once rather than waited on.
TEST(Bspatch, RefusesWithoutTouchingTheFolder) {
  const QByteArray real = bsdiffPatch(kBase, kEdited), d10(10, 'd');  // a 300000-byte new file
  const auto with = [&](int at, int64_t value) { return QByteArray(real).replace(at, 8, number(value)); };
  const auto ten = [](std::vector<int64_t> c, const QByteArray& diff, const QByteArray& extra) { return patch(10, c, diff, extra); };
  QByteArray damaged = bzip2(QByteArray(5000, 'd') + "xyz");
  damaged[damaged.size() / 2] ^= 0x55;
  const struct {
    QByteArray patch;
    const char* message;
    QStringList arguments = {"old", "new", "patch"};
  } cases[] = {
      // The header.
      {"", "bspatch.exe: patch: empty\n"}, {"BSDIFF4", "too short"}, {"BSDIFF41" + real.mid(8), "not a bsdiff"},
      {with(8, -1), "negative length"}, {with(16, -1), "negative length"}, {with(24, -1), "negative length"},
      {with(24, int64_t{1} << 60), "free"},
      // The bzip2 streams.
      {real + "x", "extra block has 1 bytes after the end of its bzip2"}, {real.left(real.size() - 1), "extra block is cut short"},
      {rawPatch(10, "garbage!", bzip2(d10), ""), "control block is not bzip2 data"},
      {rawPatch(5003, bzip2(number(5003) + number(0) + number(0)), damaged, bzip2("")), "diff block is damaged"},
      // The control entries, for a 10-byte new file.
      {ten({-1, 11, 0}, "", d10), "control entry 1 has a negative length"}, {ten({11, -1, 0}, d10, ""), "negative length"},
      {ten({5, 6, 0}, "ddddd", "eeeeee"), "past the end"}, {ten({0, 5, 0}, "", "eeeee"), "control block ends after 5 bytes of the 10-byte new file"},
      {ten({0, 5, kMax, 0, 5, 1}, "", d10), "control entry 2 moves the old position too far"},
      {ten({0, 5, kMax, 5, 0, 0}, "ddddd", "eeeee"), "entry 2 moves the old position too far"},
      {rawPatch(10, bzip2(QByteArray(20, '\0')), bzip2(""), bzip2(d10)), "inside an entry"},
      {ten({10, 0, 0}, "ddddd", ""), "diff block ends before"}, {ten({0, 10, 0}, "", "eeeee"), "extra block ends before"},
      {ten({10, 0, 0}, d10 + d10, ""), "diff block holds more data"}, {ten({0, 10, 0}, "", d10 + "e"), "extra block holds more data"},
      {ten({0, 10, 0, 0, 0, 0}, "", d10), "control block holds more data"},
      // A few bytes of bzip2 that decode to two million empty entries.
      {patch(1000, std::vector<int64_t>(6'000'000), "", ""), "more entries than a 1000-byte"},
      // The files named.
      {real, "missing: No such file", {"missing", "new", "patch"}}, {real, "missing: No such file", {"old", "new", "missing"}},
      {real, "fifo: not a regular file", {"fifo", "new", "patch"}}, {real, "fifo: not a regular file", {"old", "new", "fifo"}},
      {real, "No such file", {"old", "no-folder/new", "patch"}},
      {real, "already exists", {"old", "dangling", "patch"}},  // a link, even a dangling one, counts
      {real, "is the old file", {"old", "sub/../old", "patch"}}};
  for (const auto& [bytes, message, arguments] : cases) {
    SCOPED_TRACE(std::string(message) + ", " + std::to_string(bytes.size()) + " bytes");
    ScratchFolder folder;
    folder.write("old", kBase);
    folder.write("patch", bytes);
    QFile::link("nowhere", "dangling");
    QDir().mkdir("sub");
    ASSERT_EQ(mkfifo("fifo", 0644), 0);
    const ToolResult result = ToolRun(builtTool("bspatch.exe"), arguments).wait(10000);
    EXPECT_EQ(result.code, 1) << "signal " << result.signal;
    EXPECT_TRUE(result.err.startsWith("bspatch.exe: ") && result.err.contains(message)) << result.err.toStdString();
    EXPECT_EQ(folder.entries(), (QStringList{"dangling", "fifo", "old", "patch", "sub"}));
    EXPECT_TRUE(folder.read("old") == kBase);
  }
  const ToolResult usage = runTool(builtTool("bspatch.exe"), {"old", "new"});
  EXPECT_TRUE(usage.code == 2 && usage.err.startsWith("usage: bspatch.exe OLD NEW PATCH")) << usage.err.toStdString();
}

}  // namespace
