#pragma once

#include <string>

namespace fetch {

class ReceivedFile;

/// Copies the file at `path` (a mirror on a LAN, a local clone) into `file`, as a download would
/// come: the pin holds whatever the source. Throws FetchFailure.
void copyLocalFile(const std::string& path, ReceivedFile& file);

}  // namespace fetch
