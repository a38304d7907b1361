#include "bsdiff_patch.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

QByteArray bsdiffPatch(const QByteArray& from, const QByteArray& to) {
  QTemporaryDir scratch;
  QFile old(scratch.path() + "/old"), young(scratch.path() + "/new");
  EXPECT_TRUE(old.open(QIODevice::WriteOnly) && young.open(QIODevice::WriteOnly));
  old.write(from);
  young.write(to);
  old.close();
  young.close();
  QProcess tool;
  tool.start("bsdiff", {old.fileName(), young.fileName(), scratch.path() + "/patch"});
  EXPECT_TRUE(tool.waitForFinished(60000));
  EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
  QFile patch(scratch.path() + "/patch");
  patch.open(QIODevice::ReadOnly);
  return patch.readAll();
}

QByteArray randomBytes(int size, quint32 seed) {
  std::vector<quint32> words(size_t(size) / 4 + 1);
  QRandomGenerator(seed).fillRange(words.data(), qsizetype(words.size()));
  return QByteArray(reinterpret_cast<const char*>(words.data()), size);
}
