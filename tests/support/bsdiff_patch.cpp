#include "bsdiff_patch.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "tool_run.h"

QByteArray bsdiffPatch(const QByteArray& from, const QByteArray& to) {
  QTemporaryDir scratch;
  for (const auto& [name, bytes] : {std::pair{"old", &from}, std::pair{"new", &to}}) {
    QFile file(scratch.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(*bytes) == bytes->size());
  }
  const ToolResult made = runTool("bsdiff", {scratch.filePath("old"), scratch.filePath("new"), scratch.filePath("patch")});
  EXPECT_EQ(made.code, 0) << made.err.toStdString();
  QFile patch(scratch.filePath("patch"));
  patch.open(QIODevice::ReadOnly);
  return patch.readAll();
}

QByteArray randomBytes(int size, quint32 seed) {
  std::vector<quint32> words(size_t(size) / 4 + 1);
  QRandomGenerator(seed).fillRange(words.data(), qsizetype(words.size()));
  return QByteArray(reinterpret_cast<const char*>(words.data()), size);
}
