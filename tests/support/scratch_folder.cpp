#include "scratch_folder.h"

#include <sys/mount.h>

#include <QDir>
#include <QFile>
#include <QProcess>

ScratchFolder::ScratchFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }

ScratchFolder::~ScratchFolder() {
  QDir::setCurrent(previous_);
  if (mounted_) umount2(qPrintable(path()), MNT_DETACH);
  // QTemporaryDir cannot remove a name that is not valid text; rm can.
  QProcess::execute("rm", {"-rf", "--", path()});
}

bool ScratchFolder::mountSmall(const char* type) {
  mounted_ = mount(type, qPrintable(path()), type, 0, "size=1m") == 0;  // ramfs ignores the size
  QDir::setCurrent(path());  // the mounted folder, not the one beneath it
  return mounted_;
}

void ScratchFolder::makeReadOnly() { mount("tmpfs", qPrintable(path()), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=1m"); }

QString ScratchFolder::path(const QString& name) const {
  return name.isEmpty() ? dir_.path() : dir_.path() + "/" + name;
}

void ScratchFolder::write(const QString& name, const QByteArray& content, bool executable) const {
  QFile file(path(name));
  QDir().mkpath(QFileInfo(file).path());
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(name));
  file.write(content);
  file.close();
  if (executable) file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
}

QByteArray ScratchFolder::read(const QString& name) const {
  QFile file(path(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ScratchFolder::exists(const QString& name) const { return QFileInfo::exists(path(name)) || QFileInfo(path(name)).isSymLink(); }

QStringList ScratchFolder::entries(const QString& folder) const {
  return QDir(path(folder)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}
