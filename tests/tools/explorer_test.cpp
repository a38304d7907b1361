// explorer, with a stand-in xdg-open first on PATH that writes its arguments, one a line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "support/scratch_folder.h"
#include "support/tool_run.h"

// The main window passes paths unquoted: words joined with single blanks are the folder. What is
// not a folder is refused with a message, and xdg-open is not started; an xdg-open that fails at
// once is said to, in one line.
TEST(Explorer, HandsXdgOpenTheFolderAsOnePathOrRefuses) {
  ScratchFolder folder;
  for (const char* name : {"bin", "bare", "my folder", "-x"}) QDir().mkdir(name);
  folder.write("file", "");
  folder.write("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"" + folder.path("args").toUtf8() + "\"\n", true);
  // A desktop with no file manager: xdg-open gives up at once.
  folder.write("bare/xdg-open", "#!/bin/sh\necho 'xdg-open: no method available' >&2\nexit 3\n", true);
  const QString bin = folder.path("bin");
  const int handle = open(QFile::encodeName(folder.path("-x")).constData(), O_PATH | O_DIRECTORY);  // handed down
  // The arguments, PATH, the one argument xdg-open was given, and the refusal.
  const std::tuple<QStringList, QString, QString, const char*> cases[] = {
      {{folder.path("my"), "folder"}, bin, folder.path("my folder"), nullptr}, {{"-x"}, bin, "./-x", nullptr},
      {{QString("/proc/self/fd/%1/.").arg(handle)}, bin, folder.path("-x"), nullptr},
      {{}, bin, "", "no folder"}, {{"missing"}, bin, "", "missing: No such file"}, {{"file"}, bin, "", "file: not a folder"},
      {{"."}, "/nowhere", "", "cannot start xdg-open"},
      {{"my", "folder"}, folder.path("bare"), "", "the file manager did not open my folder: xdg-open: no method available"}};
  for (const auto& [arguments, path, opened, refusal] : cases) {
    QFile::remove("args");
    const ToolResult result = runTool(builtTool("explorer"), arguments, {"PATH=" + path});
    EXPECT_EQ(result.code == 0, !refusal) << result.err.toStdString();
    EXPECT_TRUE(!refusal || (result.err.startsWith("explorer: ") && result.err.contains(refusal))) << result.err.toStdString();
    EXPECT_EQ(folder.read("args"), opened.isEmpty() ? "" : "1\n" + opened.toUtf8() + "\n");
  }
}
