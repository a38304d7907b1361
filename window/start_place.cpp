#include "start_place.h"

#include <QFile>
#include <QFileInfo>

#include "platform/native_names.h"

StartPlace placeOf(const QString& path) {
  StartPlace place;
  const QByteArray given = QFile::encodeName(path);
  if (!QFileInfo::exists(path)) {
    place.problem = "I cannot open '" + path + "': there is no such file or folder.";
    return place;
  }
  // The folder the system reaches by the path: `link/..` is where the link leads, up one.
  const platform::NativeSplitPath split = platform::splitNativePath(given);
  const bool folderGiven = platform::isNativeFolder(given);
  const QByteArray folder = platform::realNativePath(folderGiven ? given : split.folder);
  if (folder.isEmpty() || !platform::isReadableFolder(folder)) {
    place.problem = "I cannot open '" + path + "': I am not allowed to read the folder '" +
                    QFile::decodeName(folder.isEmpty() ? split.folder : folder) + "'.";
    return place;
  }
  place.folder = folder;
  if (!folderGiven) place.file = QFile::decodeName(split.name);
  return place;
}
