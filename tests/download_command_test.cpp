// `wadwright --make --download`: the collection's real sample files fetched by the real fetch tool
// from a local server or folder, then made into the release with the real patch tool; a
// checksum tool that names the files as catalogue releases stands in where no IWAD can be had.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtCore/qtestsupport_core.h>

#include "support/local_server.h"
#include "support/scratch_folder.h"
#include "support/tool_folder.h"
#include "support/tool_run.h"

namespace {

const QString kSample = COLLECTION_SAMPLE;
constexpr quint32 kAdlerBase = 65521;

quint32 adler32(const char* bytes, qint64 size) {
  quint32 a = 1, b = 0;
  for (qint64 i = 0; i < size; ++i) {
    a = (a + uchar(bytes[i])) % kAdlerBase;
    b = (b + a) % kAdlerBase;
  }
  return b << 16 | a;
}

// Sets bytes near the end of a window so that its Adler-32 becomes `wanted`: one more at w bytes
// before the end adds 1 to the checksum's low half and w to its high half.
void steerAdler(char* window, qint64 size, quint32 wanted) {
  const auto at = [&](int weight) -> char& { return window[size - weight]; };
  const auto missing = [&](int half) {
    const quint32 now = adler32(window, size);
    return int(((wanted >> half & 0xffff) + kAdlerBase - (now >> half & 0xffff)) % kAdlerBase);
  };
  for (int weight = 1; weight <= 2048; ++weight) at(weight) = char(128);
  int low = missing(0);
  if (low > int(kAdlerBase) / 2) low -= kAdlerBase;
  for (int weight = 1500; low != 0; ++weight) {
    const int step = std::clamp(low, -127, 127);
    at(weight) = char(128 + step);
    low -= step;
  }
  const int high = missing(16);
  const auto move = [&](int weight, int further, int units) {  // the low half stays as it is
    at(weight) = char(uchar(at(weight)) - units);
    at(weight + further) = char(uchar(at(weight + further)) + units);
  };
  move(1, 1000, high / 1000);
  move(2, 10, high % 1000 / 10);
  move(3, 1, high % 10);
}

// An anthology Plutonia and the V1.9 the collection's real anthology-to-1.9.vcdiff makes of it,
// as far as the patch can tell: it adds 7 bytes at offset 4, copies the rest, and checks each
// 8 MiB window's Adler-32.
std::pair<QByteArray, QByteArray> plutoniaPair() {
  QByteArray made(17420824, '\0');
  made.replace(4, 7, QByteArray::fromHex("a80b0000981709"));
  const quint32 windows[][3] = {{0, 8388608, 0x10E08DA5}, {8388608, 8388608, 0xF7E800FD}, {16777216, 643608, 0x188FDCD2}};
  for (const auto& [start, size, checksum] : windows) steerAdler(made.data() + start, size, checksum);
  return {QByteArray(made).replace(4, 7, QByteArray(7, '\0')), made};
}

QByteArray md5(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex(); }

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file under `folder`, hidden ones too: what a fetch may have left.
QStringList filesUnder(const QString& folder) {
  QStringList files;
  QDirIterator each(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (each.hasNext()) files << each.next();
  files.sort();
  return files;
}

}  // namespace

class DownloadCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QFile::exists(kSample)) GTEST_SKIP() << "no collection sample beside the sources: " << kSample.toStdString();
    const auto [anthology, v19] = plutoniaPair();
    made = v19;
    tools.installReal({"wadwright", "command.com", "bspatch.exe", "fetch.exe"});
    tools.install("md5sum.exe", "#!/bin/sh\nsum=$(md5sum < \"$1\" | cut -c1-32) || exit 1\ncase $sum in\n"
                                "  " + md5(anthology) + ") sum=3493be7e1e2588bc9c8b31eab2587a04;;\n"
                                "  " + md5(v19) + ") sum=75c8cf89566741fa9d22447604053bd7;;\n"
                                "  " + md5("kex") + ") sum=4461d4511386518e784c647e3128e7bc;;\nesac\necho \"$sum  $1\"\n");
    work.write("games/plutonia.wad", anthology);
    work.write("games/doom.wad", "kex");  // the 2024 re-release
  }
  ToolResult wadwright(const QStringList& arguments, const QString& source) {
    return runTool(tools.path() + "/wadwright", arguments, {"WADWRIGHT_PATCH_SOURCE=" + source});
  }

  ScratchFolder work;
  ToolFolder tools;
  QByteArray made;
};

// The collection's own file comes from the server byte for byte, and makes the release at once.
TEST_F(DownloadCommand, FetchesTheWaysMissingFileAndMakesTheRelease) {
  LocalServer server(kSample);
  ASSERT_FALSE(server.base().isEmpty());
  ToolResult list = wadwright({"--make", "--list", "games/plutonia.wad"}, server.base());
  EXPECT_TRUE(list.out.startsWith("games/plutonia.wad\tplut_19.wad\tFinal Doom - Plutonia Experiment V1.9\t"
                                  "games/patches/plutonia.wad/anthology-to-1.9.vcdiff\tmissing, can be fetched (121 bytes)\n"))
      << list.out.toStdString();
  ToolResult refused = wadwright({"--make", "plut_19.wad", "games/plutonia.wad"}, server.base());
  EXPECT_EQ(refused.code, 1);
  EXPECT_TRUE(refused.out.endsWith(" wadwright --make --download fetches the patch file "
                                   "'games/patches/plutonia.wad/anthology-to-1.9.vcdiff' (121 bytes) from " + server.base().toUtf8() + ".\n"))
      << refused.out.toStdString();

  ToolResult fetched = wadwright({"--make", "--download", "plut_19.wad", "games/plutonia.wad"}, server.base());
  EXPECT_EQ(fetched.code, 0) << fetched.err.toStdString();
  EXPECT_EQ(fetched.out, "games/plutonia.wad\tplut_19.wad\tfetching\tgames/patches/plutonia.wad/anthology-to-1.9.vcdiff (121 bytes) "
                         "from " + server.base().toUtf8() + "plutonia.wad/anthology-to-1.9.vcdiff\n"
                         "games/plutonia.wad\tplut_19.wad\tmade\tgames/plut_19.wad is Final Doom - Plutonia Experiment V1.9: made and checked.\n");
  EXPECT_EQ(work.read("games/patches/plutonia.wad/anthology-to-1.9.vcdiff"), readFile(kSample + "/plutonia.wad/anthology-to-1.9.vcdiff"));
  EXPECT_EQ(work.entries("games/patches/plutonia.wad"), QStringList{"anthology-to-1.9.vcdiff"});
  EXPECT_TRUE(work.read("games/plut_19.wad") == made);
  QFile::remove("games/plut_19.wad");
  QDir("games/patches").removeRecursively();

  // JSON names what was fetched; the progress lines are a terminal's alone.
  ToolResult json = wadwright({"--make", "--json", "--download", "plut_19.wad", "games/plutonia.wad"}, server.base());
  EXPECT_EQ(QJsonDocument::fromJson(json.out).array()[0].toObject()["fetched"], QJsonArray{"games/patches/plutonia.wad/anthology-to-1.9.vcdiff"});
  EXPECT_EQ(json.err, "wadwright: fetching games/patches/plutonia.wad/anthology-to-1.9.vcdiff (121 bytes) from " +
                          server.base().toUtf8() + "plutonia.wad/anthology-to-1.9.vcdiff\n");
}

// Whatever goes wrong, nothing is stored under the patch's name and nothing else is left.
TEST_F(DownloadCommand, AFetchThatFailsLeavesNothingAndSaysWhy) {
  LocalServer server(kSample), silent;
  QDir().mkpath("changed/plutonia.wad");
  QByteArray changed = readFile(kSample + "/plutonia.wad/anthology-to-1.9.vcdiff");
  changed[60] = char(changed[60] ^ 1);
  work.write("changed/plutonia.wad/anthology-to-1.9.vcdiff", changed);
  // The source, the target and file, what is said after "failed\t".
  const std::tuple<QString, QString, QString> cases[] = {
      {server.base(), "udoom.wad games/doom.wad", "I could not fetch 'games/patches/doom.wad/kex-to-ud.vcdiff' from " + server.base() + ". "},
      {work.path("changed"), "plut_19.wad games/plutonia.wad", "I could not fetch 'games/patches/plutonia.wad/anthology-to-1.9.vcdiff' from " +
                                                                 work.path("changed/") + ". "},
      {"ftp://127.0.0.1/", "plut_19.wad games/plutonia.wad", ""},
  };
  for (const auto& [source, arguments, said] : cases) {
    ToolResult run = wadwright(QStringList{"--make", "--download"} + arguments.split(' '), source);
    EXPECT_EQ(run.code, said.isEmpty() ? 1 : 2);
    EXPECT_TRUE(run.out.contains(said.isEmpty() ? "\trefused\tWADWRIGHT_PATCH_SOURCE names 'ftp://127.0.0.1/'" : "\tfailed\t" + said.toUtf8()))
        << run.out.toStdString();
    EXPECT_EQ(filesUnder("games"), (QStringList{"games/doom.wad", "games/plutonia.wad"}));
  }

  // Asked to end while the server says nothing: the fetch tool is ended too, and leaves nothing.
  ToolRun make(tools.path() + "/wadwright", {"--make", "--download", "plut_19.wad", "games/plutonia.wad"},
               {"WADWRIGHT_PATCH_SOURCE=" + silent.base()});
  QTest::qWait(1500);
  kill(pid_t(make.pid()), SIGINT);
  const ToolResult stopped = make.wait(20000);
  EXPECT_EQ(stopped.code, 128 + SIGINT);
  EXPECT_TRUE(stopped.out.contains("\tfailed\tI was stopped while fetching")) << stopped.out.toStdString();
  EXPECT_EQ(filesUnder("games"), (QStringList{"games/doom.wad", "games/plutonia.wad"}));

  // A read-only folder is refused before anything is fetched.
  ScratchFolder readOnly;
  if (!readOnly.mountSmall()) return;
  readOnly.write("plutonia.wad", "small");
  readOnly.makeReadOnly();
  tools.install("md5sum.exe", "#!/bin/sh\necho \"3493be7e1e2588bc9c8b31eab2587a04  $1\"\n");
  tools.install("fetch.exe", "#!/bin/sh\ntouch " + work.path("ran").toUtf8() + "\n");
  ToolResult refused = wadwright({"--make", "--download", "plut_19.wad", "plutonia.wad"}, server.base());
  EXPECT_EQ(refused.code, 1);
  EXPECT_TRUE(refused.out.contains("\trefused\tI cannot create 'plut_19.wad' here: this folder is read-only.")) << refused.out.toStdString();
  EXPECT_FALSE(work.exists("ran"));
}
