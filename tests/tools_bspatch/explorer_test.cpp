#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "test_support.h"

namespace {

using test::TempDir;

const std::string kTool = EXPLORER_EXE;
const std::string kEnv = "/usr/bin/env";  // runs the tool with a PATH of the test's choosing

// A stand-in xdg-open that records its arguments, one a line; gives the PATH that finds it.
std::string fakeXdgOpenPath(const TempDir& dir) {
  std::filesystem::create_directory(dir / "bin");
  test::writeFile(dir / "bin" / "xdg-open",
                  "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"" + (dir / "args").string() + "\"\n");
  std::filesystem::permissions(dir / "bin" / "xdg-open", std::filesystem::perms::owner_all);
  return "PATH=" + (dir / "bin").string() + ":/usr/bin:/bin";
}

TEST(Explorer, PathSplitIntoWordsReachesXdgOpenWhole) {
  TempDir dir;
  std::filesystem::create_directory(dir / "my folder");
  const auto result = test::run({kEnv, fakeXdgOpenPath(dir), kTool, dir / "my", "folder"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(test::readFile(dir / "args"), "1\n" + (dir / "my folder").string() + "\n");
}

TEST(Explorer, FolderNamedLikeAnOptionIsPassedAsAPath) {
  TempDir dir;
  std::filesystem::create_directory(dir / "-x");
  const auto result = test::run({kEnv, fakeXdgOpenPath(dir), kTool, "-x"}, dir.path());
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(test::readFile(dir / "args"), "1\n./-x\n");
}

TEST(Explorer, RefusesWhatIsNotAFolder) {
  TempDir dir;
  test::writeFile(dir / "file", "");
  const std::string path = fakeXdgOpenPath(dir);
  const auto missing = (dir / "missing").string(), file = (dir / "file").string();
  for (const std::string& folder : {std::string(), missing, file}) {
    std::vector<std::string> argv{kEnv, path, kTool};
    if (!folder.empty()) argv.push_back(folder);
    const auto result = test::run(argv);
    EXPECT_NE(result.exitCode, 0) << folder;
    EXPECT_EQ(result.err.rfind("explorer: ", 0), 0u) << result.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "args")) << "xdg-open was started";
  }
}

TEST(Explorer, SaysSoWhenXdgOpenIsMissing) {
  TempDir dir;
  std::filesystem::create_directory(dir / "empty");
  const auto result = test::run({kEnv, "PATH=" + (dir / "empty").string(), kTool, dir.path()});
  EXPECT_NE(result.exitCode, 0);
  EXPECT_NE(result.err.find("explorer: cannot start xdg-open"), std::string::npos) << result.err;
}

}  // namespace
