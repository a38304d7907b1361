#include "command_output.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/native_names.h"

QByteArray escapedField(const QByteArray& field) {
  QByteArray escaped;
  escaped.reserve(field.size());
  for (char c : field) {
    switch (c) {
      case '\\':  // on Windows no name holds one: a path is printed as Windows writes it
        escaped += platform::backslashMayBeInNames() ? "\\\\" : "\\";
        break;
      case '\t': escaped += "\\t"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      default:
        // Any other control would reach the terminal raw: \x1b[2J clears it.
        if (uchar(c) < 0x20 || c == 0x7f) escaped += "\\x" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
        else escaped += c;
    }
  }
  return escaped;
}

QString oneLine(const QString& message, const QByteArray& path) {
  const QString file = QFile::decodeName(path);
  const qsizetype slash = std::max(file.lastIndexOf('/'), file.lastIndexOf(QDir::separator()));
  const QString folder = file.left(slash + 1);
  QString line;
  for (qsizetype at = 0; at < message.size();) {
    // The whole path first: the folder is the start of it.
    const qsizetype name = !file.isEmpty() && message.mid(at).startsWith(file) ? file.size()
                           : !folder.isEmpty() && message.mid(at).startsWith(folder) ? folder.size() : 0;
    if (name) {
      line += message.mid(at, name);
      at += name;
      continue;
    }
    const QChar c = message[at++];
    line += c == '\n' || c == '\r' ? QChar(' ') : c;
  }
  return line;
}

namespace {

int gWriteError = 0;  // the first one: what followed it says less

// Writes and flushes, so that a script reading along sees each result when it is ready.
void write(const QByteArray& text) {
  bool written = std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size());
  written = std::fflush(stdout) == 0 && written;
  if (!written && !gWriteError) gWriteError = errno ? errno : EIO;
}

}  // namespace

bool printAll(const QByteArray& text) {
  write(text);
  if (!gWriteError && !std::ferror(stdout)) return true;
  std::fprintf(stderr, "wadwright: cannot write the output: %s\n", std::strerror(gWriteError ? gWriteError : EIO));
  return false;
}

void CommandOutput::add(const QByteArray& name, const QStringList& fields, const QJsonObject& object) {
  QByteArrayList bytes;
  for (const QString& field : fields) bytes << field.toUtf8();
  addBytes(name, bytes, object);
}

void CommandOutput::addBytes(const QByteArray& name, const QByteArrayList& fields, const QJsonObject& object) {
  if (json_) {
    objects_.append(object);
    return;
  }
  QByteArray line = escapedField(name);
  for (const QByteArray& field : fields) line += "\t" + escapedField(field);
  write(line + "\n");
}

bool CommandOutput::finish() {
  return printAll(json_ ? QJsonDocument(objects_).toJson() : QByteArray());
}
