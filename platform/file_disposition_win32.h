#pragma once

#include <windows.h>

#include <string>

namespace platform {

// Deleting a name through a handle opened with DELETE access, never by changing an attribute to
// force it: a hard link shares its attributes with the user's own file.

/// Deletes the name at once (a file, an empty folder, a link or junction as itself). A read-only
/// name goes where Windows can delete it as it is (Windows 10 1809 on, on NTFS); elsewhere it stays.
bool deleteHeldName(HANDLE file);

/// Marks the name to go as this handle closes, however the process ends, read-only or not where
/// Windows can. Other handles may still open it meanwhile.
bool deleteHeldNameOnClose(HANDLE file);

/// True where Windows deletes a read-only name as deleteHeldName() does, tried on a file made for
/// it at `probe`, which goes again.
bool deletesReadOnlyNames(const std::wstring& probe);

}  // namespace platform
