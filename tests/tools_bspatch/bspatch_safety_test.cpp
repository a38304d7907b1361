// The user's files are never changed, and nothing half-made is left behind.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "test_support.h"

namespace {

using test::TempDir;

const std::filesystem::path kFixtures = BSPATCH_FIXTURES;
const std::string kTool = BSPATCH_EXE;

TEST(BspatchSafety, WrongArgumentCountShowsUsage) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"a"}, {"a", "b"}, {"a", "b", "c", "d"}}) {
    std::vector<std::string> argv{kTool};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto result = test::run(argv);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.err.find("usage: bspatch.exe OLD NEW PATCH"), std::string::npos);
  }
}

TEST(BspatchSafety, ExistingNewIsLeftUntouched) {
  TempDir dir;
  test::writeFile(dir / "new", "precious");
  const auto result = test::run({kTool, kFixtures / "edits.old", dir / "new",
                                 kFixtures / "edits.patch"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("already exists"), std::string::npos) << result.err;
  EXPECT_EQ(test::readFile(dir / "new"), "precious");
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"new"});
}

TEST(BspatchSafety, DanglingSymlinkAsNewIsNotFollowed) {
  TempDir dir;
  std::filesystem::create_symlink(dir / "target", dir / "new");
  const auto result = test::run({kTool, kFixtures / "edits.old", dir / "new",
                                 kFixtures / "edits.patch"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"new"});
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "new"));
}

TEST(BspatchSafety, NewNamingTheOldFileIsRefused) {
  TempDir dir;
  std::filesystem::copy_file(kFixtures / "edits.old", dir / "old");
  const std::string before = test::readFile(dir / "old");
  for (const char* newName : {"old", "./old", "sub/../old"}) {
    std::filesystem::create_directories(dir / "sub");
    const auto result = test::run({kTool, "old", newName, (kFixtures / "edits.patch").string()},
                                  dir.path());
    EXPECT_EQ(result.exitCode, 1) << newName;
    EXPECT_NE(result.err.find("is the old file"), std::string::npos) << result.err;
  }
  EXPECT_TRUE(test::readFile(dir / "old") == before);
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"old", "sub"}));
}

TEST(BspatchSafety, MissingInputsAndFoldersFailCleanly) {
  TempDir dir;
  const std::string old = kFixtures / "edits.old", patch = kFixtures / "edits.patch";
  for (const auto& argv : std::vector<std::vector<std::string>>{
           {kTool, dir / "missing", dir / "new", patch},
           {kTool, old, dir / "new", dir / "missing"},
           {kTool, old, dir / "no-folder" / "new", patch},
           {kTool, old, dir / "new", dir.path()}}) {
    const auto result = test::run(argv);
    EXPECT_EQ(result.exitCode, 1) << argv[1] << " " << argv[2] << " " << argv[3];
    EXPECT_EQ(result.err.rfind("bspatch.exe: ", 0), 0u) << result.err;
  }
  EXPECT_TRUE(dir.entries().empty());
}

bool hasTemporaryFile(const TempDir& dir) {
  for (const auto& name : dir.entries()) {
    if (name.starts_with(".freedoom2.wad.")) return true;
  }
  return false;
}

// Starts patching `old` into `dir`/freedoom2.wad and stops the tool mid-run, once its temporary
// file exists and before the new file does. Returns its pid, or 0 if it was too quick.
pid_t startAndPauseMidRun(const TempDir& dir, const std::string& old) {
  const pid_t pid =
      test::start({kTool, old, dir / "freedoom2.wad", kFixtures / "freedoom.patch"});
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!hasTemporaryFile(dir) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  kill(pid, SIGSTOP);
  if (hasTemporaryFile(dir) && !std::filesystem::exists(dir / "freedoom2.wad")) return pid;
  kill(pid, SIGCONT);
  test::wait(pid);
  std::filesystem::remove_all(dir / "freedoom2.wad");
  return 0;
}

class BspatchStopped : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kFixtures / "freedoom.patch")) GTEST_SKIP() << "no freedoom";
  }
  // Starts the tool and pauses it mid-run, trying again if it was too quick to be caught.
  void startPaused(const std::string& old = FREEDOOM_DIR "/freedoom1.wad") {
    for (int attempt = 0; attempt < 5 && pid_ == 0; ++attempt) {
      pid_ = startAndPauseMidRun(dir_, old);
    }
    ASSERT_NE(pid_, 0) << "could not catch bspatch.exe mid-run";
  }
  test::RunResult resume() {
    kill(pid_, SIGCONT);
    const pid_t pid = pid_;
    pid_ = 0;
    return test::wait(pid);
  }
  TempDir dir_;
  pid_t pid_ = 0;
};

TEST_F(BspatchStopped, BySignalLeavesNoTemporaryFile) {
  for (const int signal : {SIGTERM, SIGINT}) {
    startPaused();
    kill(pid_, signal);
    EXPECT_EQ(resume().signal, signal);
    EXPECT_TRUE(dir_.entries().empty());
  }
}

TEST_F(BspatchStopped, NewFileAppearingMeanwhileIsNotReplaced) {
  startPaused();
  test::writeFile(dir_ / "freedoom2.wad", "someone else's");
  EXPECT_EQ(resume().exitCode, 1);
  EXPECT_EQ(test::readFile(dir_ / "freedoom2.wad"), "someone else's");
  EXPECT_EQ(dir_.entries(), std::vector<std::string>{"freedoom2.wad"});
}

// The old file is mapped; another program cutting it short must not leave a half-made file.
TEST_F(BspatchStopped, OldFileShrinkingMeanwhileFailsCleanly) {
  std::filesystem::copy_file(FREEDOOM_DIR "/freedoom1.wad", dir_ / "old.wad");
  startPaused(dir_ / "old.wad");
  std::filesystem::resize_file(dir_ / "old.wad", 0);
  EXPECT_EQ(resume().exitCode, 1);
  EXPECT_EQ(dir_.entries(), std::vector<std::string>{"old.wad"});
}

}  // namespace
