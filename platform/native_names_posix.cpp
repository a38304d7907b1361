#include "native_names.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cstdlib>

#include "native_path.h"

namespace platform {

bool isTextPath(const QByteArray& path) { return QFile::encodeName(QFile::decodeName(path)) == path; }

QByteArray currentNativeFolder() {
  char* here = getcwd(nullptr, 0);
  QByteArray folder(here ? here : ".");
  free(here);
  return folder;
}

QByteArray absoluteNativePath(const QByteArray& path) {
  return path.startsWith('/') ? path : currentNativeFolder() + "/" + path;
}

bool nativePathExists(const QByteArray& path) {
  struct stat info;
  return lstat(path.constData(), &info) == 0;
}

NativeSplitPath splitNativePath(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  if (slash < 0) return {".", path};
  return {slash == 0 ? QByteArray("/") : path.left(slash), path.mid(slash + 1)};
}

bool isNativeFolder(const QByteArray& path) {
  struct stat info;
  return stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

QByteArray realNativePath(const QByteArray& path) {
  char* real = realpath(path.constData(), nullptr);
  QByteArray resolved(real ? real : "");
  free(real);
  return resolved;
}

bool isReadableFolder(const QByteArray& path) { return access(path.constData(), R_OK | X_OK) == 0; }

bool enterNativeFolder(const QByteArray& path) { return chdir(path.constData()) == 0; }

bool linkToNativePath(const QByteArray& target, const QString& link) {
  return symlink(target.constData(), QFile::encodeName(link).constData()) == 0;
}

QString shownPath(const QString& windowsPath) {
  return QFile::decodeName(QByteArray::fromStdString(nativePath(QFile::encodeName(windowsPath).toStdString())));
}

QByteArray shownNativePath(const QByteArray& path) { return path; }

bool backslashMayBeInNames() { return true; }

}  // namespace platform
