// bspatch.exe given VCDIFF patches that Debian's xdelta3 makes, or damaged, or that xdelta3 would not
// make: it makes exactly what `xdelta3 -d` makes, or refuses, and then leaves nothing behind.
#include <gtest/gtest.h>

#include <QFile>

#include "support/bsdiff_patch.h"
#include "support/scratch_folder.h"
#include "support/tool_run.h"

namespace {

const QString kFreedoom1 = "/usr/share/games/doom/freedoom1.wad", kFreedoom2 = "/usr/share/games/doom/freedoom2.wad";

// A fixture by its name, or any file by its path.
QByteArray fixture(const QString& name) {
  QFile file(name.startsWith('/') ? name : QString(FREEDOOM_FIXTURES) + '/' + name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An RFC 3284 integer: base 128, most significant first, the top bit set on all but the last byte.
QByteArray integer(quint64 value) {
  QByteArray bytes(1, char(value & 0x7F));
  while (value >>= 7) bytes.prepend(char(0x80 | (value & 0x7F)));
  return bytes;
}

// A window with plain sections, copying from `segment` bytes of the old file at `position` if given.
QByteArray window(qint64 targetSize, const QByteArray& data, const QByteArray& instructions, const QByteArray& addresses,
                  qint64 segment = 0, qint64 position = 0) {
  const QByteArray rest = integer(targetSize) + '\0' + integer(data.size()) + integer(instructions.size()) +
                          integer(addresses.size()) + data + instructions + addresses;
  return char(segment ? 1 : 0) + (segment ? integer(segment) + integer(position) : QByteArray()) + integer(rest.size()) + rest;
}

const QByteArray kHeader("\xD6\xC3\xC4\x00\x00", 5);

// Our odd cases' old file, and a new one made of its pieces, new text and repeats of both.
const QByteArray kOld = randomBytes(300000, 7);
const QByteArray kNew = kOld.left(1000) + QByteArray("new text ").repeated(3000) + kOld.mid(9000, 150000) + kOld.left(4000).repeated(5) +
                        randomBytes(20000, 8) + kOld.mid(290000);

QByteArray xdelta3(const QStringList& options, const QByteArray& old = kOld, const QByteArray& target = kNew) {
  ScratchFolder folder;
  folder.write("old", old);
  folder.write("new", target);
  const ToolResult made = runTool("xdelta3", QStringList{"-e"} + options + QStringList{"-s", "old", "new", "patch"});
  EXPECT_EQ(made.code, 0) << made.err.toStdString();
  return folder.read("patch");
}

// Each case: its name, the old file, the patch and, for a refusal, part of the message. An accepted
// patch must make what xdelta3 -d makes from it.
TEST(Vcdiff, MakesWhatXdelta3MakesOrRefusesLeavingNothing) {
  if (!QFile::exists(QString(FREEDOOM_FIXTURES) + "/freedoom-windows.vcdiff")) GTEST_SKIP() << "no freedoom VCDIFF fixtures";
  const QByteArray f1 = fixture(kFreedoom1), f2 = fixture(kFreedoom2);
  const QByteArray lzma = fixture("freedoom-lzma.vcdiff"), none = fixture("freedoom-none.vcdiff");
  const QByteArray small = xdelta3({"-S", "lzma"});
  // 1 MiB windows that alternate: mostly copied (a small LZMA data section), and new (a large one).
  const QByteArray mixedOld = randomBytes(2 << 20, 9), copied = mixedOld.left((1 << 20) - (16 << 10));
  const QByteArray mixed = xdelta3({"-S", "lzma", "-W", "1048576"}, mixedOld,
                                   (copied + randomBytes(16 << 10, 10) + randomBytes(1 << 20, 11)).repeated(2));
  const auto changed = [](QByteArray patch, double at) {  // one bit of the byte at `at` of its length
    patch[int(patch.size() * at)] = char(patch[int(patch.size() * at)] ^ 0x20);
    return patch;
  };
  const std::tuple<const char*, QByteArray, QByteArray, const char*> cases[] = {
      {"LZMA", f1, lzma, nullptr}, {"uncompressed", f1, none, nullptr},
      {"many small windows", f1, fixture("freedoom-windows.vcdiff"), nullptr},
      {"no application header", kOld, xdelta3({"-A", "-S", "lzma"}), nullptr},
      {"small and large LZMA windows in turn", mixedOld, mixed, nullptr},
      {"from an empty file", "", kHeader + window(3, "abc", "\x04", ""), nullptr},  // ADD 3
      // ADD 0, RUN 0 (which still takes its byte) and COPY 0 (which still takes its address) make an
      // empty window; then ADD 3.
      {"instructions of size 0", kOld, kHeader + window(0, "x", QByteArray("\x01\x00\x00\x00\x13\x00", 6), integer(5), 10) +
       window(3, "abc", "\x04", ""), nullptr},
      {"RUN 0 without its byte", kOld, kHeader + window(0, "", QByteArray("\x00\x00", 2), ""), "repeats a byte its data section lacks"},
      {"FGK", kOld, xdelta3({"-S", "fgk"}), "FGK, which this tool does not read"},
      {"wrong source", f2, lzma, "does not fit this old file"}, {"cut", f1, lzma.left(lzma.size() - 1000), "is cut short"},
      {"changed byte", f1, changed(none, 0.5), "does not fit this old file (or is damaged): window "},
      // Each window's sections are decompressed on threads of their own, while the window before is made.
      {"changed LZMA, window 1", f1, changed(lzma, 0.3), "window 1's instructions section is damaged"},
      {"changed LZMA, window 2", f1, changed(lzma, 0.9), "window 2's addresses section is damaged"},
      {"trailing byte", kOld, small + '\x01', "bytes after window 1 that make no window"},
      {"another version", kOld, "\xD6\xC3\xC4\x01" + small.mid(4), "VCDIFF of a version this tool does not know (1)"},
      {"own code table", kOld, "\xD6\xC3\xC4" + QByteArray(1, '\0') + '\x02', "its own code table"},
      {"window too large", kOld, kHeader + window(65 << 20, "", "", ""), "this tool takes windows of up to 64 MiB"},
      {"segment past the old file", kOld, kHeader + window(4, "", "\x14", integer(0), 10, 299991), "of the old file, which has only 300000"},
      {"address past the target so far", kOld, kHeader + window(4, "", "\x14", integer(10), 10), "copies from 10, outside"},
      {"address before the segment", kOld, kHeader + window(4, "", "\x24", integer(11), 10), "copies from -1"},  // mode 1: here - 11
      {"instructions short of the window", kOld, kHeader + window(5, "", "\x14", integer(0), 10), "makes 4 of its 5 bytes"},
  };
  for (const auto& [name, old, patch, refusal] : cases) {
    SCOPED_TRACE(name);
    ScratchFolder folder;
    folder.write("old", old);
    folder.write("patch", patch);
    const ToolResult ours = runTool(builtTool("bspatch.exe"), {"old", "new", "patch"});
    EXPECT_EQ(ours.code, refusal ? 1 : 0) << ours.err.toStdString();
    if (refusal) {
      EXPECT_TRUE(ours.err.startsWith("bspatch.exe: patch: ") && ours.err.contains(refusal)) << ours.err.toStdString();
      EXPECT_EQ(folder.entries(), (QStringList{"old", "patch"}));
    } else {
      ASSERT_EQ(runTool("xdelta3", {"-d", "-s", "old", "patch", "expected"}).code, 0);
      EXPECT_TRUE(folder.read("new") == folder.read("expected"));
    }
  }
}

// A patch of 3 million empty windows, 21 MB, takes about a second, as in xdelta3, whatever the
// old file's size (here 64 MiB, sparse).
TEST(Vcdiff, ManyEmptyWindowsTakeNoLongerThanTheirBytes) {
  ScratchFolder folder;
  folder.write("old", "");
  ASSERT_TRUE(QFile("old").resize(64 << 20));
  folder.write("patch", kHeader + window(0, "", "", "").repeated(3'000'000));
  const ToolResult ours = ToolRun(builtTool("bspatch.exe"), {"old", "new", "patch"}).wait(10000);
  ASSERT_EQ(ours.code, 0) << ours.err.toStdString();
  EXPECT_TRUE(folder.read("new").isEmpty());
}

// A write that fails, here past a limit on the file's size, is named as the new file's fault, at
// whichever window it comes, whichever thread writes it; memory that runs out, for the new file's
// window or LZMA's dictionary, is named so. Nothing is left.
TEST(Vcdiff, AFailedWriteOrWantOfMemoryIsNamedAndLeavesNothing) {
  const QByteArray f1 = fixture(kFreedoom1), lzma = fixture("freedoom-lzma.vcdiff"), none = fixture("freedoom-none.vcdiff");
  const QByteArray windows = fixture("freedoom-windows.vcdiff");
  // An .xz stream with no check whose LZMA2 dictionary takes 128 MiB, then "abc" stored.
  const QByteArray xz = integer(3) + QByteArray::fromHex("fd377a585a000000ff12d941020021011e0000009b075166010002616263");
  const QByteArray xzWindow = '\0' + integer(xz.size() + 6) + integer(3) + '\x01' + integer(xz.size()) + '\x01' + '\0' + xz + '\x04';
  const QString tooLarge = "bspatch.exe: new: cannot write the new file: File too large\n";
  const QString noMemory = "bspatch.exe: not enough memory\n", memory = "ulimit -v 60000";
  // Files of up to 100 KiB, in the first window; of up to 20000 KiB, in the third.
  const QString early = "trap '' XFSZ && ulimit -f 100", late = "trap '' XFSZ && ulimit -f 20000";
  // The limit, the old file, the patch and what is said.
  const std::tuple<QString, QByteArray, QByteArray, QString> cases[] = {
      {early, f1, lzma, tooLarge}, {late, f1, lzma, tooLarge},
      {early, f1, none, tooLarge}, {late, f1, none, tooLarge},
      {early, f1, windows, tooLarge}, {late, f1, windows, tooLarge},
      {memory, kOld, QByteArray("\xD6\xC3\xC4\x00\x01\x02", 6) + xzWindow, noMemory},
      {memory, kOld, kHeader + window(60 << 20, "z", '\0' + integer(60 << 20), ""), noMemory},  // RUN of 60 MiB
  };
  for (const auto& [limit, old, patch, said] : cases) {
    SCOPED_TRACE((limit + ", " + said).toStdString());
#ifdef __SANITIZE_ADDRESS__  // it reserves more address space than any ulimit allows
    if (limit == memory) continue;
#endif
    if (old.isEmpty() || patch.isEmpty()) continue;  // no freedoom VCDIFF fixtures
    ScratchFolder folder;
    folder.write("old", old);
    folder.write("patch", patch);
    const ToolResult ours = runTool("sh", {"-c", limit + " && exec \"$0\" old new patch", builtTool("bspatch.exe")});
    EXPECT_EQ(ours.code, 1);
    EXPECT_EQ(ours.err, said);
    EXPECT_EQ(folder.entries(), (QStringList{"old", "patch"}));
    if (limit == memory) {
      EXPECT_EQ(runTool(builtTool("bspatch.exe"), {"old", "new", "patch"}).code, 0) << "with memory enough";
    }
  }
}

}  // namespace
