#pragma once

#include <string>
#include <vector>

namespace fetch {

/// Makes SIGINT, SIGTERM, SIGHUP and SIGQUIT end the program at once with status 128 + the
/// signal's number, removing the pending file and the folders made for it. Called again, it takes
/// the new list of folders (and takes the signals back from the pending file, which handles them
/// itself where it must keep a named temporary file). On Windows the pending file sees to it:
/// Windows deletes it when the process ends, however it ends.
void endCleanlyOnSignals(const std::vector<std::string>& madeFolders);

}  // namespace fetch
