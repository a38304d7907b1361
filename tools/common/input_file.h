#pragma once

#include <sys/stat.h>

namespace tools {

/// Opens `path` for reading and fills `info`, without waiting: a plain open() of a FIFO blocks
/// until something writes to it, before the caller could see that it is no regular file. The
/// descriptor comes back in blocking mode, for ordinary reads. Returns -1 with errno set on failure
/// (EISDIR for a folder, on Windows too).
int openInputFile(const char* path, struct stat* info);

/// True when `path` names a device (/dev/zero; CON or NUL in any folder on Windows): a source that
/// is never opened, since opening one could wait or do something of its own.
bool isDevice(const char* path);

}  // namespace tools
