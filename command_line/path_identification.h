#pragma once

#include <QByteArray>
#include <QString>

#include "identify/identification.h"

/// What is said of a file whose identification a termination signal ended.
inline constexpr const char* kStoppedMessage = "I was stopped before I could identify it.";

/// Enters the working folder of its making again as it goes: for the next path as it was given.
class FolderReturn {
 public:
  FolderReturn();
  ~FolderReturn();
  FolderReturn(const FolderReturn&) = delete;
  FolderReturn& operator=(const FolderReturn&) = delete;

 private:
  QByteArray start_;
};

/// The folder of `path` as it was given, up to its last separator ("games/"), or empty: what the
/// files beside it are named after in what is said. On Windows with backslashes ("games\"), as
/// the paths put together after it are written.
QString shownFolderOf(const QByteArray& path);

/// Enters the folder of the file `path` (given byte for byte) as the system reaches it, a link
/// followed by `..` included, and returns the file's name in it. Empty, with `why` said for the
/// user, when `path` leads to no file: nothing, or a folder.
QByteArray enterFolderOfFile(const QByteArray& path, QString* why);

/// Identifies the file at `path`, given byte for byte as on a command line, in its own folder and
/// under the lock every Wadwright there takes. A name that is not valid text is handed to the
/// tools under a plain one, through a link in a private folder. What is said names `path` as
/// given; the working folder is left where it was. With `privately`, every file goes through such
/// a link, so that nothing at all is written in its folder.
Identification identifyPath(const QByteArray& path, const QByteArray& programFolder, bool privately = false);
