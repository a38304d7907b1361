#include "command_words.h"

#include <QFile>

#include "platform/command_line.h"

QString commandWord(const QString& name) {
  std::optional<std::string> word = platform::quoteForCommandLine(QFile::encodeName(name).toStdString());
  return word ? QFile::decodeName(QByteArray::fromStdString(*word)) : QString();
}

QString toolText(const std::string& text) { return QString::fromLocal8Bit(text.c_str()).trimmed(); }
