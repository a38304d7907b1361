// The collection's file fetched the whole way on Windows: wadwright.exe --make --download and the
// window's Yes, with the real fetch tool, from the Linux tests' local server (which
// scripts/test-windows starts and names in WADWRIGHT_FETCH_SERVER) or from the collection's sample
// folder, then made into the release by the real patch tool; the naming checksum tool passes the
// Plutonia pair off as the catalogue's releases.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "scratch.h"
#include "support/message_catcher.h"
#include "support/plutonia_pair.h"
#include "support/window_driving.h"
#include "window/start_place.h"

namespace {

const QString kPatch = "games\\patches\\plutonia.wad\\anthology-to-1.9.vcdiff";

QString server() { return qEnvironmentVariable("WADWRIGHT_FETCH_SERVER"); }
QString sample() { return qEnvironmentVariable("WADWRIGHT_COLLECTION_SAMPLE"); }

// Everything under games, hidden files and empty folders too.
QStringList inGames() {
  QStringList found;
  QDirIterator each("games", QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (each.hasNext()) found << QDir::toNativeSeparators(each.next());
  found.sort();
  return found;
}

class DownloadOnWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    if (server().isEmpty() || sample().isEmpty()) GTEST_SKIP() << "no test server: scripts/test-windows starts one";
    QDir().mkdir("games");
    work.write("games\\plutonia.wad", plutoniaPair().first);
  }
  // wadwright.exe of the naming folder, with Qt's DLLs found where the programs were built.
  void start(QProcess& wadwright, const QStringList& arguments, const QString& source) {
    startWadwright(wadwright, folder, arguments, {"WADWRIGHT_PATCH_SOURCE=" + source, "PATH=" + programFolder() + ";" + qEnvironmentVariable("PATH")});
  }

  Scratch work;
  const QString folder = namingFolder();
};

}  // namespace

TEST_F(DownloadOnWindows, TheCommandLineFetchesFromAServerOrAFolderAndMakesTheRelease) {
  // The source, then what --json says was fetched.
  for (const QString& source : {server() + "good/", sample()}) {
    SCOPED_TRACE(source.toStdString());
    QProcess make;
    start(make, {"--make", "--json", "--download", "plut_19.wad", "games\\plutonia.wad"}, source);
    ASSERT_TRUE(make.waitForFinished(120000));
    const QJsonObject said = QJsonDocument::fromJson(make.readAllStandardOutput()).array()[0].toObject();
    EXPECT_EQ(make.exitCode(), 0) << said["message"].toString().toStdString();
    EXPECT_EQ(said["result"], "made");
    EXPECT_EQ(said["fetched"], QJsonArray{kPatch});
    EXPECT_EQ(work.read(kPatch), work.read(sample() + "\\plutonia.wad\\anthology-to-1.9.vcdiff"));
    EXPECT_EQ(work.read("games\\plut_19.wad"), plutoniaPair().second);
    EXPECT_EQ(inGames(), (QStringList{"games\\patches", "games\\patches\\plutonia.wad", kPatch, "games\\plut_19.wad",
                                      "games\\plutonia.wad"}));
    QFile::remove("games\\plut_19.wad");
    QDir("games\\patches").removeRecursively();
  }
}

// Ended outright (taskkill /F) while the file comes: the fetch tool goes with it, and nothing is left.
TEST_F(DownloadOnWindows, ForcedToEndWhileTheFileComesItLeavesNothing) {
  QProcess make;
  start(make, {"--make", "--json", "--download", "plut_19.wad", "games\\plutonia.wad"}, server() + "stall/");
  // The file being written, hidden in the nearest folder there is; waited for up to what a user
  // would call hung.
  ASSERT_TRUE(QTest::qWaitFor([] { return inGames().join(' ').contains("games\\.anthology-to-1.9.vcdiff."); }, 20000))
      << make.readAllStandardError().toStdString() << inGames().join(' ').toStdString();
  EXPECT_EQ(QProcess::execute("taskkill", {"/F", "/PID", QString::number(make.processId())}), 0);
  ASSERT_TRUE(make.waitForFinished(20000));
  EXPECT_TRUE(QTest::qWaitFor([] { return inGames() == QStringList{"games\\plutonia.wad"}; }, 20000)) << inGames().join(' ').toStdString();
}

TEST_F(DownloadOnWindows, TheWindowsYesFetchesAndMakes) {
  qputenv("WADWRIGHT_PATCH_SOURCE", (server() + "good/").toUtf8());
  MessageCatcher messages;
  messages.questionAnswer = QMessageBox::Yes;
  Form1 form(QFile::encodeName(folder));
  form.show();
  form.openPlace(placeOf(work.dir.path() + "/games"));
  settle();
  clickEntry(form, "plutonia.wad");
  ASSERT_TRUE(form.Command2->isVisible() && form.Command2->isEnabled());
  QTest::mouseClick(form.Command2, Qt::LeftButton);
  settle();
  qunsetenv("WADWRIGHT_PATCH_SOURCE");
  ASSERT_EQ(messages.texts.size(), 2) << messages.texts.join('\n').toStdString();
  EXPECT_TRUE(messages.texts[0].startsWith("The patch file 'patches\\plutonia.wad\\anthology-to-1.9.vcdiff' (121 bytes) is not here."));
  EXPECT_TRUE(messages.texts[1].endsWith("was sucessully created!")) << messages.texts[1].toStdString();
  // The window works in the folder it shows.
  EXPECT_EQ(work.read(work.dir.path() + "/" + kPatch), work.read(sample() + "\\plutonia.wad\\anthology-to-1.9.vcdiff"));
}
