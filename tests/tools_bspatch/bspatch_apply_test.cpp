// Patches that should apply: ours must make exactly what Debian's bspatch makes of them.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "test_support.h"

namespace {

using test::Control;
using test::TempDir;

const std::filesystem::path kFixtures = BSPATCH_FIXTURES;
const std::string kTool = BSPATCH_EXE;
const std::string kDebianBspatch = "/usr/bin/bspatch";

// Compares without printing megabytes when they differ.
void expectSameFile(const std::filesystem::path& actual, const std::filesystem::path& expected) {
  const std::string a = test::readFile(actual), e = test::readFile(expected);
  EXPECT_TRUE(a == e) << actual << " (" << a.size() << " bytes) differs from " << expected << " ("
                      << e.size() << " bytes)";
}

class BsdiffFixture : public testing::TestWithParam<const char*> {};

TEST_P(BsdiffFixture, GivesWhatDebianBspatchGives) {
  const std::string name = GetParam();
  TempDir dir;
  const auto result = test::run({kTool, kFixtures / (name + ".old"), dir / "new",
                                 kFixtures / (name + ".patch")});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  expectSameFile(dir / "new", kFixtures / (name + ".expected"));
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"new"});
}

INSTANTIATE_TEST_SUITE_P(Generated, BsdiffFixture,
                         testing::Values("base", "edits", "insertion", "deletion", "reordered",
                                         "smaller", "text", "unrelated", "tiny_old", "tiny_new"),
                         [](const auto& info) { return std::string(info.param); });

TEST(BspatchFreedoom, GivesWhatDebianBspatchGives) {
  const std::filesystem::path old = FREEDOOM_DIR "/freedoom1.wad";
  if (!std::filesystem::exists(kFixtures / "freedoom.patch")) GTEST_SKIP() << "no freedoom";
  TempDir dir;
  const auto result = test::run({kTool, old, dir / "freedoom2.wad", kFixtures / "freedoom.patch"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  expectSameFile(dir / "freedoom2.wad", kFixtures / "freedoom.expected");
}

// Patches bsdiff would not write but the format allows, built here, each applied by both tools.
struct Handmade {
  const char* name;
  std::string old;
  int64_t newSize;
  std::vector<Control> controls;
  std::string diff, extra;
};

void PrintTo(const Handmade& c, std::ostream* out) { *out << c.name; }

class HandmadePatch : public testing::TestWithParam<Handmade> {};

TEST_P(HandmadePatch, GivesWhatDebianBspatchGives) {
  const Handmade& c = GetParam();
  TempDir dir;
  test::writeFile(dir / "old", c.old);
  test::writeFile(dir / "patch", test::patch(c.newSize, test::bzip2(test::controls(c.controls)),
                                             test::bzip2(c.diff), test::bzip2(c.extra)));
  const auto debian = test::run({kDebianBspatch, dir / "old", dir / "expected", dir / "patch"});
  ASSERT_EQ(debian.exitCode, 0) << debian.err;
  const auto ours = test::run({kTool, dir / "old", dir / "new", dir / "patch"});
  ASSERT_EQ(ours.exitCode, 0) << ours.err;
  expectSameFile(dir / "new", dir / "expected");
}

const std::string kOld = "0123456789abcdefghij";

INSTANTIATE_TEST_SUITE_P(
    Cases, HandmadePatch,
    testing::Values(
        Handmade{"EmptyOld", "", 5, {{0, 5, 0}}, "", "hello"},
        Handmade{"EmptyNew", kOld, 0, {}, "", ""},
        Handmade{"BothEmpty", "", 0, {}, "", ""},
        // Old bytes before the start and past the end of the old file add nothing.
        Handmade{"OldPositionOutside", kOld, 30, {{0, 0, -5}, {30, 0, 0}}, std::string(30, '\1'),
                 ""},
        Handmade{"BackwardsAndSeekOnly", kOld, 12, {{4, 2, 3}, {0, 0, -9}, {0, 0, 1}, {6, 0, 0}},
                 std::string(10, '\2'), "xy"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BspatchPaths, WindowsStylePathsWork) {
  TempDir dir;
  std::filesystem::create_directory(dir / "sub");
  std::filesystem::copy_file(kFixtures / "edits.old", dir / "sub" / "old");
  std::filesystem::copy_file(kFixtures / "edits.patch", dir / "sub" / "patch");
  const auto result = test::run({kTool, "sub\\old", "sub\\new", "sub\\patch"}, dir.path());
  ASSERT_EQ(result.exitCode, 0) << result.err;
  expectSameFile(dir / "sub" / "new", kFixtures / "edits.expected");
}

TEST(BspatchPaths, ArgumentsStartingWithADashArePaths) {
  TempDir dir;
  std::filesystem::copy_file(kFixtures / "edits.old", dir / "-old");
  std::filesystem::copy_file(kFixtures / "edits.patch", dir / "-patch");
  const auto result = test::run({kTool, "-old", "-new", "-patch"}, dir.path());
  ASSERT_EQ(result.exitCode, 0) << result.err;
  expectSameFile(dir / "-new", kFixtures / "edits.expected");
}

TEST(BspatchPaths, NewFileGetsTheUsualModeUnderTheUmask) {
  for (const mode_t mask : {022, 077}) {
    TempDir dir;
    const mode_t previous = umask(mask);
    const auto result = test::run({kTool, kFixtures / "edits.old", dir / "new",
                                   kFixtures / "edits.patch"});
    umask(previous);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(std::filesystem::status(dir / "new").permissions(),
              static_cast<std::filesystem::perms>(0644 & ~mask));
  }
}

}  // namespace
