// explorer, with a stand-in xdg-open first on PATH that writes its arguments, one a line.
#include <gtest/gtest.h>

#include <QDir>

#include "support/scratch_folder.h"
#include "support/tool_run.h"

namespace {

struct Explorer : testing::Test {
  Explorer() {
    QDir().mkdir("bin");
    folder.write("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"" + folder.path("args").toUtf8() + "\"\n", true);
  }
  ToolResult explorer(const QStringList& arguments, const QString& path = {}) {
    return runTool(builtTool("explorer"), arguments, {"PATH=" + (path.isEmpty() ? folder.path("bin") : path)});
  }
  ScratchFolder folder;
};

// The main window passes paths unquoted: words joined with single blanks are the folder.
TEST_F(Explorer, HandsXdgOpenTheFolderAsOnePath) {
  QDir().mkdir("my folder");
  QDir().mkdir("-x");
  for (const auto& [arguments, expected] : std::vector<std::pair<QStringList, QString>>{
           {{folder.path("my"), "folder"}, folder.path("my folder")}, {{"-x"}, "./-x"}}) {
    const ToolResult result = explorer(arguments);
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(folder.read("args"), "1\n" + expected.toUtf8() + "\n");
  }
}

TEST_F(Explorer, RefusesWithAMessage) {
  folder.write("file", "");
  const std::tuple<QStringList, QString, const char*> cases[] = {
      {{}, "", "no folder"}, {{"missing"}, "", "missing"}, {{"file"}, "", "not a folder"}, {{"."}, "/nowhere", "cannot start xdg-open"}};
  for (const auto& [arguments, path, message] : cases) {
    const ToolResult result = explorer(arguments, path);
    EXPECT_NE(result.code, 0) << message;
    EXPECT_TRUE(result.err.startsWith("explorer: ") && result.err.contains(message)) << result.err.toStdString();
    EXPECT_FALSE(folder.exists("args")) << "xdg-open was started";
  }
}

}  // namespace
