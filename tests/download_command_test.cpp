// `wadwright --make --download`: the collection's real sample files fetched by the real fetch tool
// from a local server or folder, then made into the release with the real patch tool; a
// checksum tool that names the files as catalogue releases stands in where no IWAD can be had.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtCore/qtestsupport_core.h>

#include "support/plutonia_pair.h"
#include "support/scratch_folder.h"
#include "support/tool_folder.h"
#include "support/tool_run.h"

namespace {

const QString kSample = COLLECTION_SAMPLE;
QByteArray md5(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex(); }

// Everything under games/, hidden files and empty folders too: what a fetch may have left.
QByteArray filesInGames() { return runTool("sh", {"-c", "find games -mindepth 1 | LC_ALL=C sort"}).out; }

// The fetch tool `wadwright` started, once it is connected to the server; 0 if none is by 20 s.
qint64 fetchToolInTransfer(qint64 wadwright) {
  const QString connected = QString("for p in $(pgrep -x -P %1 fetch.exe); do ls -l /proc/$p/fd | grep -q socket: && echo $p; done").arg(wadwright);
  QByteArray pid;
  QTest::qWaitFor([&] { return !(pid = runTool("sh", {"-c", connected}).out.trimmed()).isEmpty(); }, 20000);
  return pid.toLongLong();
}

}  // namespace

class DownloadCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QFile::exists(kSample)) GTEST_SKIP() << "no collection sample beside the sources: " << kSample.toStdString();
    const auto [anthology, v19] = plutoniaPair();
    tools.installReal({"wadwright", "command.com", "bspatch.exe", "fetch.exe"});
    tools.install("md5sum.exe", "#!/bin/sh\nsum=$(md5sum < \"$1\" | cut -c1-32) || exit 1\ncase $sum in\n"
                                "  " + md5(anthology) + ") sum=" + kAnthologyPlutoniaMd5 + ";;\n"
                                "  " + md5(v19) + ") sum=" + kPlutonia19Md5 + ";;\nesac\necho \"$sum  $1\"\n");
    work.write("games/plutonia.wad", anthology);
  }
  // fetch.exe's own test server: /good/PATH as it is, /changed/PATH with a byte changed, /stall/PATH half, then nothing.
  static void SetUpTestSuite() {
    server = new QProcess;
    server->start("python3", {FETCH_SERVER, kSample});
    server->waitForReadyRead(30000);
    http = "http://127.0.0.1:" + QString(server->readLine()).section(' ', 0, 0) + "/";
  }
  static void TearDownTestSuite() {
    server->kill();
    server->waitForFinished();
    delete server;
  }
  static QStringList environment(const QString& source) {  // no proxy the system names comes between
    return {"WADWRIGHT_PATCH_SOURCE=" + source, "http_proxy=", "https_proxy=", "all_proxy=", "ALL_PROXY="};
  }

  static inline QProcess* server;
  static inline QString http;

  ScratchFolder work;
  ToolFolder tools;
};

// The collection's own file comes from the server byte for byte, and makes the release at once.
TEST_F(DownloadCommand, FetchesTheWaysMissingFileAndMakesTheRelease) {
  const QString good = http + "good/";
  const QString patch = "plutonia.wad/anthology-to-1.9.vcdiff";
  ToolResult refused = tools.wadwright({"--make", "plut_19.wad", "games/plutonia.wad"}, environment(good));
  EXPECT_EQ(refused.code, 1);
  EXPECT_TRUE(refused.out.endsWith(" wadwright --make --download fetches the patch file "
                                   "'games/patches/plutonia.wad/anthology-to-1.9.vcdiff' (121 bytes) from " + good.toUtf8() + ".\n"));

  ToolResult fetched = tools.wadwright({"--make", "--download", "plut_19.wad", "games/plutonia.wad"}, environment(good));
  EXPECT_EQ(fetched.code, 0) << fetched.err.toStdString();
  EXPECT_EQ(fetched.out, "games/plutonia.wad\tplut_19.wad\tfetching\tgames/patches/plutonia.wad/anthology-to-1.9.vcdiff (121 bytes) "
                         "from " + good.toUtf8() + "plutonia.wad/anthology-to-1.9.vcdiff\n"
                         "games/plutonia.wad\tplut_19.wad\tmade\tgames/plut_19.wad is Final Doom - Plutonia Experiment V1.9: made and checked.\n");
  EXPECT_EQ(runTool("cmp", {kSample + "/" + patch, "games/patches/" + patch}).code, 0);
  EXPECT_EQ(filesInGames(), "games/patches\ngames/patches/plutonia.wad\ngames/patches/plutonia.wad/anthology-to-1.9.vcdiff\n"
                            "games/plut_19.wad\ngames/plutonia.wad\n");

  // From a folder: JSON names what was fetched, and the line goes to standard error.
  QFile::remove("games/plut_19.wad");
  QDir("games/patches").removeRecursively();
  ToolResult json = tools.wadwright({"--make", "--json", "--download", "plut_19.wad", "games/plutonia.wad"}, environment(kSample));
  EXPECT_EQ(QJsonDocument::fromJson(json.out).array()[0].toObject()["fetched"], QJsonArray{"games/patches/plutonia.wad/anthology-to-1.9.vcdiff"});
  EXPECT_TRUE(json.err.startsWith("wadwright: fetching games/patches/plutonia.wad/anthology-to-1.9.vcdiff (121 bytes) from " + kSample.toUtf8()));
}

// Whatever goes wrong, nothing is stored under the patch's name and nothing else is left.
TEST_F(DownloadCommand, AFetchThatFailsLeavesNothingAndSaysWhy) {
  // The source, TARGET, what is said after the file and the target.
  const std::tuple<QString, QString, QString> cases[] = {
      {http + "changed/", "plut_19.wad", "failed\tI could not fetch 'games/patches/plutonia.wad/anthology-to-1.9.vcdiff' from " +
                                             http + "changed/. What came is not the collection's file"},
      // A password in the address is used, never shown.
      {QString(http).replace("//", "//player:secret@") + "status/404/", "plut_19.wad",
       "fetching\tgames/patches/plutonia.wad/anthology-to-1.9.vcdiff (121 bytes) from " + http + "status/404/plutonia.wad/"},
  };
  for (const auto& [source, target, said] : cases) {
    ToolResult run = tools.wadwright({"--make", "--download", target, "games/plutonia.wad"}, environment(source));
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(run.out.contains("\t" + target.toUtf8() + "\t" + said.toUtf8())) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains("secret") || run.err.contains("secret")) << run.out.toStdString();
    EXPECT_EQ(filesInGames(), "games/plutonia.wad\n");
  }
}

// Ended while the file comes, however it ends, the fetch leaves nothing, not even the folders the
// file would have gone into; --json's "fetched" lists only what the fetch tool stored, not a file
// of the user's that took the name meanwhile, which is kept.
TEST_F(DownloadCommand, AFetchEndedMidwayLeavesNothingAndListsNothing) {
  const QString patch = "games/patches/plutonia.wad/anthology-to-1.9.vcdiff";
  // What ends it, and wadwright's exit status.
  const std::pair<QString, int> cases[] = {{"SIGINT to wadwright", 128 + SIGINT}, {"SIGKILL to fetch.exe", 2}, {"the user's file", 2}};
  for (const auto& [ending, code] : cases) {
    SCOPED_TRACE(ending.toStdString());
    // The user's file is kept when the stalled fetch gives up.
    const QString stall = "WADWRIGHT_FETCH_STALL_SECONDS=" + QString(ending == "the user's file" ? "2" : "");
    ToolRun make(tools.path() + "/wadwright", {"--make", "--json", "--download", "plut_19.wad", "games/plutonia.wad"},
                 environment(http + "stall/") << stall);
    const qint64 fetch = fetchToolInTransfer(make.pid());
    ASSERT_NE(fetch, 0) << make.wait().err.toStdString();
    if (ending.startsWith("SIGINT")) kill(pid_t(make.pid()), SIGINT);
    if (ending.startsWith("SIGKILL")) kill(pid_t(fetch), SIGKILL);
    if (ending == "the user's file") work.write(patch, "mine");
    const ToolResult ended = make.wait(20000);
    EXPECT_EQ(ended.code, code) << ended.err.toStdString();
    const QJsonObject said = QJsonDocument::fromJson(ended.out).array()[0].toObject();
    EXPECT_EQ(said["result"], "failed");
    EXPECT_EQ(said["fetched"], QJsonArray{});
    if (ending == "the user's file") {
      EXPECT_EQ(work.read(patch), "mine");
      QDir("games/patches").removeRecursively();
    }
    EXPECT_EQ(filesInGames(), "games/plutonia.wad\n");
  }
}
