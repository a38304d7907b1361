// bspatch.exe run on real files: it makes what Debian's bspatch makes, refuses malformed patches
// cleanly, and never changes or leaves behind a file it should not.
#include <bzlib.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <limits>

#include "support/bsdiff_patch.h"
#include "support/scratch_folder.h"
#include "support/tool_run.h"

namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

// Pieces of a bsdiff 4 patch, for building ones bsdiff would not write. Numbers are 8 bytes,
// sign-magnitude, least significant first.
QByteArray number(int64_t value) {
  QByteArray bytes(8, '\0');
  qToLittleEndian(value < 0 ? (0 - uint64_t(value)) | uint64_t{1} << 63 : uint64_t(value), bytes.data());
  return bytes;
}

QByteArray bzip2(const QByteArray& bytes) {
  QByteArray out(bytes.size() + bytes.size() / 100 + 600, '\0');
  unsigned size = unsigned(out.size());
  EXPECT_EQ(BZ2_bzBuffToBuffCompress(out.data(), &size, const_cast<char*>(bytes.data()), unsigned(bytes.size()), 9, 0, 0), BZ_OK);
  return out.left(int(size));
}

// From blocks already compressed, or deliberately not.
QByteArray rawPatch(int64_t newSize, const QByteArray& control, const QByteArray& diff, const QByteArray& extra) {
  return "BSDIFF40" + number(control.size()) + number(diff.size()) + number(newSize) + control + diff + extra;
}

// `control` holds three numbers an entry: bytes to add to the old file's, bytes to copy, seek.
QByteArray patch(int64_t newSize, const std::vector<int64_t>& control, const QByteArray& diff, const QByteArray& extra) {
  QByteArray entries;
  for (int64_t value : control) entries += number(value);
  return rawPatch(newSize, bzip2(entries), bzip2(diff), bzip2(extra));
}

// 300000 bytes, and a few edits of it: what a patch between releases of a file looks like.
const QByteArray kBase = randomBytes(300000, 1);
const QByteArray kEdited = kBase.left(1000) + randomBytes(7, 2) + kBase.mid(1007, 122449) + randomBytes(7, 3) + kBase.mid(123463);

TEST(Bspatch, GivesWhatDebianBspatchGives) {
  QByteArray text, changedText;
  for (int i = 1; i <= 60000; ++i) text += QByteArray::number(i) + '\n';
  for (int i = 1; i <= 90000; i += 3) changedText += QByteArray::number(i).replace('7', "seven") + '\n';
  const QByteArray old = "0123456789abcdefghij";
  const std::pair<QByteArray, QByteArray> cases[] = {  // the old file and the patch
      {kBase, bsdiffPatch(kBase, kEdited)},
      {kBase, bsdiffPatch(kBase, kBase.left(100000) + randomBytes(20000, 4) + kBase.mid(100000))},
      {kBase, bsdiffPatch(kBase, kBase.left(100000) + kBase.mid(150000))},
      {kBase, bsdiffPatch(kBase, kBase.mid(200000) + kBase.left(200000))},
      {kBase, bsdiffPatch(kBase, randomBytes(70000, 6))},
      {text, bsdiffPatch(text, changedText)},
      // What bsdiff would not write but the format allows: empty files, old positions outside
      // the old file, entries that only seek.
      {"", patch(5, {0, 5, 0}, "", "hello")},
      {old, patch(0, {}, "", "")},
      {old, patch(30, {0, 0, -5, 30, 0, 0}, QByteArray(30, '\1'), "")},
      {old, patch(12, {4, 2, 3, 0, 0, -9, 0, 0, 1, 6, 0, 0}, QByteArray(10, '\2'), "xy")}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    ScratchFolder folder;
    folder.write("old", cases[i].first);
    folder.write("patch", cases[i].second);
    ASSERT_EQ(runTool("/usr/bin/bspatch", {"old", "expected", "patch"}).code, 0);
    const ToolResult ours = runTool(builtTool("bspatch.exe"), {"old", "new", "patch"});
    ASSERT_EQ(ours.code, 0) << ours.err.toStdString();
    EXPECT_TRUE(folder.read("new") == folder.read("expected"));
    EXPECT_EQ(folder.entries(), (QStringList{"expected", "new", "old", "patch"}));
  }
}

// Windows-style paths, names that look like options, and the usual mode for a new file.
TEST(Bspatch, TakesWindowsStyleAndDashedNames) {
  ScratchFolder folder;
  QDir().mkdir("-sub");
  folder.write("-sub/old", kBase);
  folder.write("-sub/patch", bsdiffPatch(kBase, kEdited));
  const mode_t previous = umask(027);
  const ToolResult result = runTool(builtTool("bspatch.exe"), {"-sub\\old", "-sub\\new", "-sub\\patch"});
  umask(previous);
  ASSERT_EQ(result.code, 0) << result.err.toStdString();
  EXPECT_TRUE(folder.read("-sub/new") == kEdited);
  EXPECT_EQ(QFile::permissions("-sub/new"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
}

// Refused: exit 1, a message, and the folder as it was, with no NEW and no temporary file.
TEST(Bspatch, RefusesMalformedPatches) {
  const QByteArray real = bsdiffPatch(kBase, kEdited), d10(10, 'd');  // a 300000-byte new file
  const auto with = [&](int at, int64_t value) { return QByteArray(real).replace(at, 8, number(value)); };
  const auto ten = [](std::vector<int64_t> c, const QByteArray& diff, const QByteArray& extra) { return patch(10, c, diff, extra); };
  QByteArray damaged = bzip2(QByteArray(5000, 'd') + "xyz");
  damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x55);
  std::vector<std::pair<QByteArray, const char*>> cases = {
      // The header.
      {"", "too short"},
      {"BSDIFF41" + real.mid(8), "not a bsdiff"},
      {with(8, -1), "negative length"}, {with(16, -1), "negative length"}, {with(24, -1), "negative length"},
      {with(8, real.size()), "only"},
      {with(16, kMax), "only"},
      {with(24, 300001), "control block ends after 300000 bytes"},
      {with(24, 299999), "past the end of the new file"},
      {with(24, int64_t{1} << 60), "free"},
      // The bzip2 streams.
      {real + "x", "after the end of its bzip2"},
      {real + bzip2("more"), "extra block has"},
      {rawPatch(10, "garbage!", bzip2(d10), ""), "control block is not bzip2 data"},
      {rawPatch(5003, bzip2(number(5003) + number(0) + number(0)), damaged, bzip2("")), "diff block is damaged"},
      {rawPatch(10, "", bzip2(""), bzip2(d10)), "control block is cut short"},
      // The control entries, for a 10-byte new file.
      {ten({-1, 11, 0}, "", d10), "control entry 1 has a negative length"}, {ten({11, -1, 0}, d10, ""), "negative length"},
      {ten({11, 0, 0}, d10 + "d", ""), "past the end"},
      {ten({5, 6, 0}, "ddddd", "eeeeee"), "past the end"},
      {ten({kMax, 0, 0}, d10, ""), "past the end"},
      {ten({0, 5, kMax, 0, 5, 1}, "", d10), "control entry 2 moves the old position too far"},
      {ten({0, 5, -kMax, 0, 5, -2}, "", d10), "moves the old position too far"},
      {ten({0, 5, kMax, 5, 0, 0}, "ddddd", "eeeee"), "entry 2 moves the old position too far"},
      {ten({0, 5, 0}, "", "eeeee"), "control block ends after 5 bytes of the 10-byte new file"},
      {rawPatch(10, bzip2(QByteArray(20, '\0')), bzip2(""), bzip2(d10)), "inside an entry"},
      {ten({10, 0, 0}, "ddddd", ""), "diff block ends before"}, {ten({0, 10, 0}, "", "eeeee"), "extra block ends before"},
      {ten({10, 0, 0}, d10 + d10, ""), "diff block holds more data"}, {ten({0, 10, 0}, "", d10 + "e"), "extra block holds more data"},
      {ten({0, 10, 0, 0, 0, 0}, "", d10), "control block holds more data"},
      // A few bytes of bzip2 that decode to two million empty entries.
      {patch(1000, std::vector<int64_t>(6'000'000), "", ""), "more entries than a 1000-byte"},
  };
  // Cut in the header, around the start of each block, inside each block, and at the end.
  const auto length = [&](int at) { return int(qFromLittleEndian<qint64>(real.constData() + at)); };
  const int diff = 32 + length(8), extra = diff + length(16), size = real.size();
  for (int cut : {8, 31, 32, 33, (32 + diff) / 2, diff - 1, diff, diff + 1, (diff + extra) / 2, extra - 1, extra,
                  extra + 1, (extra + size) / 2, size - 2, size - 1}) {
    cases.push_back({real.left(cut), cut + 1 == size ? "cut short" : ""});
  }
  for (const auto& [bytes, message] : cases) {
    SCOPED_TRACE(std::string(message) + ", " + std::to_string(bytes.size()) + " bytes");
    ScratchFolder folder;
    folder.write("old", kBase);
    folder.write("patch", bytes);
    const ToolResult result = runTool(builtTool("bspatch.exe"), {"old", "new", "patch"});
    EXPECT_EQ(result.code, 1) << "signal " << result.signal;
    EXPECT_TRUE(result.err.startsWith("bspatch.exe: ") && result.err.contains(message)) << result.err.toStdString();
    EXPECT_EQ(folder.entries(), (QStringList{"old", "patch"}));
  }
}

// Bad arguments, missing or irregular inputs, an existing NEW: refused, and nothing changes. A
// FIFO in particular is refused at once rather than waited on.
TEST(Bspatch, RefusesWithoutTouchingTheFolder) {
  ScratchFolder folder;
  folder.write("old", kBase);
  folder.write("patch", bsdiffPatch(kBase, kEdited));
  folder.write("file", "precious");
  QFile::link("nowhere", "dangling");
  QDir().mkdir("sub");
  ASSERT_EQ(mkfifo("fifo", 0644), 0);
  const QStringList before = folder.entries();
  const std::pair<QStringList, const char*> cases[] = {
      {{"old", "new"}, "usage"},
      {{"missing", "new", "patch"}, "missing: No such file"},
      {{"old", "new", "missing"}, "missing: No such file"},
      {{"old", "no-folder/new", "patch"}, "No such file"},
      {{"fifo", "new", "patch"}, "fifo: not a regular file"},
      {{"old", "new", "fifo"}, "fifo: not a regular file"},
      {{"old", "new", "/dev/zero"}, "not a regular file"},
      {{"old", "file", "patch"}, "already exists"},
      {{"old", "dangling", "patch"}, "already exists"},
      {{"old", "old", "patch"}, "is the old file"},
      {{"old", "sub/../old", "patch"}, "is the old file"}};
  for (const auto& [arguments, message] : cases) {
    const ToolResult result = ToolRun(builtTool("bspatch.exe"), arguments).wait(1000);
    EXPECT_NE(result.code, 0) << arguments.join(' ').toStdString();
    EXPECT_TRUE(result.err.contains(message)) << result.err.toStdString();
  }
  EXPECT_EQ(folder.entries(), before);
  EXPECT_EQ(folder.read("file"), "precious");
  EXPECT_TRUE(folder.read("old") == kBase);
}

}  // namespace
