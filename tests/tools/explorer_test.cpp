#include <gtest/gtest.h>

#include "support.h"

namespace {

using test::TempDir;

const std::string kTool = EXPLORER_EXE;
const std::string kEnv = "/usr/bin/env";  // runs the tool with a PATH of the test's choosing

// With a stand-in xdg-open first on PATH that records its arguments, one a line.
struct ExplorerTest : testing::Test {
  ExplorerTest() {
    std::filesystem::create_directory(dir / "bin");
    test::writeFile(dir / "bin" / "xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"" +
                                                  (dir / "args").string() + "\"\n");
    std::filesystem::permissions(dir / "bin" / "xdg-open", std::filesystem::perms::owner_all);
  }
  test::Result explorer(std::vector<std::string> args, const std::string& path = {}) {
    args.insert(args.begin(), {kEnv, "PATH=" + (path.empty() ? (dir / "bin").string() : path), kTool});
    return test::run(args, dir.path);
  }
  TempDir dir;
};

// The main window passes paths unquoted: words joined with single blanks are the folder.
TEST_F(ExplorerTest, HandsXdgOpenTheFolderAsOnePath) {
  std::filesystem::create_directory(dir / "my folder");
  std::filesystem::create_directory(dir / "-x");
  for (const auto& [args, expected] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{dir / "my", "folder"}, dir / "my folder"}, {{"-x"}, "./-x"}}) {
    const auto result = explorer(args);
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(test::readFile(dir / "args"), "1\n" + expected + "\n");
  }
}

TEST_F(ExplorerTest, RefusesWithAMessage) {
  test::writeFile(dir / "file", "");
  const std::string none = "/nowhere";  // a PATH without xdg-open
  for (const auto& [args, path, message] :
       std::vector<std::tuple<std::vector<std::string>, std::string, std::string>>{
           {{}, "", "no folder"}, {{"missing"}, "", "missing"}, {{"file"}, "", "not a folder"},
           {{"."}, none, "cannot start xdg-open"}}) {
    const auto result = explorer(args, path);
    EXPECT_NE(result.code, 0) << message;
    EXPECT_EQ(result.err.rfind("explorer: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "args")) << "xdg-open was started";
  }
}

}  // namespace
