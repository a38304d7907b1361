#include "tool_folder.h"

#include <gtest/gtest.h>

#include <QFile>

#include "tool_run.h"

void ToolFolder::installReal(const QStringList& tools) const {
  for (const QString& tool : tools) {
    QFile::remove(path() + "/" + tool);
    EXPECT_TRUE(QFile::copy(builtTool(tool), path() + "/" + tool)) << tool.toStdString();
  }
}

void ToolFolder::installFakeChecksum() const {
  installReal({"command.com"});
  install("md5sum.exe", "#!/bin/sh\nif [ -n \"$FAKE_MD5_HOLD\" ]; then\n  echo \"$1\" >> \"$FAKE_MD5_HOLD.started\"\n"
                       "  for i in $(seq 400); do [ -e \"$FAKE_MD5_HOLD\" ] && break; sleep 0.05; done\nfi\nexec cat -- \"$1\"\n");
  // A file that holds a SHA-1 gives its first 32 characters as its MD5, which no row has.
  install("sha1sum.exe", "#!/bin/sh\nexec cat -- \"$1\"\n");
}

void ToolFolder::install(const QString& name, const QByteArray& script) const {
  QFile file(path() + "/" + name);
  file.remove();
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(script);
  file.close();
  file.setPermissions(file.permissions() | QFile::ExeOwner);
}

QByteArray fakeRelease(const char* checksum) { return QByteArray(checksum) + "  fake.wad\n"; }
