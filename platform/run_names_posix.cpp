#include "run_names.h"

#include <signal.h>
#include <unistd.h>

#include <QFile>
#include <QStringList>
#include <cerrno>

namespace platform {

namespace {

// The process's start in clock ticks since boot: field 22 of /proc/PID/stat, counted after the
// name in parentheses, which may hold spaces and parentheses itself. Empty when there is no such
// process (or no /proc).
QByteArray startOf(const QByteArray& pid) {
  QFile stat("/proc/" + pid + "/stat");
  if (!stat.open(QIODevice::ReadOnly)) return {};
  const QByteArray text = stat.readAll();
  const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
  return fields.size() > 19 ? fields[19] : QByteArray();
}

// Which PID namespace the process is in ("pid:[4026531836]" becomes 4026531836): an id means
// nothing outside its own.
QByteArray namespaceOf(const QByteArray& pid) {
  const QByteArray link = QFile::encodeName(QFile::symLinkTarget("/proc/" + pid + "/ns/pid"));
  const qsizetype open = link.indexOf('['), close = link.indexOf(']');
  return open >= 0 && close > open ? link.mid(open + 1, close - open - 1) : QByteArray("0");
}

bool allDigits(const QString& text) {
  if (text.isEmpty()) return false;
  for (QChar c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

QString thisRunName() {
  const QByteArray pid = QByteArray::number(qint64(getpid()));
  const QByteArray start = startOf(pid);
  return QString::fromLatin1(pid + "-" + (start.isEmpty() ? "0" : start) + "-" + namespaceOf("self"));
}

bool runHasEnded(const QString& name) {
  const QStringList parts = name.split('-');
  if (parts.size() != 3 || !allDigits(parts[0]) || !allDigits(parts[1]) || !allDigits(parts[2])) return false;
  if (parts[2].toLatin1() != namespaceOf("self")) return false;
  const QByteArray pid = parts[0].toLatin1();
  if (startOf("self").isEmpty()) {  // no /proc: the id alone says it
    const pid_t id = pid_t(pid.toLongLong());
    return id > 0 && kill(id, 0) != 0 && errno == ESRCH;
  }
  return startOf(pid) != parts[1].toLatin1();
}

}  // namespace platform
