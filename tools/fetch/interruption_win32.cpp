#include "tools/fetch/interruption.h"

namespace fetch {

// The pending file is marked delete-on-close and removed by its own console handler; Windows
// ends us as it ends the other tools. Folders are made only for the whole file, just before it is
// named.
void endCleanlyOnSignals(const std::vector<std::string>&) {}

}  // namespace fetch
