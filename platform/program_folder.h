#pragma once

#include <QByteArray>
#include <QString>
#include <string>

namespace platform {

/// The folder this program's executable is in, byte for byte as the system names it: its
/// helpers are looked for there, and a name that is not valid text must not lead to another
/// folder whose name only reads the same. Empty where the system cannot say (Linux names no path
/// of 4,096 bytes or more).
QByteArray programFolder();

/// A path by which a process can be started from `path`, given byte for byte: the path itself
/// when it is valid text, else one through a handle on its folder that this process keeps open
/// and hands down to the processes it starts.
QString startablePath(const std::string& path);

/// `folder` as a command line's word names it: itself when it is valid text, else a path through
/// a handle on it, as above, which our file manager's stand-in turns back into the real path.
QString commandFolder(const QByteArray& folder);

}  // namespace platform
