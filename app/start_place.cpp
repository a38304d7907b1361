#include "start_place.h"

#include <QDir>
#include <QFileInfo>

StartPlace placeOf(const QString& path) {
  StartPlace place;
  QFileInfo given(path);
  if (!given.exists()) {
    place.problem = "I cannot open '" + path + "': there is no such file or folder.";
    return place;
  }
  QDir folder = given.isDir() ? QDir(given.absoluteFilePath()) : given.absoluteDir();
  if (!folder.isReadable()) {
    place.problem = "I cannot open '" + path + "': I am not allowed to read the folder '" + folder.absolutePath() + "'.";
    return place;
  }
  place.folder = folder.absolutePath();
  if (!given.isDir()) place.file = given.fileName();
  return place;
}
