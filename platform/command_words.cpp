#include "command_words.h"

#include <QFile>

#include "command_line.h"
#include "native_names.h"

namespace platform {

QString commandWord(const QString& name) {
  std::optional<std::string> word = quoteForCommandLine(QFile::encodeName(name).toStdString(), !backslashMayBeInNames());
  return word ? QFile::decodeName(QByteArray::fromStdString(*word)) : QString();
}

}  // namespace platform
