// bspatch.exe run on real files: it makes what Debian's bspatch makes, refuses malformed patches
// cleanly, and never changes or leaves behind a file it should not.

#include <bzlib.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <limits>
#include <thread>

#include "support.h"

namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::run;
using test::TempDir;
using Names = std::vector<std::string>;

const fs::path kFixtures = BSPATCH_FIXTURES;
const std::string kTool = BSPATCH_EXE;
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

// Pieces of a bsdiff 4 patch, for building ones bsdiff would not write. Numbers are 8 bytes,
// sign-magnitude, least significant first.
std::string number(int64_t value) {
  const uint64_t magnitude = value < 0 ? (0 - static_cast<uint64_t>(value)) | uint64_t{1} << 63
                                       : static_cast<uint64_t>(value);
  std::string bytes(8, '\0');
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>(magnitude >> (8 * i));
  return bytes;
}

std::string bzip2(const std::string& bytes) {
  std::string out(bytes.size() + bytes.size() / 100 + 600, '\0');
  unsigned size = static_cast<unsigned>(out.size());
  if (BZ2_bzBuffToBuffCompress(out.data(), &size, const_cast<char*>(bytes.data()),
                               static_cast<unsigned>(bytes.size()), 9, 0, 0) != BZ_OK) {
    throw std::runtime_error("bzip2 failed");
  }
  out.resize(size);
  return out;
}

// From blocks already compressed, or deliberately not.
std::string rawPatch(int64_t newSize, const std::string& control, const std::string& diff,
                     const std::string& extra) {
  return "BSDIFF40" + number(static_cast<int64_t>(control.size())) +
         number(static_cast<int64_t>(diff.size())) + number(newSize) + control + diff + extra;
}

struct Control {
  int64_t add, copy, seek;
};
std::string patch(int64_t newSize, const std::vector<Control>& controls, const std::string& diff,
                  const std::string& extra) {
  std::string control;
  for (const auto& c : controls) control += number(c.add) + number(c.copy) + number(c.seek);
  return rawPatch(newSize, bzip2(control), bzip2(diff), bzip2(extra));
}

// Compares without printing megabytes when they differ.
void expectSameFile(const fs::path& actual, const fs::path& expected) {
  const std::string a = readFile(actual), e = readFile(expected);
  EXPECT_TRUE(a == e) << actual << " (" << a.size() << " bytes) differs from " << expected << " ("
                      << e.size() << " bytes)";
}

// ---- Patches that apply.

class BsdiffPatch : public testing::TestWithParam<const char*> {};

TEST_P(BsdiffPatch, GivesWhatDebianBspatchGives) {
  const std::string name = GetParam();
  if (name == "freedoom" && !fs::exists(kFixtures / "freedoom.patch")) GTEST_SKIP() << "no freedoom";
  TempDir dir;
  const auto result =
      run({kTool, kFixtures / (name + ".old"), dir / "new", kFixtures / (name + ".patch")});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.err, "");
  expectSameFile(dir / "new", kFixtures / (name + ".expected"));
  EXPECT_EQ(dir.entries(), Names{"new"});
}

INSTANTIATE_TEST_SUITE_P(Fixtures, BsdiffPatch,
                         testing::Values("edits", "insertion", "deletion", "reordered", "smaller",
                                         "text", "unrelated", "freedoom"),
                         [](const auto& info) { return std::string(info.param); });

// What bsdiff would not write but the format allows: empty files, old positions outside the old
// file, entries that only seek.
TEST(HandmadePatch, GivesWhatDebianBspatchGives) {
  const std::string old = "0123456789abcdefghij";
  const struct {
    std::string old;
    int64_t newSize;
    std::vector<Control> controls;
    std::string diff, extra;
  } cases[] = {{"", 5, {{0, 5, 0}}, "", "hello"},
               {old, 0, {}, "", ""},
               {"", 0, {}, "", ""},
               {old, 30, {{0, 0, -5}, {30, 0, 0}}, std::string(30, '\1'), ""},
               {old, 12, {{4, 2, 3}, {0, 0, -9}, {0, 0, 1}, {6, 0, 0}}, std::string(10, '\2'), "xy"}};
  for (const auto& c : cases) {
    SCOPED_TRACE("case with new size " + std::to_string(c.newSize));
    TempDir dir;
    test::writeFile(dir / "old", c.old);
    test::writeFile(dir / "patch", patch(c.newSize, c.controls, c.diff, c.extra));
    ASSERT_EQ(run({"/usr/bin/bspatch", dir / "old", dir / "expected", dir / "patch"}).code, 0);
    const auto ours = run({kTool, dir / "old", dir / "new", dir / "patch"});
    ASSERT_EQ(ours.code, 0) << ours.err;
    expectSameFile(dir / "new", dir / "expected");
  }
}

// Windows-style paths, names that look like options, and the usual mode for a new file.
TEST(BspatchPaths, WindowsStyleAndDashedNamesWork) {
  TempDir dir;
  fs::create_directory(dir / "sub");
  fs::copy_file(kFixtures / "edits.old", dir / "sub" / "-old");
  fs::copy_file(kFixtures / "edits.patch", dir / "sub" / "-patch");
  const mode_t previous = umask(027);
  const auto windows = run({kTool, "sub\\-old", "sub\\new", "sub\\-patch"}, dir.path);
  umask(previous);
  ASSERT_EQ(windows.code, 0) << windows.err;
  expectSameFile(dir / "sub" / "new", kFixtures / "edits.expected");
  EXPECT_EQ(fs::status(dir / "sub" / "new").permissions(), static_cast<fs::perms>(0640));
  const auto dashed = run({kTool, "-old", "-new", "-patch"}, dir / "sub");
  ASSERT_EQ(dashed.code, 0) << dashed.err;
  expectSameFile(dir / "sub" / "-new", kFixtures / "edits.expected");
}

// ---- Patches that must be refused: exit 1, a message, and neither NEW nor a temporary file.

void expectRefused(const std::string& patch, const std::string& message) {
  TempDir dir;
  test::writeFile(dir / "patch", patch);
  const auto result = run({kTool, kFixtures / "edits.old", dir / "new", dir / "patch"});
  EXPECT_EQ(result.code, 1) << "signal " << result.signal;
  EXPECT_EQ(result.err.rfind("bspatch.exe: ", 0), 0u) << result.err;
  EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
  EXPECT_EQ(dir.entries(), Names{"patch"});
}

TEST(MalformedPatch, IsRefusedCleanly) {
  const std::string real = readFile(kFixtures / "edits.patch"), d10(10, 'd');  // 300000 bytes new
  const auto with = [&](size_t at, int64_t value) {
    return std::string(real).replace(at, 8, number(value));
  };
  const auto ten = [](std::vector<Control> c, const std::string& diff, const std::string& extra) {
    return patch(10, c, diff, extra);
  };
  std::string damaged = bzip2(std::string(5000, 'd') + "xyz");
  damaged[damaged.size() / 2] ^= 0x55;
  const std::pair<std::string, const char*> cases[] = {
      // The header.
      {"", "too short"},
      {"BSDIFF41" + real.substr(8), "not a bsdiff"},
      {with(8, -1), "negative length"},
      {with(16, -1), "negative length"},
      {with(24, -1), "negative length"},
      {with(8, static_cast<int64_t>(real.size())), "only"},
      {with(16, kMax), "only"},
      {with(24, 300001), "control block ends after 300000 bytes"},
      {with(24, 299999), "past the end of the new file"},
      {with(24, int64_t{1} << 60), "free"},
      // The bzip2 streams.
      {real + "x", "after the end of its bzip2"},
      {real + bzip2("more"), "extra block has"},
      {rawPatch(10, "garbage!", bzip2(d10), ""), "control block is not bzip2 data"},
      {rawPatch(5003, bzip2(number(5003) + number(0) + number(0)), damaged, bzip2("")),
       "diff block is damaged"},
      {rawPatch(10, "", bzip2(""), bzip2(d10)), "control block is cut short"},
      // The control entries, for a 10-byte new file.
      {ten({{-1, 11, 0}}, "", d10), "control entry 1 has a negative length"},
      {ten({{11, -1, 0}}, d10, ""), "negative length"},
      {ten({{11, 0, 0}}, d10 + "d", ""), "past the end"},
      {ten({{5, 6, 0}}, "ddddd", "eeeeee"), "past the end"},
      {ten({{kMax, 0, 0}}, d10, ""), "past the end"},
      {ten({{0, 5, kMax}, {0, 5, 1}}, "", d10), "control entry 2 moves the old position too far"},
      {ten({{0, 5, -kMax}, {0, 5, -2}}, "", d10), "moves the old position too far"},
      {ten({{0, 5, kMax}, {5, 0, 0}}, "ddddd", "eeeee"), "entry 2 moves the old position too far"},
      {ten({{0, 5, 0}}, "", "eeeee"), "control block ends after 5 bytes of the 10-byte new file"},
      {rawPatch(10, bzip2(std::string(20, '\0')), bzip2(""), bzip2(d10)), "inside an entry"},
      {ten({{10, 0, 0}}, "ddddd", ""), "diff block ends before"},
      {ten({{0, 10, 0}}, "", "eeeee"), "extra block ends before"},
      {ten({{10, 0, 0}}, d10 + d10, ""), "diff block holds more data"},
      {ten({{0, 10, 0}}, "", d10 + "e"), "extra block holds more data"},
      {ten({{0, 10, 0}, {0, 0, 0}}, "", d10), "control block holds more data"},
      // A few bytes of bzip2 that decode to two million empty entries.
      {patch(1000, std::vector<Control>(2'000'000), "", ""), "more entries than a 1000-byte"},
  };
  for (const auto& [bytes, message] : cases) {
    SCOPED_TRACE(message);
    expectRefused(bytes, message);
  }
}

// Cut in the header, around the start of each block, inside each block, and at the end down to
// the last byte alone.
TEST(MalformedPatch, IsRefusedWhereverItIsCut) {
  for (const char* name : {"edits", "text"}) {
    const std::string real = readFile(kFixtures / (name + std::string(".patch")));
    const auto length = [&](size_t at) {
      size_t value = 0;
      for (int i = 7; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(real[at + i]);
      return value;
    };
    const size_t diff = 32 + length(8), extra = diff + length(16), size = real.size();
    for (const size_t cut : {size_t{8}, size_t{31}, size_t{32}, size_t{33}, (32 + diff) / 2,
                             diff - 1, diff, diff + 1, (diff + extra) / 2, extra - 1, extra,
                             extra + 1, (extra + size) / 2, size - 2, size - 1}) {
      SCOPED_TRACE(std::string(name) + " cut to " + std::to_string(cut) + " bytes");
      expectRefused(real.substr(0, cut), cut + 1 == size ? "cut short" : "");
    }
  }
}

// ---- The user's files are never changed.

TEST(BspatchRefuses, BadArgumentsAndMissingFiles) {
  TempDir dir;
  const std::string old = kFixtures / "edits.old", patch = kFixtures / "edits.patch",
                    missing = dir / "missing", neu = dir / "new";
  for (const auto& args : std::vector<Names>{{old, neu},
                                             {missing, neu, patch},
                                             {old, neu, missing},
                                             {old, dir / "no-folder" / "new", patch},
                                             {old, neu, dir.path}}) {
    Names argv = args;
    argv.insert(argv.begin(), kTool);
    const auto result = run(argv);
    EXPECT_NE(result.code, 0) << argv.size() << " " << argv[1];
    EXPECT_NE(result.err.find("bspatch.exe"), std::string::npos) << result.err;
  }
  EXPECT_TRUE(dir.entries().empty());
}

TEST(BspatchRefuses, ToReplaceAnExistingNewOrTheOldFile) {
  TempDir dir;
  test::writeFile(dir / "file", "precious");
  fs::create_symlink(dir / "nowhere", dir / "dangling");
  fs::copy_file(kFixtures / "edits.old", dir / "old");
  fs::create_directory(dir / "sub");
  for (const auto& [neu, message] : std::vector<std::pair<std::string, std::string>>{
           {"file", "already exists"}, {"dangling", "already exists"},
           {"old", "is the old file"}, {"./old", "is the old file"},
           {"sub/../old", "is the old file"}}) {
    const auto result = run({kTool, "old", neu, kFixtures / "edits.patch"}, dir.path);
    EXPECT_EQ(result.code, 1) << neu;
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
  }
  EXPECT_EQ(readFile(dir / "file"), "precious");
  EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
  EXPECT_TRUE(readFile(dir / "old") == readFile(kFixtures / "edits.old"));
  EXPECT_EQ(dir.entries(), (Names{"dangling", "file", "old", "sub"}));
}

// Starts patching `old` into dir/freedoom2.wad and stops the tool once its temporary file exists
// and before the new file does, trying again when it was too quick to catch.
test::Child startPaused(const TempDir& dir, const fs::path& old) {
  const auto hasTemporaryFile = [&] {
    for (const auto& name : dir.entries()) {
      if (name.starts_with(".freedoom2.wad.")) return true;
    }
    return false;
  };
  for (int attempt = 0; attempt < 5; ++attempt) {
    const auto child =
        test::start({kTool, old, dir / "freedoom2.wad", kFixtures / "freedoom.patch"});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!hasTemporaryFile() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    kill(child.pid, SIGSTOP);
    if (hasTemporaryFile() && !fs::exists(dir / "freedoom2.wad")) return child;
    kill(child.pid, SIGCONT);
    test::finish(child);
    fs::remove_all(dir / "freedoom2.wad");
  }
  throw std::runtime_error("could not catch bspatch.exe mid-run");
}

test::Result resume(const test::Child& child) {
  kill(child.pid, SIGCONT);
  return test::finish(child);
}

class BspatchInterrupted : public testing::Test {
  void SetUp() override {
    if (!fs::exists(kFixtures / "freedoom.patch")) GTEST_SKIP() << "no freedoom";
  }
};

TEST_F(BspatchInterrupted, BySignalLeavesNoTemporaryFile) {
  for (const int signal : {SIGTERM, SIGINT}) {
    TempDir dir;
    const auto child = startPaused(dir, kFixtures / "freedoom.old");
    kill(child.pid, signal);
    EXPECT_EQ(resume(child).signal, signal);
    EXPECT_TRUE(dir.entries().empty());
  }
}

TEST_F(BspatchInterrupted, NewFileAppearingMeanwhileIsNotReplaced) {
  TempDir dir;
  const auto child = startPaused(dir, kFixtures / "freedoom.old");
  test::writeFile(dir / "freedoom2.wad", "someone else's");
  EXPECT_EQ(resume(child).code, 1);
  EXPECT_EQ(readFile(dir / "freedoom2.wad"), "someone else's");
  EXPECT_EQ(dir.entries(), Names{"freedoom2.wad"});
}

// The old file is mapped; another program cutting it short must not leave a half-made file.
TEST_F(BspatchInterrupted, OldFileShrinkingMeanwhileFailsCleanly) {
  TempDir dir;
  fs::copy_file(kFixtures / "freedoom.old", dir / "old.wad");
  const auto child = startPaused(dir, dir / "old.wad");
  fs::resize_file(dir / "old.wad", 0);
  EXPECT_EQ(resume(child).code, 1);
  EXPECT_EQ(dir.entries(), Names{"old.wad"});
}

}  // namespace
