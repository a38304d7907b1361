#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Paths as the command line gave them, byte for byte: a file name need not be valid text, and
// a QString made of one that is not has lost the bytes that named it.

/// True when `path` comes back unchanged from text: it can be used as a QString.
bool isTextPath(const QByteArray& path);

/// The working folder, byte for byte.
QByteArray currentNativeFolder();

/// `path` made absolute against the working folder, byte for byte.
QByteArray absoluteNativePath(const QByteArray& path);

/// True when anything is under the name, a link that leads nowhere included.
bool nativePathExists(const QByteArray& path);

/// A path split at its last slash: the folder as given ("." when there is none, "/" for the
/// root) and the name after it. The folder is entered as given, so that `link/..` leads where the
/// system leads it, not where cleaning the text of the path would.
struct NativeSplitPath {
  QByteArray folder;
  QByteArray name;
};
NativeSplitPath splitNativePath(const QByteArray& path);

/// True when `path` leads to a folder, through links too.
bool isNativeFolder(const QByteArray& path);

/// The path of the folder `path` leads to, without links or `..`, as the system resolves it;
/// empty when it leads nowhere.
QByteArray realNativePath(const QByteArray& path);

/// True when the folder `path` can be listed.
bool isReadableFolder(const QByteArray& path);

/// Makes the working folder the folder `path`, which need not be valid text.
bool enterNativeFolder(const QByteArray& path);

/// Makes `link` a symbolic link to `target`, so that a file whose name is not valid text can be
/// handed to a tool under a plain one.
bool linkToNativePath(const QByteArray& target, const QString& link);

/// A Windows-style path (`patches\d1_ud_11`) as a user of this system types it.
QString shownPath(const QString& windowsPath);

/// A path this program put together, written as the system's users write paths: with backslashes
/// on Windows, as it stands elsewhere.
QByteArray shownNativePath(const QByteArray& path);

/// True when a file name may hold a backslash (POSIX). On Windows it only parts folders, and a
/// name can hold no control character either, so printed paths keep their backslashes as written.
bool backslashMayBeInNames();

}  // namespace platform
