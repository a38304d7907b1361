#pragma once

#include <QByteArray>

namespace platform {

/// True when a new file can be made in the folder `path`, found by making one and removing it at
/// once. A folder's mode or read-only mark does not say so: access rights, a read-only mount or a
/// full directory table can refuse what they allow.
bool canCreateFilesIn(const QByteArray& path);

/// The bytes free for new files in the folder `path`, or -1 where that is not known: it cannot be
/// asked, or its file system reports no size at all (ramfs), so that only writing tells.
qint64 freeSpaceIn(const QByteArray& path);

}  // namespace platform
