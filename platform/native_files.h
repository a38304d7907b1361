#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace platform {

// Folders and files found on the system rather than named by the user: names byte for byte, and
// nothing that could make a search wait (a pipe, a device) or fill the memory is ever read.

/// What a path leads to, links followed: its kind, and what tells it from every other file however
/// many names and links lead to it.
struct NativeFileInfo {
  enum class Kind { Missing, Folder, File, Other };  ///< Other: a pipe, a socket or a device.
  Kind kind = Kind::Missing;
  quint64 device = 0;
  quint64 inode = 0;
};
NativeFileInfo nativeFileInfo(const QByteArray& path);

/// The names in the folder `path`, byte for byte and in byte order, without "." and "..". Empty
/// when it cannot be read.
QList<QByteArray> nativeFolderNames(const QByteArray& path);

}  // namespace platform
