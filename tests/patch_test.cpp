// The update and backdate actions, with the real patch tool on patches made by Debian's bsdiff.
#include <bzlib.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

#include "app/file_list_box.h"
#include "support/bsdiff_patch.h"
#include "support/form1_fixture.h"

namespace {

QByteArray randomBytes(int size, quint32 seed) {
  QByteArray bytes(size, '\0');
  QRandomGenerator generator(seed);
  for (char& byte : bytes) byte = char(generator.generate());
  return bytes;
}

// A release the fake checksum tool reports as `checksum`, followed by data of its own.
QByteArray release(const char* checksum, quint32 seed) {
  return QByteArray(checksum) + "  fake\n" + randomBytes(200000, seed);
}

// A newer release: the old one with a few edits, an insertion and a cut.
QByteArray edited(QByteArray data, quint32 seed) {
  data.replace(1000, 50, randomBytes(80, seed));
  data.insert(50000, randomBytes(3000, seed + 1));
  data.remove(120000, 700);
  data[150000] = char(data[150000] ^ 0x5a);
  return data;
}

// A valid patch of a few hundred bytes whose output is a quarter of a gigabyte of zeros: enough
// work for the tool to be caught in the middle of writing it. Made once: compressing takes a while.
constexpr qint64 kZerosSize = qint64(256) << 20;

QByteArray makePatchOfZeros(qint64 size) {
  auto compress = [](const QByteArray& data, qint64 zeros) {
    bz_stream stream{};
    BZ2_bzCompressInit(&stream, 9, 0, 0);
    QByteArray out, zeroChunk(1 << 20, '\0');
    char buffer[1 << 16];
    auto pump = [&](char* input, unsigned length, int action) {
      stream.next_in = input;
      stream.avail_in = length;
      int status;
      do {
        stream.next_out = buffer;
        stream.avail_out = sizeof buffer;
        status = BZ2_bzCompress(&stream, action);
        out.append(buffer, int(sizeof buffer - stream.avail_out));
      } while (stream.avail_in > 0 || (action == BZ_FINISH && status != BZ_STREAM_END));
    };
    QByteArray copy = data;
    if (!copy.isEmpty()) pump(copy.data(), unsigned(copy.size()), BZ_RUN);
    for (qint64 left = zeros; left > 0; left -= zeroChunk.size())
      pump(zeroChunk.data(), unsigned(std::min<qint64>(left, zeroChunk.size())), BZ_RUN);
    pump(nullptr, 0, BZ_FINISH);
    BZ2_bzCompressEnd(&stream);
    return out;
  };
  auto number = [](qint64 value) {
    QByteArray bytes(8, '\0');
    for (int i = 0; i < 8; ++i) bytes[i] = char((value >> (8 * i)) & 0xff);
    return bytes;
  };
  QByteArray control = compress(number(0) + number(size) + number(0), 0);
  QByteArray diff = compress({}, 0);
  QByteArray extra = compress({}, size);
  return "BSDIFF40" + number(control.size()) + number(diff.size()) + number(size) + control + diff + extra;
}

const QByteArray& patchOfZeros() {
  static const QByteArray patch = makePatchOfZeros(kZerosSize);
  return patch;
}

}  // namespace

class PatchTest : public Form1Fixture {
 protected:
  void SetUp() override {
    installFakeChecksumTool();
    installRealTools({"bspatch.exe"});
    QDir().mkdir("patches");
  }

  // Writes the selected release and a patch from it, and identifies it in the window.
  QByteArray prepare(const char* checksum, const QString& patch, quint32 seed) {
    QByteArray source = release(checksum, seed);
    QByteArray target = edited(source, seed + 10);
    work.write("mine.wad", source);
    work.write("patches/" + patch, bsdiffPatch(source, target));
    if (!form) openWindow();
    else QTest::mouseClick(form->Command1, Qt::LeftButton);
    click("mine.wad");
    return target;
  }

  QStringList listed() const {
    QStringList names;
    for (int i = 0; i < form->File1->count(); ++i) names << form->File1->item(i)->text();
    return names;
  }
};

TEST_F(PatchTest, UpdateItCreatesTheNewReleaseBesideTheOldOne) {
  QByteArray expected = prepare("792fd1fea023d61210857089a7c1e351", "d1_12_ud", 1);  // DOOM V1.2
  QByteArray source = work.read("mine.wad");
  clickButton(2);
  EXPECT_EQ(form->PatchCommand, "bspatch.exe mine.wad udoom.wad  patches\\d1_12_ud");
  EXPECT_EQ(messages.texts(), QStringList{"udoom.wad was sucessully created!"});
  EXPECT_TRUE(messages.messages[0].plain);
  EXPECT_EQ(work.read("udoom.wad"), expected);
  EXPECT_EQ(work.read("mine.wad"), source);
  EXPECT_EQ(listed(), (QStringList{"mine.wad", "udoom.wad"}));
  expectNeutralLook();
  EXPECT_EQ(work.entries(), (QStringList{"mine.wad", "patches", "udoom.wad"}));
}

TEST_F(PatchTest, EachBackdateSetMakesItsOwnRelease) {
  QByteArray older = prepare("c4fe9fd920207691a9f493668e0a2083", "d1_ud_1666", 2);  // Ultimate Doom
  clickButton(6);
  EXPECT_EQ(form->TargetFile, "d1_1666.wad");
  EXPECT_EQ(form->PatchCommand, "bspatch.exe mine.wad d1_1666.wad  patches\\d1_ud_1666");
  EXPECT_EQ(work.read("d1_1666.wad"), older);
  expectNeutralLook();

  older = prepare("25e1459ca71d321525f84628f45ca8cd", "d2_19_17", 3);  // DOOM2 V1.9
  clickButton(11);
  EXPECT_EQ(form->PatchCommand, "bspatch.exe mine.wad d2_17.wad  patches\\d2_19_17");
  EXPECT_EQ(work.read("d2_17.wad"), older);
  EXPECT_EQ(messages.texts(), (QStringList{"d1_1666.wad was sucessully created!", "d2_17.wad was sucessully created!"}));
  EXPECT_EQ(listed(), (QStringList{"d1_1666.wad", "d2_17.wad", "mine.wad"}));
  expectNeutralLook();
}

TEST_F(PatchTest, AnExistingTargetIsNeverTouched) {
  prepare("c4fe9fd920207691a9f493668e0a2083", "d1_ud_1666", 4);
  work.write("d1_1666.wad", "my own file");
  QFile::remove(toolFolder.path() + "/bspatch.exe");
  installTool("bspatch.exe", "#!/bin/sh\ntouch \"$WADWRIGHT_TEST_RAN\"\n");  // must not run at all
  qputenv("WADWRIGHT_TEST_RAN", work.path("tool-ran").toLocal8Bit());
  clickButton(6);
  qunsetenv("WADWRIGHT_TEST_RAN");
  EXPECT_EQ(messages.texts(), QStringList{"Can't continue. The file that I was going to create -'d1_1666.wad'- already exists!"});
  EXPECT_EQ(work.read("d1_1666.wad"), "my own file");
  EXPECT_FALSE(work.exists("tool-ran"));
  EXPECT_EQ(form->PatchCommand, "");
  expectNeutralLook();
}

TEST_F(PatchTest, ADanglingLinkCountsAsPresent) {
  prepare("792fd1fea023d61210857089a7c1e351", "d1_12_ud", 5);
  QFile::link("nowhere.wad", "udoom.wad");
  clickButton(2);
  EXPECT_EQ(messages.texts(), QStringList{"Can't continue. The file that I was going to create -'udoom.wad'- already exists!"});
  EXPECT_FALSE(QFileInfo::exists("nowhere.wad"));
}

TEST_F(PatchTest, AMissingOrCorruptPatchIsAFailureAndWritesNothing) {
  prepare("c4fe9fd920207691a9f493668e0a2083", "d1_ud_11", 6);
  QFile::remove("patches/d1_ud_11");
  clickButton(4);
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_TRUE(messages.messages[0].text.startsWith("I could not create 'd1_11.wad'.\nbspatch.exe: "))
      << messages.messages[0].text.toStdString();
  EXPECT_TRUE(messages.messages[0].text.contains("d1_ud_11"));
  expectNeutralLook();

  prepare("c4fe9fd920207691a9f493668e0a2083", "d1_ud_12", 7);
  QByteArray patch = work.read("patches/d1_ud_12");
  patch[patch.size() / 2] = char(patch[patch.size() / 2] ^ 0xff);
  work.write("patches/d1_ud_12", patch);
  clickButton(5);
  ASSERT_EQ(messages.messages.size(), 2);
  EXPECT_TRUE(messages.messages[1].text.startsWith("I could not create 'd1_12.wad'.\nbspatch.exe: "));
  EXPECT_EQ(work.entries(), (QStringList{"mine.wad", "patches"}));  // no new file, no temporary one
  expectNeutralLook();
}

TEST_F(PatchTest, ABackdateAfterAnUpdateUsesItsOwnTarget) {
  prepare("792fd1fea023d61210857089a7c1e351", "d1_12_ud", 8);  // leaves udoom.wad as the update target
  QByteArray older = prepare("c4fe9fd920207691a9f493668e0a2083", "d1_ud_11", 9);
  EXPECT_EQ(form->TargetFile, "udoom.wad");
  clickButton(4);
  EXPECT_EQ(form->TargetFile, "d1_11.wad");
  EXPECT_EQ(form->PatchFile, " patches\\d1_ud_11");
  EXPECT_EQ(work.read("d1_11.wad"), older);
  EXPECT_FALSE(work.exists("udoom.wad"));
}

TEST_F(PatchTest, AMissingPatchToolIsSaid) {
  prepare("792fd1fea023d61210857089a7c1e351", "d1_12_ud", 10);
  QFile::remove(toolFolder.path() + "/bspatch.exe");
  clickButton(2);
  EXPECT_EQ(messages.texts(), QStringList{"I could not start the patch tool 'bspatch.exe', so 'udoom.wad' was not "
                                          "created:\nbspatch.exe was not found"});
  expectNeutralLook();
  EXPECT_TRUE(form->File1->isEnabled() && form->Command1->isEnabled());
}

TEST_F(PatchTest, AToolThatSaysSuccessButWritesNothingIsNotBelieved) {
  prepare("792fd1fea023d61210857089a7c1e351", "d1_12_ud", 11);
  QFile::remove(toolFolder.path() + "/bspatch.exe");
  installTool("bspatch.exe", "#!/bin/sh\nexit 0\n");
  clickButton(2);
  EXPECT_EQ(messages.texts(), QStringList{"I could not create 'udoom.wad'.\nThe patch tool ended without writing it."});
}

TEST_F(PatchTest, TheWindowIsLockedWhileTheToolWrites) {
  prepare("792fd1fea023d61210857089a7c1e351", "d1_12_ud", 12);
  work.write("patches/d1_12_ud", patchOfZeros());
  bool locked = false, busy = false;
  QTimer::singleShot(30, [&] {
    locked = !form->File1->isEnabled() && !form->Command1->isEnabled() && !form->Command2->isEnabled();
    busy = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
  });
  clickButton(2);
  EXPECT_TRUE(locked);
  EXPECT_TRUE(busy);
  EXPECT_EQ(messages.texts(), QStringList{"udoom.wad was sucessully created!"});
  EXPECT_EQ(QFileInfo("udoom.wad").size(), kZerosSize);
  EXPECT_TRUE(form->File1->isEnabled() && form->Command1->isEnabled());
}

TEST_F(PatchTest, ClosingTheWindowWhileThePatchRunsLeavesNoPartialFile) {
  prepare("792fd1fea023d61210857089a7c1e351", "d1_12_ud", 13);
  work.write("patches/d1_12_ud", patchOfZeros());
  // Close as soon as the tool has begun to write.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (work.entries().size() > 2) form->close();
  });
  poll.start(5);
  QTimer::singleShot(0, [&] { clickButton(2); });
  QTimer::singleShot(20000, [] { QCoreApplication::exit(1); });  // a safety net, not the expected way out
  QApplication::setQuitOnLastWindowClosed(true);
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(messages.messages.isEmpty());
  EXPECT_EQ(work.entries(), (QStringList{"mine.wad", "patches"}));
}
