// What a start removes from the shared temporary folders: the private folders of this user's runs
// that were killed outright, and nothing else, however someone else lays a folder out to look so.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QStandardPaths>

#include "identify/dead_runs.h"
#include "platform/owned_tree_removal.h"
#include "platform/run_names.h"
#include "support/scratch_folder.h"
#include "support/tool_run.h"

namespace {

// Named as a run that has ended left it: no process has this id.
QString deadRunFolder(const char* letters = "AbC123") {
  return "tmp/wadwright-2147483646-1-" + platform::thisRunName().section('-', 2) + "-" + letters;
}

// A start's cleanup, with the scratch folder's tmp/ as both temporary folders.
class DeadRuns : public ::testing::Test {
 protected:
  void SetUp() override {
    QDir().mkpath("tmp");
    qputenv("TMPDIR", QFile::encodeName(work.path("tmp")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(work.path("tmp")));
  }
  void TearDown() override {
    platform::beforeEnteringFolder = nullptr;
    qputenv("TMPDIR", tmp);
    qputenv("XDG_RUNTIME_DIR", runtime);
  }
  const QByteArray tmp = qgetenv("TMPDIR"), runtime = qgetenv("XDG_RUNTIME_DIR");
  ScratchFolder work;
};

}  // namespace

// A link in a folder of ours goes as a link, at any depth, and so does one put in a subfolder's
// place between its check and its entry; what each leads to stays. A link or a file named as a
// dead run's folder is not one, and a folder of a run still going stays.
TEST_F(DeadRuns, OurFolderGoesWithItsLinksButNotWhatTheyLeadTo) {
  work.write("victim/folder/inner", "kept");
  const QString dead = deadRunFolder(), going = "tmp/wadwright-" + platform::thisRunName() + "-XyZ789";
  for (const QString& file : {dead + "/sub/made.part", dead + "/swapped/made.part", going + "/md5tmp.txt", deadRunFolder("file00")})
    work.write(file, "x");
  for (const auto& [target, name] : std::vector<std::pair<QString, QString>>{
           {"victim/folder/inner", dead + "/file"}, {"victim/folder", dead + "/sub/folder"}, {"nowhere", dead + "/dangling"},
           {"victim/folder", deadRunFolder("link00")}})
    ASSERT_TRUE(QFile::link(work.path(target), name));
  platform::beforeEnteringFolder = [&](const QString& path) {
    if (path.endsWith("/swapped")) {
      ASSERT_TRUE(QDir().rename(path, work.path("moved")) && QFile::link(work.path("victim"), path));
    }
  };
  removeDeadRunsFolders();
  QStringList left{QDir(deadRunFolder("file00")).dirName(), QDir(deadRunFolder("link00")).dirName(), QDir(going).dirName()};
  left.sort();
  EXPECT_EQ(work.entries("tmp"), left);
  EXPECT_TRUE(work.exists("moved/made.part"));  // swapped, and so left
  EXPECT_EQ(work.read("victim/folder/inner"), "kept");
}

// Two users on one machine: a folder that one of them named as a dead run stays whole at the other's
// start, and so do the other's read-only file and folder that its links lead to. Each user plants
// once and starts once: root (this test) and a user the test makes.
TEST_F(DeadRuns, AnotherUsersFolderStaysWholeAndWhatItLeadsToAsItWas) {
  const QString useradd = QStandardPaths::findExecutable("useradd", {"/usr/sbin", "/sbin"});
  if (geteuid() != 0 || useradd.isEmpty()) GTEST_SKIP() << "Not tried: making a second user needs root and useradd.";
  const QString name = "wwdead" + QString::number(getpid());
  ASSERT_EQ(runTool(useradd, {"--no-create-home", "--shell", "/usr/sbin/nologin", name}).code, 0);
  const std::shared_ptr<void> removed(nullptr, [&](void*) {
    runTool(QStandardPaths::findExecutable("userdel", {"/usr/sbin", "/sbin"}), {name});
  });
  const passwd* user = getpwnam(name.toUtf8().constData());
  ASSERT_NE(user, nullptr);
  const QString uid = QString::number(user->pw_uid), gid = QString::number(user->pw_gid);
  chmod(QFile::encodeName(work.path()).constData(), 0755);
  chmod("tmp", 01777);
  const QString dead = deadRunFolder();
  for (const bool otherPlants : {true, false}) {
    SCOPED_TRACE(otherPlants ? "the other user plants, root starts" : "root plants, the other user starts");
    work.write("victim/file", "IWAD");
    work.write("victim/folder/inner", "kept");
    chmod("victim/file", 0400);
    work.write(dead + "/sub/part", "theirs");
    ASSERT_TRUE(QFile::link(work.path("victim/file"), dead + "/file") && QFile::link(work.path("victim/folder"), dead + "/sub/folder"));
    ASSERT_EQ(runTool("chown", {"-hR", otherPlants ? uid + ":" + gid : "0:0", work.path(dead)}).code, 0);
    ASSERT_EQ(runTool("chown", {"-hR", otherPlants ? "0:0" : uid + ":" + gid, work.path("victim")}).code, 0);
    const QStringList identify{"--identify", "/nonexistent.wad"};
    const ToolResult start = otherPlants ? runTool(builtTool("wadwright"), identify)
                                         : runTool("setpriv", QStringList{"--reuid=" + uid, "--regid=" + gid, "--clear-groups",
                                                                          builtTool("wadwright")} + identify);
    EXPECT_TRUE(start.out.contains("there is no such file")) << start.err.toStdString();  // it ran, as that user
    EXPECT_EQ(work.entries(dead) + work.entries(dead + "/sub"), (QStringList{"file", "sub", "folder", "part"}));
    struct stat file{};
    EXPECT_TRUE(stat("victim/file", &file) == 0 && (file.st_mode & 07777) == 0400) << std::oct << file.st_mode;
    EXPECT_EQ(work.read("victim/file") + work.read("victim/folder/inner"), "IWADkept");
    QDir(work.path(dead)).removeRecursively();
    QDir(work.path("victim")).removeRecursively();
  }
}
